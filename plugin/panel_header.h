#pragma once

#include "hostsdk/host_types.h"
#include "plugin/command_context.h"

class AePluginConnection;

// The product link inside the header banner, relative to the control's frame;
// both edges belong to it.
bool over_header_link(A_long x, A_long y);

// The host's custom-interface events for the header in the effect-controls
// panel: draw the banner in its state, hover over the link, click it.
void handle_panel_header_event(AePluginConnection& plugin, command_context& context);
