#include "plugin/ae_plugin_connection.h"

#include "hostsdk/drawbot_suites.h"
#include "plugin/effect_parameters.h"
#include "plugin/layer_checkout.h"
#include "plugin/panel_header.h"
#include "plugin/param_visibility.h"
#include "plugin/parameter_ids.h"
#include "plugin/product.h"
#include "plugin/renderer/render_jobs.h"
#include "plugin/sequence_data.h"
#include "plugin/suite_handler.h"
#include "toolkit/qv_exception.h"

#include <cstring>
#include <exception>
#include <string>

AePluginConnection::AePluginConnection() = default;

AePluginConnection::~AePluginConnection() = default;

void AePluginConnection::global_setup(command_context&)
{
    std::unique_ptr<qvsdk::RendererProxy> proxy;
    try {
        proxy = std::make_unique<qvsdk::RendererProxy>(std::make_unique<qvsdk::RenderThread>());
        proxy->load_sphere_model();
    } catch (const std::exception& error) {
        proxy.reset();
        std::string message =
            std::string(product_name) + " failed to initialize with error:\n\n" + error.what();
        throw qv_exception(message.c_str(), message.size());
    }
    renderer_proxy = std::move(proxy);
}

void AePluginConnection::global_setdown(command_context& context)
{
    // Taken first so the render thread stops on every path, also when giving the
    // header images back fails: the host may unload the module next.
    std::unique_ptr<qvsdk::RendererProxy> proxy = std::move(renderer_proxy);
    suite_handler suites(context.in_data->pica_basicP);
    for (DRAWBOT_ImageRef image : {banner_image_normal, banner_image_hover}) {
        if (image)
            suites.get<DRAWBOT_SupplierSuite1>().ReleaseObject(image);
    }
    proxy.reset();
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

AePluginConnection::render_turn::render_turn(AePluginConnection& connection,
                                             const char* refusal)
    : connection(connection)
{
    if (connection.render_owner.load() == std::this_thread::get_id())
        throw qv_exception(refusal, std::strlen(refusal));
    connection.render_mutex.lock();
    connection.render_owner = std::this_thread::get_id();
}

AePluginConnection::render_turn::~render_turn()
{
    connection.render_owner = std::thread::id();
    connection.render_mutex.unlock();
}

// Set-down and flatten change the shared cache and submit texture deletions, so
// they take turns with frames rendering on other threads. Asked for inside a frame
// on its own thread they fail: the frame may be walking the cache.
void AePluginConnection::sequence_setdown(command_context& context, PF_Handle sequence)
{
    render_turn turn(*this, "the host asked to set down an instance of this effect inside "
                            "one of its frames on the same thread");
    dispose_sequence_data(*context.in_data->utils, sequence, texture_cache,
                          [this](std::uint32_t id) { release_texture(id); });
}

PF_Handle AePluginConnection::sequence_flatten(command_context& context, PF_Handle sequence)
{
    render_turn turn(*this, "the host asked to flatten an instance of this effect inside one "
                            "of its frames on the same thread");
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

void AePluginConnection::event(command_context& context)
{
    handle_panel_header_event(*this, context);
}

void AePluginConnection::arbitrary_callback(command_context&)
{
}

void AePluginConnection::release_texture(std::uint32_t texture_id)
{
    // Layer textures exist only while a renderer runs; without one there is
    // nothing to delete.
    if (renderer_proxy)
        qvsdk::release_texture(renderer_proxy->render_thread(), texture_id);
}
