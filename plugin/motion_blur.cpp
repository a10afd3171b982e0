#include "plugin/motion_blur.h"

#include "hostsdk/aegp_suites.h"
#include "plugin/effect_parameters.h"
#include "plugin/parameter_ids.h"
#include "plugin/suite_handler.h"

std::uint32_t sample_count_from(double samples)
{
    return static_cast<std::uint32_t>(static_cast<std::int64_t>(static_cast<float>(samples) + 0.5f));
}

float shutter_fraction_from_degrees(float degrees)
{
    return degrees * 0.0027777778f;
}

A_long sample_time_offset(A_long local_time_step, std::uint32_t k, float shutter_fraction,
                          std::uint32_t n)
{
    float part = static_cast<float>(k) * shutter_fraction / static_cast<float>(n);
    return static_cast<A_long>(static_cast<float>(local_time_step) * part);
}

void motion_blur_settings(const command_context& context, std::uint32_t& sample_count,
                          float& shutter_fraction)
{
    suite_handler suites(context.in_data->pica_basicP);
    AEGP_LayerH layer = nullptr;
    suites.get<AEGP_PFInterfaceSuite1>().AEGP_GetEffectLayer(context.in_data->effect_ref, &layer);
    const AEGP_LayerSuite11& layers = suites.get<AEGP_LayerSuite11>();
    const AEGP_CompSuite11& comps = suites.get<AEGP_CompSuite11>();
    AEGP_CompH comp = nullptr;
    layers.AEGP_GetLayerParentComp(layer, &comp);
    AEGP_LayerFlags layer_flags = 0;
    layers.AEGP_GetLayerFlags(layer, &layer_flags);
    AEGP_CompFlags comp_flags = 0;
    comps.AEGP_GetCompFlags(comp, &comp_flags);
    const bool host_blur = (layer_flags & AEGP_LayerFlag_MOTION_BLUR) != 0 &&
                           (comp_flags & AEGP_CompFlag_ENABLE_MOTION_BLUR) != 0;

    // The composition's angle is in degrees like the effect's own, so both become
    // a fraction of a frame the same way.
    A_Ratio angle{0, 1};
    A_Ratio phase{0, 1};
    comps.AEGP_GetCompShutterAnglePhase(comp, &angle, &phase);
    if (angle.den != 0)
        shutter_fraction = shutter_fraction_from_degrees(static_cast<float>(angle.num) /
                                                         static_cast<float>(angle.den));

    const A_long mode = read_param(context, param_id::motion_blur).u.pd.value;
    if (mode != motion_blur_on && (mode == motion_blur_off || !host_blur)) {
        sample_count = 1;
        return;
    }
    sample_count = sample_count_from(read_param(context, param_id::motion_blur_samples).u.fs_d.value);
    if (sample_count == 0)
        sample_count = 1;
    if (mode == motion_blur_on)
        shutter_fraction = shutter_fraction_from_degrees(
            static_cast<float>(read_param(context, param_id::shutter_angle).u.fs_d.value));
}
