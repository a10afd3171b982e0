#include "plugin/ae_plugin_connection.h"

#include "hostsdk/drawbot_suites.h"
#include "plugin/effect_parameters.h"
#include "plugin/layer_checkout.h"
#include "plugin/param_visibility.h"
#include "plugin/parameter_ids.h"
#include "plugin/sequence_data.h"
#include "plugin/suite_handler.h"

AePluginConnection::AePluginConnection() = default;

AePluginConnection::~AePluginConnection() = default;

void AePluginConnection::global_setup(command_context&)
{
    // The renderer is started here once the render thread is part of the module.
}

void AePluginConnection::global_setdown(command_context& context)
{
    suite_handler suites(context.in_data->pica_basicP);
    for (DRAWBOT_ImageRef image : {banner_image_normal, banner_image_hover}) {
        if (image)
            suites.get<DRAWBOT_SupplierSuite1>().ReleaseObject(image);
    }
}

void AePluginConnection::params_setup(command_context& context)
{
    add_effect_params(context);
}

void AePluginConnection::update_params_ui(command_context& context)
{
    update_param_visibility(context, plugin_id);
}

PF_Handle AePluginConnection::sequence_setup(command_context& context)
{
    return new_sequence_data(*context.in_data->utils);
}

void AePluginConnection::sequence_setdown(command_context& context, PF_Handle sequence)
{
    dispose_sequence_data(*context.in_data->utils, sequence, texture_cache,
                          [this](std::uint32_t id) { release_texture(id); });
}

PF_Handle AePluginConnection::sequence_flatten(command_context& context, PF_Handle sequence)
{
    return flatten_sequence_data(*context.in_data->utils, sequence, texture_cache,
                                 [this](std::uint32_t id) { release_texture(id); });
}

PF_Handle AePluginConnection::sequence_resetup(command_context& context, PF_Handle flat)
{
    return resetup_sequence_data(*context.in_data->utils, flat);
}

void AePluginConnection::user_changed_param(command_context&)
{
}

void AePluginConnection::smart_render(command_context& context, qvsdk::render_data&)
{
    // Without a running renderer no frame can be drawn.
    context.err = PF_Interrupt_CANCEL;
}

void AePluginConnection::smart_pre_render(command_context& context)
{
    for (A_long layer : {param_id::diffuse_layer, param_id::glossiness_layer,
                         param_id::illumination_layer, param_id::environment_layer,
                         param_id::bump_layer})
        checkout_layer_for_prerender(context, layer);
}

void AePluginConnection::do_dialog(command_context&)
{
}

void AePluginConnection::event(command_context&)
{
}

void AePluginConnection::arbitrary_callback(command_context&)
{
}

void AePluginConnection::release_texture(std::uint32_t)
{
    // Layer textures exist only while a renderer runs; without one there is
    // nothing to delete.
}
