#include "plugin/error_popup.h"

#include "hostsdk/pf_suites.h"
#include "plugin/ae_plugin.h"
#include "plugin/format_string.h"
#include "plugin/host_window_owner.h"
#include "plugin/message_popup.h"
#include "plugin/product.h"
#include "plugin/suite_handler.h"

#include <windows.h>

#include <string>

namespace {

AePlugin* plugin_object(PF_InData* in_data)
{
    PF_Handle global = in_data ? in_data->global_data : nullptr;
    if (!global || !*global)
        return nullptr;
    return *static_cast<AePlugin**>(*global);
}

// A render engine has no one to close a modal window: the command would never
// return. Before global set-up has read the flag, the host is asked directly.
bool without_user_interface(PF_InData* in_data)
{
    if (AePlugin* plugin = plugin_object(in_data); plugin && plugin->render_engine)
        return true;
    if (!in_data || !in_data->pica_basicP)
        return false;
    try {
        suite_handler suites(in_data->pica_basicP);
        PF_Boolean engine = 0;
        suites.get<PF_AppSuite6>().PF_IsRenderEngine(&engine);
        return engine != 0;
    } catch (...) {
        return false;
    }
}

HWND host_main_window(PF_InData* in_data)
{
    HWND main_window = nullptr;
    if (in_data && in_data->utils && in_data->utils->get_platform_data)
        in_data->utils->get_platform_data(in_data->effect_ref, PF_PlatData_MAIN_WND, &main_window);
    return main_window;
}

void send_to_debugger(const std::string& title, const std::string& message)
{
    const std::string line = title + ": " + message + "\n";
    OutputDebugStringA(line.c_str());
}

} // namespace

void show_error_popup(const std::exception* error, PF_InData* in_data) noexcept
{
    std::string title;
    std::string message;
    try {
        title = format_string("%s Exception", product_name);
        message = error ? std::string(error->what())
                        : format_string("%s has encountered an unrecoverable error.", product_name);
        if (without_user_interface(in_data)) {
            send_to_debugger(title, message);
            return;
        }
        const auto one_window_at_a_time = hold_module_windows();
        HostWindowOwner owner(host_main_window(in_data));
        qvsdk::ui::message_popup popup({500, 200});
        popup.show(&owner, title, message);
        popup.run_modal();
    } catch (...) {
        // No window could be shown: the message still reaches someone.
        try {
            send_to_debugger(title, message);
        } catch (...) {
            OutputDebugStringA("QV Vesk: a command failed\n");
        }
    }
}
