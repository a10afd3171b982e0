#pragma once

// The effect side of the host's interface: commands, in-data and out-data, parameter
// definitions, worlds and the callbacks the host hands to every command.

#include "hostsdk/host_types.h"
#include "hostsdk/sp_basic_suite.h"

// Commands, by the host's numbers.
enum PF_Cmd : A_long {
    PF_Cmd_ABOUT = 0,
    PF_Cmd_GLOBAL_SETUP = 1,
    PF_Cmd_UNUSED_0 = 2,
    PF_Cmd_GLOBAL_SETDOWN = 3,
    PF_Cmd_PARAMS_SETUP = 4,
    PF_Cmd_SEQUENCE_SETUP = 5,
    PF_Cmd_SEQUENCE_RESETUP = 6,
    PF_Cmd_SEQUENCE_FLATTEN = 7,
    PF_Cmd_SEQUENCE_SETDOWN = 8,
    PF_Cmd_DO_DIALOG = 9,
    PF_Cmd_FRAME_SETUP = 10,
    PF_Cmd_RENDER = 11,
    PF_Cmd_FRAME_SETDOWN = 12,
    PF_Cmd_USER_CHANGED_PARAM = 13,
    PF_Cmd_UPDATE_PARAMS_UI = 14,
    PF_Cmd_EVENT = 15,
    PF_Cmd_GET_EXTERNAL_DEPENDENCIES = 16,
    PF_Cmd_COMPLETELY_GENERAL = 17,
    PF_Cmd_QUERY_DYNAMIC_FLAGS = 18,
    PF_Cmd_AUDIO_RENDER = 19,
    PF_Cmd_AUDIO_SETUP = 20,
    PF_Cmd_AUDIO_SETDOWN = 21,
    PF_Cmd_ARBITRARY_CALLBACK = 22,
    PF_Cmd_SMART_PRE_RENDER = 23,
    PF_Cmd_SMART_RENDER = 24,
};

// Global out-flags. The host gives the effect's word (0x06008000) as a whole; the
// split into single bits is chosen here.
enum : A_long {
    PF_OutFlag_NONE = 0,
    PF_OutFlag_CUSTOM_UI = 0x00008000,
    PF_OutFlag_DEEP_COLOR_AWARE = 0x02000000,
    PF_OutFlag_SEND_UPDATE_PARAMS_UI = 0x04000000,
};

// Global out-flags 2; the word is 0x1800140E, the split into bits is chosen here.
enum : A_long {
    PF_OutFlag2_NONE = 0,
    PF_OutFlag2_SUPPORTS_SMART_RENDER = 0x00000400,
    PF_OutFlag2_FLOAT_COLOR_AWARE = 0x00001000,
    PF_OutFlag2_I_USE_3D_CAMERA = 0x10000000,
    PF_OutFlag2_I_USE_3D_LIGHTS = 0x08000000,
    PF_OutFlag2_PARAM_GROUP_START_COLLAPSED_FLAG = 0x00000008,
    PF_OutFlag2_SUPPORTS_THREADED_RENDERING = 0x00000004,
    PF_OutFlag2_MUTABLE_RENDER_SEQUENCE_DATA_SLOWER = 0x00000002,
};

// Parameter kinds, by the host's numbers.
enum PF_ParamType : A_long {
    PF_Param_LAYER = 0,
    PF_Param_ANGLE = 3,
    PF_Param_CHECKBOX = 4,
    PF_Param_COLOR = 5,
    PF_Param_POPUP = 7,
    PF_Param_NO_DATA = 9,
    PF_Param_FLOAT_SLIDER = 10,
    PF_Param_GROUP_START = 13,
    PF_Param_GROUP_END = 14,
    PF_Param_POINT_3D = 18,
};

// Parameter flags. START_COLLAPSED and COLLAPSE_TWIRLY share a bit: one is read on
// group starts, the other on every other kind.
enum : A_long {
    PF_ParamFlag_NONE = 0,
    PF_ParamFlag_COLLAPSE_TWIRLY = 0x20,
    PF_ParamFlag_START_COLLAPSED = 0x20,
    PF_ParamFlag_SUPERVISE = 0x40,
    PF_ParamFlag_EXCLUDE_FROM_HAVE_INPUTS_CHANGED = 0x100,
};

// Parameter interface flags.
enum : A_long {
    PF_PUI_NONE = 0,
    PF_PUI_CONTROL = 2,
};

// Selectors of get_platform_data: the host's main window is 0.
enum : A_long {
    PF_PlatData_MAIN_WND = 0,
};

constexpr int PF_MAX_EFFECT_PARAM_NAME_LEN = 31;

// A pixel buffer of the host; also the value of a checked-out layer parameter.
struct PF_LayerDef {
    void* reserved0;
    void* data;         // first pixel
    A_long rowbytes;
    A_long width;
    A_long height;
    PF_Rect extent_hint;
    A_long world_flags;
    A_long origin_x;    // output buffers: their place in the layer
    A_long origin_y;
    A_long dephault;    // layer parameters: default layer, 0 = none
};
typedef PF_LayerDef PF_EffectWorld;
typedef PF_LayerDef PF_LayerParam;

