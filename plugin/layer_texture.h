#pragma once

#include "hostsdk/host_types.h"
#include "plugin/command_context.h"
#include "plugin/pixel_buffer.h"
#include "plugin/texture_cache_entry.h"

#include <cstdint>
#include <vector>

namespace qvsdk {
class RenderThread;
}

enum : std::uint32_t {
    upload_colour = 0,
    upload_bump_to_normal = 1,
    upload_environment = 2,
};

// One sample's five map layers as the host handed them out. A layer without pixels
// (none chosen, or its checkout failed) has null `pixels` and size 0.
struct sample_layers {
    qvsdk::pixel_buffer diffuse, glossiness, illumination, bump, environment;
    std::vector<A_long> held; // checkout ids to give back
};

// Checks out the five map layers at the host's current time. The host may render
// a layer right then, other instances of this effect included, so a frame does
// this before it takes the render mutex. A failed checkout's code goes into the
// context and ends the frame with parameter_refused; what was checked out before
// it stays in `held`.
void check_out_sample_layers(command_context& context, sample_layers& layers);
// Gives back what check_out_sample_layers got.
void check_in_sample_layers(command_context& context, sample_layers& layers);

// What one sample's layer lookups share.
struct layer_texture_context {
    std::vector<texture_cache_entry>& cache;
    qvsdk::RenderThread& thread;
    command_context& command;
    A_Time comp_time; // of the sample: the time of the layers' states
};

// The texture of one map layer from its checked-out pixels: the cached one when the
// layer's state, size and mode match an entry, else a fresh upload. The slot gives
// up its old reference and holds the new one; the id (0 for no texture) is returned.
std::uint32_t load_layer_texture(layer_texture_context& context, A_long disk_id,
                                 const qvsdk::pixel_buffer& pixels, std::uint32_t& slot,
                                 std::uint32_t upload_mode);
