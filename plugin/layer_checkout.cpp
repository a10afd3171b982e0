#include "plugin/layer_checkout.h"

#include "hostsdk/pf_smart_render.h"
#include "plugin/effect_parameters.h"

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
