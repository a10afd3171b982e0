#include "plugin/layer_checkout.h"

#include "hostsdk/pf_smart_render.h"
#include "plugin/effect_parameters.h"
#include "plugin/render_data_fill.h"

void checkout_layer_for_prerender(command_context& context, A_long disk_id)
{
    PF_InData* in_data = context.in_data;
    PF_ParamDef layer = read_param(context, disk_id);

    PF_RenderRequest request{};
    request.rect = PF_LRect{0, 0, layer.u.ld.width, layer.u.ld.height};
    request.field = PF_Field_FRAME;
    request.channel_mask = PF_ChannelMask_ARGB;
    request.preserve_rgb_of_zero_alpha = 1;

    auto* extra = static_cast<PF_PreRenderExtra*>(context.extra);
    PF_CheckoutResult result{};
    extra->cb->checkout_layer(in_data->effect_ref, param_index(disk_id), disk_id, &request,
                              in_data->current_time, in_data->time_step, in_data->time_scale,
                              &result);
}

PF_EffectWorld* checkout_layer_pixels(command_context& context, A_long checkout_id,
                                      qvsdk::pixel_buffer& buffer)
{
    auto* extra = static_cast<PF_SmartRenderExtra*>(context.extra);
    PF_ProgPtr effect_ref = context.in_data->effect_ref;
    PF_EffectWorld* world = nullptr;
    PF_Err err = checkout_id >= 0
                     ? extra->cb->checkout_layer_pixels(effect_ref, checkout_id, &world)
                     : extra->cb->checkout_output(effect_ref, &world);
    // A frame checks out several layers; the first failure is the one reported.
    if (err != PF_Err_NONE && context.err == 0)
        context.err = static_cast<std::uint32_t>(err);
    buffer.pixels = nullptr;
    buffer.bytes_per_channel = 1;
    buffer.row_bytes = 0;
    if (!world || err != PF_Err_NONE)
        return nullptr;
    buffer.bytes_per_channel = bytes_per_channel(extra->input->bitdepth);
    buffer.pixels = world->data;
    buffer.width = world->width;
    buffer.height = world->height;
    buffer.row_bytes = world->rowbytes;
    return world;
}

void checkin_layer_pixels(command_context& context, A_long checkout_id)
{
    auto* extra = static_cast<PF_SmartRenderExtra*>(context.extra);
    extra->cb->checkin_layer_pixels(context.in_data->effect_ref, checkout_id);
}
