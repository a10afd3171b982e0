#pragma once

#include "hostsdk/host_types.h"
#include "plugin/command_context.h"

// Asks the host, during smart pre-render, for the whole of a map layer; the disk id
// is the checkout id. Nothing of the answer is used.
void checkout_layer_for_prerender(command_context& context, A_long disk_id);
