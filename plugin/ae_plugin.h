#pragma once

#include "hostsdk/pf_effect.h"
#include "plugin/command_context.h"

#include <windows.h>

namespace qvsdk {
struct render_data;
}

// The effect as the dispatcher sees it: one virtual operation per handled command.
class AePlugin {
public:
    virtual ~AePlugin();

    virtual void global_setup(command_context& context) = 0;
    virtual void global_setdown(command_context& context) = 0;
    virtual void params_setup(command_context& context) = 0;
    virtual void update_params_ui(command_context& context) = 0;
    virtual PF_Handle sequence_setup(command_context& context);
    virtual void sequence_setdown(command_context& context, PF_Handle sequence);
    virtual PF_Handle sequence_flatten(command_context& context, PF_Handle sequence);
    virtual PF_Handle sequence_resetup(command_context& context, PF_Handle flat);
    virtual void user_changed_param(command_context& context) = 0;
    virtual void smart_render(command_context& context, qvsdk::render_data& frame) = 0;
    virtual void smart_pre_render(command_context& context) = 0;
    virtual void do_dialog(command_context& context) = 0;
    virtual void event(command_context& context) = 0;
    virtual void arbitrary_callback(command_context& context) = 0;
    virtual void completely_general(command_context& context);

    // Performs one host command on the plug-in object (null before global set-up)
    // and returns the host error code.
    static PF_Err dispatch_command(AePlugin* plugin, PF_Cmd command, PF_InData* in_data,
                                   PF_OutData* out_data, PF_ParamDef** params, void* extra);

    void handle_global_setup(command_context& context);
    void handle_smart_render(command_context& context);

    AEGP_PluginID plugin_id = 0;
    HWND main_window = nullptr;
    bool render_engine = false;
};
