#include "in_process_effect.h"

#include <exception>

AePlugin* in_process_plugin = nullptr;

PF_Err in_process_entry(PF_Cmd command, PF_InData* in_data, PF_OutData* out_data,
                        PF_ParamDef* params[], PF_LayerDef*, void* extra)
{
    try {
        return AePlugin::dispatch_command(in_process_plugin, command, in_data, out_data, params,
                                          extra);
    } catch (const std::exception&) {
        return PF_Err_INTERNAL_STRUCT_DAMAGED;
    }
}
