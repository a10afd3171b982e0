#include "plugin/ae_plugin.h"

#include "hostsdk/aegp_suites.h"
#include "hostsdk/pf_smart_render.h"
#include "hostsdk/pf_suites.h"
#include "plugin/about_dialog.h"
#include "plugin/effect_parameters.h"
#include "plugin/host_window_owner.h"
#include "plugin/layer_checkout.h"
#include "plugin/prerender_rect.h"
#include "plugin/render_data.h"
#include "plugin/render_data_fill.h"
#include "plugin/product.h"
#include "plugin/suite_handler.h"
#include "toolkit/qv_exception.h"

#include <iostream>
#include <memory>

AePlugin::~AePlugin() = default;

PF_Handle AePlugin::sequence_setup(command_context&)
{
    return nullptr;
}

void AePlugin::sequence_setdown(command_context&, PF_Handle)
{
}

PF_Handle AePlugin::sequence_flatten(command_context&, PF_Handle)
{
    return nullptr;
}

PF_Handle AePlugin::sequence_resetup(command_context&, PF_Handle)
{
    return nullptr;
}

void AePlugin::completely_general(command_context&)
{
}

namespace {

AePlugin& require(AePlugin* plugin)
{
    // Only global set-up may come before global set-up; anything else has no object.
    if (!plugin)
        throw qv_exception("the effect received a command before its global set-up");
    return *plugin;
}

void smart_pre_render_input(command_context& context)
{
    auto* extra = static_cast<PF_PreRenderExtra*>(context.extra);
    PF_InData* in_data = context.in_data;
    PF_RenderRequest request = extra->input->output_request;
    PF_CheckoutResult result = {};
    extra->cb->checkout_layer(in_data->effect_ref, 0, 0, &request, in_data->current_time,
                              in_data->time_step, in_data->time_scale, &result);
    union_rect(extra->output->result_rect, result.result_rect);
    union_rect(extra->output->max_result_rect, result.max_result_rect);
}

// Owned by the host's main window, which stays disabled while it is up.
void show_about_window(AePlugin* plugin)
{
    const auto one_window_at_a_time = hold_module_windows();
    auto about_owner = std::make_unique<HostWindowOwner>(plugin ? plugin->main_window : nullptr);
    {
        AboutDialog dialog(about_owner.get());
        dialog.run_modal();
    }
    about_owner.reset();
}

} // namespace

PF_Err AePlugin::dispatch_command(AePlugin* plugin, PF_Cmd command, PF_InData* in_data,
                                  PF_OutData* out_data, PF_ParamDef** params, void* extra)
{
    command_context context{in_data, out_data, params, extra, 0};
    switch (command) {
    case PF_Cmd_ABOUT:
        show_about_window(plugin);
        break;
    case PF_Cmd_GLOBAL_SETUP:
        require(plugin).handle_global_setup(context);
        break;
    case PF_Cmd_GLOBAL_SETDOWN:
        require(plugin).global_setdown(context);
        break;
    case PF_Cmd_PARAMS_SETUP:
        out_data->num_params = 0;
        require(plugin).params_setup(context);
        out_data->num_params += 1; // the input layer
        break;
    case PF_Cmd_SEQUENCE_SETUP: {
        PF_Handle sequence = require(plugin).sequence_setup(context);
        out_data->sequence_data = in_data->sequence_data = sequence;
        break;
    }
    case PF_Cmd_SEQUENCE_RESETUP: {
        PF_Handle sequence = require(plugin).sequence_resetup(context, in_data->sequence_data);
        out_data->sequence_data = in_data->sequence_data = sequence;
        break;
    }
    case PF_Cmd_SEQUENCE_FLATTEN: {
        PF_Handle flat = require(plugin).sequence_flatten(context, in_data->sequence_data);
        out_data->sequence_data = in_data->sequence_data = flat;
        break;
    }
    case PF_Cmd_SEQUENCE_SETDOWN:
        require(plugin).sequence_setdown(context, in_data->sequence_data);
        out_data->sequence_data = in_data->sequence_data = nullptr;
        break;
    case PF_Cmd_DO_DIALOG:
        require(plugin).do_dialog(context);
        break;
    case PF_Cmd_USER_CHANGED_PARAM:
        require(plugin).user_changed_param(context);
        break;
    case PF_Cmd_UPDATE_PARAMS_UI:
        require(plugin).update_params_ui(context);
        break;
    case PF_Cmd_EVENT:
        require(plugin).event(context);
        break;
    case PF_Cmd_COMPLETELY_GENERAL:
        require(plugin).completely_general(context);
        break;
    case PF_Cmd_ARBITRARY_CALLBACK:
        require(plugin).arbitrary_callback(context);
        break;
    case PF_Cmd_SMART_PRE_RENDER: {
        AePlugin& object = require(plugin);
        smart_pre_render_input(context);
        object.smart_pre_render(context);
        break;
    }
    case PF_Cmd_SMART_RENDER:
        require(plugin).handle_smart_render(context);
        break;
    default:
        break;
    }
    return static_cast<PF_Err>(context.err);
}

void AePlugin::handle_global_setup(command_context& context)
{
    PF_OutData* out_data = context.out_data;
    PF_InData* in_data = context.in_data;
    out_data->my_version = effect_version;
    out_data->out_flags = effect_out_flags;
    out_data->out_flags2 = effect_out_flags2;

    std::cerr << "## " << product_name << " " << product_version_major << "."
              << product_version_minor << "." << product_version_patch << " ("
              << product_build << ")" << std::flush;

    suite_handler suites(in_data->pica_basicP);
    suites.get<AEGP_UtilitySuite10>().AEGP_RegisterWithAEGP(nullptr, product_name, &plugin_id);

    main_window = nullptr;
    in_data->utils->get_platform_data(in_data->effect_ref, PF_PlatData_MAIN_WND, &main_window);

    PF_Boolean engine = 0;
    suites.get<PF_AppSuite6>().PF_IsRenderEngine(&engine);
    render_engine = engine != 0;

    global_setup(context);
}

void AePlugin::handle_smart_render(command_context& context)
{
    qvsdk::render_data frame;
    fill_frame_scale(frame, *context.in_data);
    if (!checkout_layer_pixels(context, 0, frame.input))
        return;
    PF_EffectWorld* output = checkout_layer_pixels(context, -1, frame.output);
    if (!output)
        return;
    fill_layer_size(frame, *context.in_data);
    frame.origin_x = output->origin_x;
    frame.origin_y = output->origin_y;
    context.rendering = true;
    try {
        smart_render(context, frame);
    } catch (const parameter_refused& refused) {
        // A frame drawn with a made-up value would pass for the real one.
        if (context.err == 0)
            context.err = static_cast<std::uint32_t>(refused.err);
    }
}
