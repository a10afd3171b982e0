#pragma once

#include "hostsdk/host_types.h"
#include "plugin/command_context.h"
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

// What one sample's layer lookups share.
struct layer_texture_context {
    std::vector<texture_cache_entry>& cache;
    qvsdk::RenderThread& thread;
    command_context& command;
    A_Time comp_time; // of the sample: the time of the layers' states
};

// The texture of one map layer: the cached one when the layer's state, size and
// mode match an entry, else a fresh upload. The slot gives up its old reference
// and holds the new one; the id (0 for no texture) is returned.
std::uint32_t load_layer_texture(layer_texture_context& context, A_long disk_id,
                                 std::uint32_t& slot, std::uint32_t upload_mode);
