#pragma once

// The host's AEGP suites as the effect uses them. Names and versions are the host's;
// only the functions the effect calls are declared, in an order chosen here.

#include "hostsdk/pf_effect.h"

struct _AEGP_Layer;
struct _AEGP_Comp;
struct _AEGP_Item;
struct _AEGP_Effect;
struct _AEGP_Stream;
typedef _AEGP_Layer* AEGP_LayerH;
typedef _AEGP_Comp* AEGP_CompH;
typedef _AEGP_Item* AEGP_ItemH;
typedef _AEGP_Effect* AEGP_EffectRefH;
typedef _AEGP_Stream* AEGP_StreamRefH;
typedef void* AEGP_GlobalRefcon;
typedef A_long AEGP_LayerIDVal;

// Time modes of stream and layer queries; chosen here.
enum AEGP_LTimeMode : A_long {
    AEGP_LTimeMode_LayerTime = 0,
    AEGP_LTimeMode_CompTime = 1,
};

// Flags of a dynamic stream; hidden is 2.
enum AEGP_DynStreamFlags : A_long {
    AEGP_DynStreamFlag_ACTIVE_EYEBALL = 1, // chosen
    AEGP_DynStreamFlag_HIDDEN = 2,
    AEGP_DynStreamFlag_DISABLED = 4,       // chosen
};

// Layer flags: the motion-blur switch is 0x8.
typedef A_long AEGP_LayerFlags;
enum : A_long {
    AEGP_LayerFlag_NONE = 0,
    AEGP_LayerFlag_VIDEO_ACTIVE = 0x1, // chosen
    AEGP_LayerFlag_MOTION_BLUR = 0x8,
};

// Composition flags: enable motion blur is 0x8.
typedef A_long AEGP_CompFlags;
enum : A_long {
    AEGP_CompFlag_NONE = 0,
    AEGP_CompFlag_ENABLE_MOTION_BLUR = 0x8,
};

// Layer object kinds; chosen here.
enum AEGP_ObjectType : A_long {
    AEGP_ObjectType_NONE = -1,
    AEGP_ObjectType_AV = 0,
    AEGP_ObjectType_LIGHT = 1,
    AEGP_ObjectType_CAMERA = 2,
    AEGP_ObjectType_TEXT = 3,
};

// Light kinds, by the host's numbers.
enum AEGP_LightType : A_long {
    AEGP_LightType_NONE = -1,
    AEGP_LightType_PARALLEL = 0,
    AEGP_LightType_SPOT = 1,
    AEGP_LightType_POINT = 2,
    AEGP_LightType_AMBIENT = 3,
};

// Camera kinds; chosen here.
enum AEGP_CameraType : A_long {
    AEGP_CameraType_NONE = -1,
    AEGP_CameraType_PERSPECTIVE = 0,
    AEGP_CameraType_ORTHOGRAPHIC = 1,
};

// Layer streams that the light collection reads. Falloff is the host's 42; the
// others are chosen here.
enum AEGP_LayerStream : A_long {
    AEGP_LayerStream_INTENSITY = 20,
    AEGP_LayerStream_COLOR = 21,
    AEGP_LayerStream_CONE_ANGLE = 22,
    AEGP_LayerStream_CONE_FEATHER = 23,
    AEGP_LayerStream_LIGHT_FALLOFF_TYPE = 41,
    AEGP_LayerStream_LIGHT_FALLOFF_DISTANCE = 42,
};

struct AEGP_ColorVal {
    A_FpLong alpha, red, green, blue;
};

struct AEGP_ThreeDVal {
    A_FpLong x, y, z;
};

struct AEGP_TwoDVal {
    A_FpLong x, y;
};

union AEGP_StreamVal2 {
    AEGP_ThreeDVal three_d;
    AEGP_TwoDVal two_d;
    A_FpLong one_d;
    AEGP_ColorVal color;
    AEGP_LayerIDVal layer_id;
};

struct AEGP_StreamValue2 {
    AEGP_StreamRefH streamH;
    AEGP_StreamVal2 val;
};

// Value kinds of a stream; chosen here.
enum AEGP_StreamType : A_long {
    AEGP_StreamType_NO_DATA = 0,
    AEGP_StreamType_OneD = 1,
    AEGP_StreamType_TwoD = 2,
    AEGP_StreamType_ThreeD = 3,
    AEGP_StreamType_COLOR = 4,
    AEGP_StreamType_LAYER_ID = 5,
};

#define kAEGPUtilitySuite "AEGP Utility Suite"
#define kAEGPUtilitySuiteVersion10 10
struct AEGP_UtilitySuite10 {
    A_Err (*AEGP_RegisterWithAEGP)(AEGP_GlobalRefcon global_refcon, const A_char* name,
                                   AEGP_PluginID* plugin_id);
};

