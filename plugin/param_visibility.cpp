#include "plugin/param_visibility.h"

#include "hostsdk/aegp_suites.h"
#include "plugin/effect_parameters.h"
#include "plugin/parameter_ids.h"
#include "plugin/suite_handler.h"

#include <initializer_list>

namespace {

struct map_layer_rule {
    A_long layer;
    std::initializer_list<A_long> companions;
};

const map_layer_rule map_layer_rules[] = {
    {param_id::diffuse_layer,
     {param_id::diffuse_gamma, param_id::diffuse_brightness, param_id::diffuse_blend}},
    {param_id::glossiness_layer, {param_id::glossiness_gamma, param_id::glossiness_brightness}},
    {param_id::illumination_layer,
     {param_id::illumination_gamma, param_id::illumination_brightness}},
    {param_id::bump_layer,
     {param_id::bump_intensity, param_id::use_normal_map, param_id::flip_normal_channels,
      param_id::bump_falloff}},
};

constexpr A_long motion_blur_on = 2;

// A stream and a stream value go back to the host on every path, also when a host
// call between taking and giving back fails.
class owned_stream {
public:
    owned_stream(const AEGP_StreamSuite7& streams, AEGP_StreamRefH stream)
        : streams(streams), stream(stream)
    {
    }
    owned_stream(const owned_stream&) = delete;
    owned_stream& operator=(const owned_stream&) = delete;
    ~owned_stream()
    {
        if (!stream)
            return;
        try {
            streams.AEGP_DisposeStream(stream);
        } catch (...) {
        }
    }
    AEGP_StreamRefH get() const { return stream; }

private:
    const AEGP_StreamSuite7& streams;
    AEGP_StreamRefH stream;
};

struct owned_stream_value {
    explicit owned_stream_value(const AEGP_StreamSuite7& streams) : streams(streams) {}
    owned_stream_value(const owned_stream_value&) = delete;
    owned_stream_value& operator=(const owned_stream_value&) = delete;
    ~owned_stream_value()
    {
        // The host names the value's stream only when it made the value.
        if (!value.streamH)
            return;
        try {
            streams.AEGP_DisposeStreamValue(&value);
        } catch (...) {
        }
    }

    const AEGP_StreamSuite7& streams;
    AEGP_StreamValue2 value{};
};

class visibility_pass {
public:
    visibility_pass(command_context& context, AEGP_PluginID plugin_id)
        : context(context), plugin_id(plugin_id), suites(context.in_data->pica_basicP)
    {
        suites.get<AEGP_PFInterfaceSuite1>().AEGP_GetNewEffectForEffect(
            plugin_id, context.in_data->effect_ref, &effect);
    }

    ~visibility_pass()
    {
        // Give the effect back before the suites go, also after a failure.
        if (!effect)
            return;
        try {
            suites.get<AEGP_EffectSuite2>().AEGP_DisposeEffect(effect);
        } catch (...) {
        }
    }

    void set_hidden(A_long disk_id, bool hidden)
    {
        owned_stream stream(suites.get<AEGP_StreamSuite7>(), new_stream(disk_id));
        suites.get<AEGP_DynamicStreamSuite2>().AEGP_SetDynamicStreamFlag(
            stream.get(), AEGP_DynStreamFlag_HIDDEN, 0, hidden ? 1 : 0);
    }

    bool has_layer(A_long disk_id)
    {
        A_Time comp_time{};
        suites.get<AEGP_PFInterfaceSuite1>().AEGP_ConvertEffectToCompTime(
            context.in_data->effect_ref, context.in_data->current_time,
            context.in_data->time_scale, &comp_time);
        const AEGP_StreamSuite7& streams = suites.get<AEGP_StreamSuite7>();
        owned_stream stream(streams, new_stream(disk_id));
        owned_stream_value value(streams);
        streams.AEGP_GetNewStreamValue(plugin_id, stream.get(), AEGP_LTimeMode_CompTime,
                                       &comp_time, 0, &value.value);
        return value.value.val.layer_id != 0;
    }

private:
    AEGP_StreamRefH new_stream(A_long disk_id)
    {
        AEGP_StreamRefH stream = nullptr;
        suites.get<AEGP_StreamSuite7>().AEGP_GetNewEffectStreamByIndex(
            plugin_id, effect, param_index(disk_id), &stream);
        return stream;
    }

    command_context& context;
    AEGP_PluginID plugin_id;
    suite_handler suites;
    AEGP_EffectRefH effect = nullptr;
};

} // namespace

void update_param_visibility(command_context& context, AEGP_PluginID plugin_id)
{
    visibility_pass pass(context, plugin_id);
    A_long blur = read_param(context, param_id::motion_blur).u.pd.value;
    pass.set_hidden(param_id::shutter_angle, blur != motion_blur_on);
    for (const map_layer_rule& rule : map_layer_rules) {
        bool hidden = !pass.has_layer(rule.layer);
        for (A_long companion : rule.companions)
            pass.set_hidden(companion, hidden);
    }
}
