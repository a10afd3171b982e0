#pragma once

// The effect's object run inside the test process: the test host calls
// in_process_entry, which hands each command to in_process_plugin as PluginMain
// would, with a standard exception turned into error 512.

#include "plugin/ae_plugin.h"

extern AePlugin* in_process_plugin;

PF_Err in_process_entry(PF_Cmd command, PF_InData* in_data, PF_OutData* out_data,
                        PF_ParamDef* params[], PF_LayerDef* output, void* extra);
