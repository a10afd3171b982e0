#pragma once

#include "plugin/command_context.h"

#include "hostsdk/host_types.h"

// Hides the controls that do nothing with the current choices: "Shutter Angle"
// unless "Motion Blur" is "On", and each map's companions while it names no layer.
void update_param_visibility(command_context& context, AEGP_PluginID plugin_id);