#define kAEGPPFInterfaceSuite "AEGP PF Interface Suite"
#define kAEGPPFInterfaceSuiteVersion1 1
struct AEGP_PFInterfaceSuite1 {
    A_Err (*AEGP_GetEffectLayer)(PF_ProgPtr effect_ref, AEGP_LayerH* layer);
    A_Err (*AEGP_GetNewEffectForEffect)(AEGP_PluginID plugin_id, PF_ProgPtr effect_ref,
                                        AEGP_EffectRefH* effect);
    A_Err (*AEGP_ConvertEffectToCompTime)(PF_ProgPtr effect_ref, A_long what_time,
                                          A_u_long time_scale, A_Time* comp_time);
    A_Err (*AEGP_GetEffectCamera)(PF_ProgPtr effect_ref, const A_Time* comp_time,
                                  AEGP_LayerH* camera_layer);
    A_Err (*AEGP_GetEffectCameraMatrix)(PF_ProgPtr effect_ref, const A_Time* comp_time,
                                        A_Matrix4* camera_matrix,
                                        A_FpLong* dist_to_image_plane,
                                        A_short* image_plane_width,
                                        A_short* image_plane_height);
};

#define kAEGPStreamSuite "AEGP Stream Suite"
#define kAEGPStreamSuiteVersion7 7
struct AEGP_StreamSuite7 {
    A_Err (*AEGP_GetNewEffectStreamByIndex)(AEGP_PluginID plugin_id, AEGP_EffectRefH effect,
                                            PF_ParamIndex index, AEGP_StreamRefH* stream);
    A_Err (*AEGP_DisposeStream)(AEGP_StreamRefH stream);
    A_Err (*AEGP_GetNewStreamValue)(AEGP_PluginID plugin_id, AEGP_StreamRefH stream,
                                    AEGP_LTimeMode time_mode, const A_Time* time,
                                    A_Boolean pre_expression, AEGP_StreamValue2* value);
    A_Err (*AEGP_DisposeStreamValue)(AEGP_StreamValue2* value);
    A_Err (*AEGP_GetLayerStreamValue)(AEGP_LayerH layer, AEGP_LayerStream which,
                                      AEGP_LTimeMode time_mode, const A_Time* time,
                                      A_Boolean pre_expression, AEGP_StreamVal2* value,
                                      AEGP_StreamType* type);
};

#define kAEGPDynamicStreamSuite "AEGP Dynamic Stream Suite"
#define kAEGPDynamicStreamSuiteVersion2 2
struct AEGP_DynamicStreamSuite2 {
    A_Err (*AEGP_SetDynamicStreamFlag)(AEGP_StreamRefH stream, AEGP_DynStreamFlags flag,
                                       A_Boolean undoable, A_Boolean set);
};

#define kAEGPEffectSuite "AEGP Effect Suite"
#define kAEGPEffectSuiteVersion2 2
struct AEGP_EffectSuite2 {
    A_Err (*AEGP_DisposeEffect)(AEGP_EffectRefH effect);
};

#define kAEGPLayerSuite "AEGP Layer Suite"
#define kAEGPLayerSuiteVersion11 11
struct AEGP_LayerSuite11 {
    A_Err (*AEGP_GetLayerParentComp)(AEGP_LayerH layer, AEGP_CompH* comp);
    A_Err (*AEGP_GetLayerFlags)(AEGP_LayerH layer, AEGP_LayerFlags* flags);
    A_Err (*AEGP_GetCompNumLayers)(AEGP_CompH comp, A_long* count);
    A_Err (*AEGP_GetCompLayerByIndex)(AEGP_CompH comp, A_long index, AEGP_LayerH* layer);
    A_Err (*AEGP_GetLayerObjectType)(AEGP_LayerH layer, AEGP_ObjectType* type);
    A_Err (*AEGP_GetLayerInPoint)(AEGP_LayerH layer, AEGP_LTimeMode time_mode,
                                  A_Time* in_point);
    A_Err (*AEGP_GetLayerDuration)(AEGP_LayerH layer, AEGP_LTimeMode time_mode,
                                   A_Time* duration);
    A_Err (*AEGP_IsVideoReallyOn)(AEGP_LayerH layer, A_Boolean* on);
    A_Err (*AEGP_GetLayerToWorldXform)(AEGP_LayerH layer, const A_Time* comp_time,
                                       A_Matrix4* transform);
};

#define kAEGPCompSuite "AEGP Comp Suite"
#define kAEGPCompSuiteVersion11 11
struct AEGP_CompSuite11 {
    A_Err (*AEGP_GetItemFromComp)(AEGP_CompH comp, AEGP_ItemH* item);
    A_Err (*AEGP_GetCompFlags)(AEGP_CompH comp, AEGP_CompFlags* flags);
    // Both in degrees, as ratios: 180 degrees is a half-frame shutter. The effect's
    // own "Shutter Angle" is degrees too, so either must be divided by 360 to give
    // a fraction of a frame.
    A_Err (*AEGP_GetCompShutterAnglePhase)(AEGP_CompH comp, A_Ratio* angle, A_Ratio* phase);
};

#define kAEGPItemSuite "AEGP Item Suite"
#define kAEGPItemSuiteVersion10 10
struct AEGP_ItemSuite10 {
    A_Err (*AEGP_GetItemPixelAspectRatio)(AEGP_ItemH item, A_Ratio* pixel_aspect);
};

#define kAEGPCameraSuite "AEGP Camera Suite"
#define kAEGPCameraSuiteVersion2 2
struct AEGP_CameraSuite2 {
    A_Err (*AEGP_GetCameraType)(AEGP_LayerH camera_layer, AEGP_CameraType* type);
};

#define kAEGPLightSuite "AEGP Light Suite"
#define kAEGPLightSuiteVersion2 2
struct AEGP_LightSuite2 {
    A_Err (*AEGP_GetLightType)(AEGP_LayerH light_layer, AEGP_LightType* type);
};