struct PF_FloatSliderDef {
    A_FpLong value;
    A_FpShort valid_min, valid_max;
    A_FpShort slider_min, slider_max;
    A_FpShort dephault;
    A_short precision;
    A_short display_flags;
};

struct PF_PopupDef {
    A_long value;       // 1-based choice
    A_short num_choices;
    A_short dephault;
    const A_char* namesptr; // choices joined by '|'; the host keeps the pointer
};

struct PF_AngleDef {
    PF_Fixed value;     // degrees, 16.16
    PF_Fixed dephault;
};

struct PF_CheckBoxDef {
    A_long value;
    A_long dephault;
    const A_char* nameptr; // label beside the box; the host keeps the pointer
};

struct PF_ColorDef {
    PF_Pixel value;
    PF_Pixel dephault;
};

struct PF_Point3DDef {
    A_FpLong x_value, y_value, z_value;
    A_FpLong x_dephault, y_dephault, z_dephault;
};

union PF_ParamDefUnion {
    PF_LayerDef ld;
    PF_FloatSliderDef fs_d;
    PF_PopupDef pd;
    PF_AngleDef ad;
    PF_CheckBoxDef bd;
    PF_ColorDef cd;
    PF_Point3DDef point3d_d;
};

struct PF_ParamDef {
    union {
        A_long id;      // the parameter's disk id
        A_long change_flags;
    } uu;
    A_long ui_flags;
    A_short ui_width;
    A_short ui_height;
    PF_ParamType param_type;
    A_char name[PF_MAX_EFFECT_PARAM_NAME_LEN + 1];
    A_long flags;
    A_long unused;
    PF_ParamDefUnion u;
};
typedef PF_ParamDef* PF_ParamList[];
typedef PF_ParamDef** PF_ParamListP;

struct PF_CustomUIInfo;

// Parameter and custom-interface callbacks of the in-data.
struct PF_InteractCallbacks {
    PF_Err (*checkout_param)(PF_ProgPtr effect_ref, PF_ParamIndex index, A_long what_time,
                             A_long time_step, A_u_long time_scale, PF_ParamDef* param);
    PF_Err (*checkin_param)(PF_ProgPtr effect_ref, PF_ParamDef* param);
    // index -1 appends.
    PF_Err (*add_param)(PF_ProgPtr effect_ref, PF_ParamIndex index, PF_ParamDef* def);
    PF_Err (*register_ui)(PF_ProgPtr effect_ref, PF_CustomUIInfo* info);
};

struct PF_ANSICallbacks {
    A_char* (*strcpy)(A_char* dest, const A_char* src);
};

// Handle and platform callbacks of the in-data.
struct PF_UtilCallbacks {
    PF_Handle (*host_new_handle)(A_HandleSize size);
    void* (*host_lock_handle)(PF_Handle handle);
    void (*host_unlock_handle)(PF_Handle handle);
    void (*host_dispose_handle)(PF_Handle handle);
    A_HandleSize (*host_get_handle_size)(PF_Handle handle);
    PF_Err (*get_platform_data)(PF_ProgPtr effect_ref, A_long which, void* data);
    PF_ANSICallbacks ansi;
};

struct PF_InData {
    PF_InteractCallbacks inter;
    PF_UtilCallbacks* utils;
    PF_ProgPtr effect_ref;
    A_long version;
    A_long current_time;
    A_long time_step;
    A_long total_time;
    A_long local_time_step;
    A_u_long time_scale;
    A_long width;       // the layer's size
    A_long height;
    PF_RationalScale downsample_x;
    PF_RationalScale downsample_y;
    PF_RationalScale pixel_aspect_ratio;
    PF_Handle global_data;
    PF_Handle sequence_data;
    PF_Handle frame_data;
    SPBasicSuite* pica_basicP;
};

struct PF_OutData {
    A_u_long my_version;
    A_long out_flags;
    A_long out_flags2;
    A_long num_params;
    PF_Handle global_data;
    PF_Handle sequence_data;
    PF_Handle frame_data;
    A_char return_msg[256];
};

// Version word of the out-data and the PiPL: major, minor, bug, stage, build.
enum : A_long {
    PF_Stage_DEVELOP = 0,
    PF_Stage_ALPHA = 1,
    PF_Stage_BETA = 2,
    PF_Stage_RELEASE = 3,
};
constexpr A_u_long PF_VERSION(A_u_long major, A_u_long minor, A_u_long bug, A_u_long stage,
                              A_u_long build)
{
    return (major & 0x7f) << 19 | (minor & 0xf) << 15 | (bug & 0xf) << 11 | (stage & 0x3) << 9 |
           (build & 0x1ff);
}

// The exported entry point of an effect.
typedef PF_Err (*PF_EffectMainFunc)(PF_Cmd cmd, PF_InData* in_data, PF_OutData* out_data,
                                    PF_ParamDef* params[], PF_LayerDef* output, void* extra);
