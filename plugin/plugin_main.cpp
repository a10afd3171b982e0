// The module's two exports: the host calls PluginMain for every command.

#include "hostsdk/pf_effect.h"
#include "plugin/ae_plugin.h"
#include "plugin/ae_plugin_connection.h"
#include "plugin/crash_dump.h"
#include "plugin/error_popup.h"
#include "plugin/product.h"
#include "toolkit/qv_exception.h"

#include <exception>

namespace {

constexpr PF_Cmd last_host_command = static_cast<PF_Cmd>(10000);

AePlugin* plugin_object(PF_InData* in_data)
{
    PF_Handle global = in_data->global_data;
    if (!global || !*global)
        return nullptr;
    return *static_cast<AePlugin**>(*global);
}

void create_plugin_object(PF_InData* in_data, PF_OutData* out_data)
{
    PF_Handle global = in_data->utils->host_new_handle(sizeof(AePlugin*));
    if (!global || !*global)
        throw qv_exception("the host gave no global data");
    // The block holds no object until one exists, so a failed allocation leaves
    // later commands a null object rather than whatever the host's block held.
    *static_cast<AePlugin**>(*global) = nullptr;
    in_data->global_data = out_data->global_data = global;
    *static_cast<AePlugin**>(*global) = new AePluginConnection();
}

void destroy_plugin_object(PF_InData* in_data, PF_OutData* out_data)
{
    PF_Handle global = in_data->global_data;
    delete plugin_object(in_data);
    if (global)
        in_data->utils->host_dispose_handle(global);
    in_data->global_data = out_data->global_data = nullptr;
}

} // namespace

extern "C" {

A_long* GetPluginVersion(A_long* out)
{
    out[0] = product_version_major;
    out[1] = product_version_minor;
    out[2] = product_version_patch;
    out[3] = product_build;
    return out;
}

PF_Err PluginMain(PF_Cmd command, PF_InData* in_data, PF_OutData* out_data,
                  PF_ParamDef* params[], PF_LayerDef*, void* extra)
{
    if (command > last_host_command)
        return PF_Err_NONE;
    PF_Err err = PF_Err_INTERNAL_STRUCT_DAMAGED;
    {
        qvsdk::crash_dump_scope inside_command;
        try {
            if (command == PF_Cmd_GLOBAL_SETUP) {
                qvsdk::install_crash_dump_translator();
                create_plugin_object(in_data, out_data);
            }
            err = AePlugin::dispatch_command(plugin_object(in_data), command, in_data, out_data,
                                             params, extra);
            if (command == PF_Cmd_GLOBAL_SETDOWN)
                destroy_plugin_object(in_data, out_data);
        } catch (const std::exception& error) {
            err = PF_Err_INTERNAL_STRUCT_DAMAGED;
            show_error_popup(&error, in_data);
        } catch (...) {
            err = PF_Err_INTERNAL_STRUCT_DAMAGED;
            show_error_popup(nullptr, in_data);
        }
    }
    // After set-down the host's own faults on this thread are no business of ours.
    if (command == PF_Cmd_GLOBAL_SETDOWN)
        qvsdk::remove_crash_dump_translator();
    return err;
}

} // extern "C"
