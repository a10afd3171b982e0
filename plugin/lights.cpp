#include "plugin/lights.h"

#include "hostsdk/aegp_suites.h"
#include "plugin/suite_handler.h"

#include <algorithm>
#include <cmath>

namespace {

// a/as < b/bs, without rounding.
bool earlier(std::int64_t a, std::int64_t a_scale, std::int64_t b, std::int64_t b_scale)
{
    return a * b_scale < b * a_scale;
}

double stream_value(const AEGP_StreamSuite7& streams, AEGP_LayerH layer, AEGP_LayerStream which,
                    const A_Time& time, AEGP_StreamVal2* whole = nullptr)
{
    AEGP_StreamVal2 value{};
    AEGP_StreamType type = AEGP_StreamType_NO_DATA;
    streams.AEGP_GetLayerStreamValue(layer, which, AEGP_LTimeMode_CompTime, &time, 1, &value,
                                     &type);
    if (whole)
        *whole = value;
    return value.one_d;
}

} // namespace

bool light_is_present(const A_Time& in_point, const A_Time& duration, const A_Time& time)
{
    if (in_point.scale == 0 || duration.scale == 0 || time.scale == 0)
        return false;
    // End = in + duration over the product of their scales.
    const std::int64_t end = static_cast<std::int64_t>(in_point.value) * duration.scale +
                             static_cast<std::int64_t>(duration.value) * in_point.scale;
    const std::int64_t end_scale = static_cast<std::int64_t>(in_point.scale) * duration.scale;
    return !earlier(time.value, time.scale, in_point.value, in_point.scale) &&
           earlier(time.value, time.scale, end, end_scale);
}

qvsdk::light_properties default_key_light()
{
    qvsdk::light_properties light{};
    light.lightType = AEGP_LightType_PARALLEL;
    light.position[0] = light.position[1] = -10000.0f;
    const float length = std::sqrt(2.0f) * 10000.0f;
    light.direction[0] = light.direction[1] = 10000.0f / length;
    std::fill(std::begin(light.color), std::end(light.color), 1.0f);
    return light;
}

qvsdk::light_properties default_fill_light()
{
    qvsdk::light_properties light{};
    light.lightType = AEGP_LightType_AMBIENT;
    std::fill(std::begin(light.color), std::end(light.color), 0.2f);
    return light;
}

std::vector<qvsdk::light_properties> collect_comp_lights(const command_context& context)
{
    const PF_InData& in_data = *context.in_data;
    std::vector<qvsdk::light_properties> lights;
    suite_handler suites(in_data.pica_basicP);
    const AEGP_PFInterfaceSuite1& pf = suites.get<AEGP_PFInterfaceSuite1>();
    const AEGP_LayerSuite11& layers = suites.get<AEGP_LayerSuite11>();
    const AEGP_StreamSuite7& streams = suites.get<AEGP_StreamSuite7>();

    // Light layers keep composition time; the effect's own time is its layer's, which
    // starts later when the layer does. Everything is compared in composition time.
    A_Time now{0, in_data.time_scale};
    pf.AEGP_ConvertEffectToCompTime(in_data.effect_ref, in_data.current_time, in_data.time_scale,
                                    &now);
    AEGP_LayerH effect_layer = nullptr;
    pf.AEGP_GetEffectLayer(in_data.effect_ref, &effect_layer);
    AEGP_CompH comp = nullptr;
    layers.AEGP_GetLayerParentComp(effect_layer, &comp);
    A_long count = 0;
    layers.AEGP_GetCompNumLayers(comp, &count);
    const float aspect = static_cast<float>(in_data.pixel_aspect_ratio.num) /
                         static_cast<float>(in_data.pixel_aspect_ratio.den);

    for (A_long index = 0; index < count; ++index) {
        AEGP_LayerH layer = nullptr;
        layers.AEGP_GetCompLayerByIndex(comp, index, &layer);
        if (!layer)
            continue;
        AEGP_ObjectType object = AEGP_ObjectType_NONE;
        layers.AEGP_GetLayerObjectType(layer, &object);
        if (object != AEGP_ObjectType_LIGHT)
            continue;
        A_Time in_point{0, 1}, duration{0, 1};
        layers.AEGP_GetLayerInPoint(layer, AEGP_LTimeMode_CompTime, &in_point);
        layers.AEGP_GetLayerDuration(layer, AEGP_LTimeMode_CompTime, &duration);
        if (!light_is_present(in_point, duration, now))
            continue;
        A_Boolean on = 0;
        layers.AEGP_IsVideoReallyOn(layer, &on);
        if (!on)
            continue;

        AEGP_LightType type = AEGP_LightType_NONE;
        suites.get<AEGP_LightSuite2>().AEGP_GetLightType(layer, &type);
        A_Matrix4 world{};
        layers.AEGP_GetLayerToWorldXform(layer, &now, &world);

        qvsdk::light_properties light{};
        const float intensity =
            static_cast<float>(stream_value(streams, layer, AEGP_LayerStream_INTENSITY, now));
        AEGP_StreamVal2 color{};
        stream_value(streams, layer, AEGP_LayerStream_COLOR, now, &color);
        light.color[0] = std::max(0.0f, static_cast<float>(color.color.red) * intensity * 0.01f);
        light.color[1] = std::max(0.0f, static_cast<float>(color.color.green) * intensity * 0.01f);
        light.color[2] = std::max(0.0f, static_cast<float>(color.color.blue) * intensity * 0.01f);
        light.color[3] = 1.0f;
        light.position[0] = static_cast<float>(world.mat[3][0]) * aspect;
        light.position[1] = static_cast<float>(world.mat[3][1]);
        light.position[2] = static_cast<float>(world.mat[3][2]);
        light.lightType = static_cast<std::uint32_t>(type);
        light.falloff = static_cast<float>(
            stream_value(streams, layer, AEGP_LayerStream_LIGHT_FALLOFF_DISTANCE, now));
        if (type == AEGP_LightType_PARALLEL || type == AEGP_LightType_SPOT) {
            for (int i = 0; i < 3; ++i)
                light.direction[i] = static_cast<float>(world.mat[2][i]);
            if (type == AEGP_LightType_SPOT) {
                light.cone_angle = static_cast<float>(
                    stream_value(streams, layer, AEGP_LayerStream_CONE_ANGLE, now));
                light.cone_feather = static_cast<float>(stream_value(
                                         streams, layer, AEGP_LayerStream_CONE_FEATHER, now)) *
                                     0.01f;
            }
        }
        lights.push_back(light);
    }
    return lights;
}
