// The test host's composition: layers, lights, camera and the suites that show them.

#include "tools/qvhost/test_host.h"

#include <algorithm>
#include <cstring>

namespace qvhost {

namespace {

// Composition handles: the composition itself, layers by index + 1.
_AEGP_Comp* const the_comp = reinterpret_cast<_AEGP_Comp*>(0x10);
_AEGP_Item* const the_item = reinterpret_cast<_AEGP_Item*>(0x20);

} // namespace

void test_host::install_comp_suites()
{
    pf_interface_suite.AEGP_GetEffectCamera = get_effect_camera;
    pf_interface_suite.AEGP_GetEffectCameraMatrix = get_camera_matrix;
    stream_suite.AEGP_GetLayerStreamValue = get_layer_stream;
    layer_suite.AEGP_GetLayerParentComp = get_parent_comp;
    layer_suite.AEGP_GetLayerFlags = get_layer_flags;
    layer_suite.AEGP_GetCompNumLayers = get_num_layers;
    layer_suite.AEGP_GetCompLayerByIndex = get_layer_by_index;
    layer_suite.AEGP_GetLayerObjectType = get_object_type;
    layer_suite.AEGP_GetLayerInPoint = get_in_point;
    layer_suite.AEGP_GetLayerDuration = get_duration;
    layer_suite.AEGP_IsVideoReallyOn = is_video_on;
    layer_suite.AEGP_GetLayerToWorldXform = get_layer_to_world;
    comp_suite.AEGP_GetItemFromComp = get_item_from_comp;
    comp_suite.AEGP_GetCompFlags = get_comp_flags;
    comp_suite.AEGP_GetCompShutterAnglePhase = get_shutter;
    item_suite.AEGP_GetItemPixelAspectRatio = get_item_aspect;
    camera_suite.AEGP_GetCameraType = get_camera_type;
    light_suite.AEGP_GetLightType = get_light_type;
    param_utils_suite.PF_GetCurrentState = get_current_state;
    param_utils_suite.PF_AreStatesIdentical = are_states_identical;

    suites[{kAEGPLayerSuite, kAEGPLayerSuiteVersion11}].table = &layer_suite;
    suites[{kAEGPCompSuite, kAEGPCompSuiteVersion11}].table = &comp_suite;
    suites[{kAEGPItemSuite, kAEGPItemSuiteVersion10}].table = &item_suite;
    suites[{kAEGPCameraSuite, kAEGPCameraSuiteVersion2}].table = &camera_suite;
    suites[{kAEGPLightSuite, kAEGPLightSuiteVersion2}].table = &light_suite;
    suites[{kPFParamUtilsSuite, kPFParamUtilsSuiteVersion3}].table = &param_utils_suite;

    comp.layers.push_back(footage_layer("Effect layer", host_image{}));
}

void test_host::set_downsample(PF_RationalScale x, PF_RationalScale y)
{
    in_data.downsample_x = x;
    in_data.downsample_y = y;
}

void test_host::use_layer(A_long disk_id, long layer_index)
{
    PF_ParamDef& value = value_by_id(disk_id);
    if (layer_index < 0) {
        layer_ids.erase(disk_id);
        value.u.ld.width = value.u.ld.height = 0;
        value.u.ld.data = nullptr;
        return;
    }
    const host_layer& layer = comp.layers.at(static_cast<std::size_t>(layer_index));
    layer_ids[disk_id] = static_cast<AEGP_LayerIDVal>(layer_index + 1);
    value.u.ld.width = layer.image.width;
    value.u.ld.height = layer.image.height;
}

const host_layer* test_host::chosen_layer(A_long disk_id) const
{
    auto found = layer_ids.find(disk_id);
    if (found == layer_ids.end() || found->second <= 0 ||
        static_cast<std::size_t>(found->second) > comp.layers.size())
        return nullptr;
    return &comp.layers[static_cast<std::size_t>(found->second - 1)];
}

const host_layer* test_host::layer_of(AEGP_LayerH layer) const
{
    const auto index = reinterpret_cast<std::uintptr_t>(layer);
    if (index == 0 || index > comp.layers.size())
        return nullptr;
    return &comp.layers[index - 1];
}

AEGP_LayerH test_host::handle_of(std::size_t index) const
{
    return reinterpret_cast<AEGP_LayerH>(static_cast<std::uintptr_t>(index + 1));
}

A_Time test_host::comp_time_of(A_long effect_time, A_u_long scale) const
{
    // The effect's time is its layer's: composition time less the layer's in point.
    const host_layer& own = comp.layers.at(comp.effect_layer);
    const std::int64_t in_scale =
        static_cast<std::int64_t>(own.in_point) * scale / static_cast<std::int64_t>(time_scale());
    return A_Time{static_cast<A_long>(effect_time + in_scale), scale};
}

A_Err test_host::get_parent_comp(AEGP_LayerH layer, AEGP_CompH* comp)
{
    test_host& host = current();
    host.enter("AEGP_GetLayerParentComp");
    *comp = host.layer_of(layer) ? the_comp : nullptr;
    return PF_Err_NONE;
}

A_Err test_host::get_layer_flags(AEGP_LayerH layer, AEGP_LayerFlags* flags)
{
    test_host& host = current();
    host.enter("AEGP_GetLayerFlags");
    const host_layer* found = host.layer_of(layer);
    *flags = AEGP_LayerFlag_NONE;
    if (found && found->motion_blur)
        *flags |= AEGP_LayerFlag_MOTION_BLUR;
    if (found && found->video_on)
        *flags |= AEGP_LayerFlag_VIDEO_ACTIVE;
    return PF_Err_NONE;
}

A_Err test_host::get_num_layers(AEGP_CompH comp, A_long* count)
{
    test_host& host = current();
    host.enter("AEGP_GetCompNumLayers");
    *count = comp == the_comp ? static_cast<A_long>(host.comp.layers.size()) : 0;
    return PF_Err_NONE;
}

A_Err test_host::get_layer_by_index(AEGP_CompH comp, A_long index, AEGP_LayerH* layer)
{
    test_host& host = current();
    host.enter("AEGP_GetCompLayerByIndex");
    *layer = nullptr;
    if (comp != the_comp || index < 0 || static_cast<std::size_t>(index) >= host.comp.layers.size())
        return PF_Err_INVALID_INDEX;
    *layer = host.handle_of(static_cast<std::size_t>(index));
    return PF_Err_NONE;
}

A_Err test_host::get_object_type(AEGP_LayerH layer, AEGP_ObjectType* type)
{
    test_host& host = current();
    host.enter("AEGP_GetLayerObjectType");
    const host_layer* found = host.layer_of(layer);
    *type = !found ? AEGP_ObjectType_NONE
            : found->kind == layer_kind::light  ? AEGP_ObjectType_LIGHT
            : found->kind == layer_kind::camera ? AEGP_ObjectType_CAMERA
                                                : AEGP_ObjectType_AV;
    return PF_Err_NONE;
}

A_Err test_host::get_in_point(AEGP_LayerH layer, AEGP_LTimeMode, A_Time* in_point)
{
    test_host& host = current();
    host.enter("AEGP_GetLayerInPoint");
    const host_layer* found = host.layer_of(layer);
    *in_point = A_Time{found ? found->in_point : 0, host.time_scale()};
    return PF_Err_NONE;
}

A_Err test_host::get_duration(AEGP_LayerH layer, AEGP_LTimeMode, A_Time* duration)
{
    test_host& host = current();
    host.enter("AEGP_GetLayerDuration");
    const host_layer* found = host.layer_of(layer);
    *duration = A_Time{found ? found->duration : 0, host.time_scale()};
    return PF_Err_NONE;
}

A_Err test_host::is_video_on(AEGP_LayerH layer, A_Boolean* on)
{
    test_host& host = current();
    host.enter("AEGP_IsVideoReallyOn");
    const host_layer* found = host.layer_of(layer);
    *on = found && found->video_on ? 1 : 0;
    return PF_Err_NONE;
}

A_Err test_host::get_layer_to_world(AEGP_LayerH layer, const A_Time*, A_Matrix4* transform)
{
    test_host& host = current();
    host.enter("AEGP_GetLayerToWorldXform");
    const host_layer* found = host.layer_of(layer);
    *transform = found ? found->transform : translation(0, 0, 0);
    return PF_Err_NONE;
}

A_Err test_host::get_item_from_comp(AEGP_CompH, AEGP_ItemH* item)
{
    current().enter("AEGP_GetItemFromComp");
    *item = the_item;
    return PF_Err_NONE;
}

A_Err test_host::get_comp_flags(AEGP_CompH, AEGP_CompFlags* flags)
{
    test_host& host = current();
    host.enter("AEGP_GetCompFlags");
    *flags = host.comp.motion_blur ? AEGP_CompFlag_ENABLE_MOTION_BLUR : AEGP_CompFlag_NONE;
    return PF_Err_NONE;
}

A_Err test_host::get_shutter(AEGP_CompH, A_Ratio* angle, A_Ratio* phase)
{
    test_host& host = current();
    host.enter("AEGP_GetCompShutterAnglePhase");
    *angle = host.comp.shutter_angle;
    *phase = host.comp.shutter_phase;
    return PF_Err_NONE;
}

A_Err test_host::get_item_aspect(AEGP_ItemH, A_Ratio* pixel_aspect)
{
    test_host& host = current();
    host.enter("AEGP_GetItemPixelAspectRatio");
    *pixel_aspect = host.comp.pixel_aspect;
    return PF_Err_NONE;
}

A_Err test_host::get_camera_type(AEGP_LayerH layer, AEGP_CameraType* type)
{
    test_host& host = current();
    host.enter("AEGP_GetCameraType");
    const host_layer* found = host.layer_of(layer);
    *type = found && found->kind == layer_kind::camera ? found->camera_type
                                                       : AEGP_CameraType_NONE;
    return PF_Err_NONE;
}

A_Err test_host::get_light_type(AEGP_LayerH layer, AEGP_LightType* type)
{
    test_host& host = current();
    host.enter("AEGP_GetLightType");
    const host_layer* found = host.layer_of(layer);
    *type = found && found->kind == layer_kind::light ? found->light_type : AEGP_LightType_NONE;
    return PF_Err_NONE;
}

A_Err test_host::get_layer_stream(AEGP_LayerH layer, AEGP_LayerStream which, AEGP_LTimeMode,
                                  const A_Time*, A_Boolean, AEGP_StreamVal2* value,
                                  AEGP_StreamType* type)
{
    test_host& host = current();
    host.enter("AEGP_GetLayerStreamValue");
    std::memset(value, 0, sizeof *value);
    *type = AEGP_StreamType_OneD;
    const host_layer* found = host.layer_of(layer);
    if (!found)
        return PF_Err_BAD_CALLBACK_PARAM;
    switch (which) {
    case AEGP_LayerStream_INTENSITY:
        value->one_d = found->intensity;
        break;
    case AEGP_LayerStream_COLOR:
        value->color = found->color;
        *type = AEGP_StreamType_COLOR;
        break;
    case AEGP_LayerStream_CONE_ANGLE:
        value->one_d = found->cone_angle;
        break;
    case AEGP_LayerStream_CONE_FEATHER:
        value->one_d = found->cone_feather;
        break;
    case AEGP_LayerStream_LIGHT_FALLOFF_DISTANCE:
        value->one_d = found->falloff;
        break;
    default:
        *type = AEGP_StreamType_NO_DATA;
        break;
    }
    return PF_Err_NONE;
}

A_Err test_host::get_effect_camera(PF_ProgPtr, const A_Time* comp_time, AEGP_LayerH* camera)
{
    test_host& host = current();
    host.enter("AEGP_GetEffectCamera");
    *camera = nullptr;
    const std::int64_t now = static_cast<std::int64_t>(comp_time->value) * host.time_scale() /
                             std::max<A_u_long>(comp_time->scale, 1);
    for (std::size_t i = 0; i < host.comp.layers.size(); ++i) {
        const host_layer& layer = host.comp.layers[i];
        if (layer.kind == layer_kind::camera && layer.video_on && layer.in_point <= now &&
            now < static_cast<std::int64_t>(layer.in_point) + layer.duration) {
            *camera = host.handle_of(i);
            break;
        }
    }
    return PF_Err_NONE;
}

A_Err test_host::get_camera_matrix(PF_ProgPtr effect_ref, const A_Time* comp_time,
                                   A_Matrix4* matrix, A_FpLong* zoom, A_short* plane_width,
                                   A_short* plane_height)
{
    test_host& host = current();
    AEGP_LayerH camera = nullptr;
    get_effect_camera(effect_ref, comp_time, &camera);
    host.enter("AEGP_GetEffectCameraMatrix");
    *plane_width = static_cast<A_short>(host.comp.width);
    *plane_height = static_cast<A_short>(host.comp.height);
    if (const host_layer* layer = host.layer_of(camera)) {
        *matrix = layer->transform;
        *zoom = layer->zoom;
        return PF_Err_NONE;
    }
    // The default camera looks along +z at the composition's centre from a zoom away.
    *zoom = default_zoom(host.comp.width);
    *matrix = translation(host.comp.width / 2.0, host.comp.height / 2.0, -*zoom);
    return PF_Err_NONE;
}

PF_Err test_host::get_current_state(PF_ProgPtr, PF_ParamIndex index, const A_Time*,
                                    const A_Time*, PF_State* state)
{
    test_host& host = current();
    host.enter("PF_GetCurrentState");
    host.state_query_count += 1;
    std::memset(state, 0, sizeof *state);
    state->reserved[0] = index;
    if (index > 0 && static_cast<std::size_t>(index) < host.values.size()) {
        const A_long disk_id = host.values[static_cast<std::size_t>(index)]->uu.id;
        auto found = host.layer_ids.find(disk_id);
        if (found != host.layer_ids.end() && host.chosen_layer(disk_id)) {
            state->reserved[1] = found->second;
            state->reserved[2] = host.chosen_layer(disk_id)->content_version;
        }
    }
    return PF_Err_NONE;
}

PF_Err test_host::are_states_identical(PF_ProgPtr, const PF_State* a, const PF_State* b,
                                       A_Boolean* same)
{
    current().enter("PF_AreStatesIdentical");
    // The parameter's index is not part of its content: the same layer in two
    // slots is the same state.
    *same = a->reserved[1] == b->reserved[1] && a->reserved[2] == b->reserved[2] &&
                    a->reserved[1] != 0
                ? 1
                : 0;
    return PF_Err_NONE;
}

} // namespace qvhost
