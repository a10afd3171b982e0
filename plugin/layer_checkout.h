#pragma once

#include "hostsdk/pf_effect.h"
#include "plugin/command_context.h"
#include "plugin/pixel_buffer.h"

// Asks the host, during smart pre-render, for the whole of a map layer; the disk id
// is the checkout id. Nothing of the answer is used.
void checkout_layer_for_prerender(command_context& context, A_long disk_id);

// Checks out a layer's pixels during smart render (a negative id: the output) and
// describes them in `buffer`; the host's error goes into the context unless an
// earlier checkout already failed. Returns the
// host's world, or null when there is none or the checkout failed.
PF_EffectWorld* checkout_layer_pixels(command_context& context, A_long checkout_id,
                                      qvsdk::pixel_buffer& buffer);

// Gives a layer that checkout_layer_pixels handed out back to the host.
void checkin_layer_pixels(command_context& context, A_long checkout_id);
