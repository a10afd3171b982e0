#pragma once

#include "hostsdk/pf_suites.h"

#include <cstdint>

// One live layer texture, shared by every effect instance whose sequence data
// holds its id.
struct texture_cache_entry {
    std::uint32_t refcount;
    std::uint32_t texture_id;
    std::int32_t width;
    std::int32_t height;
    PF_State param_state;
    std::uint32_t upload_mode; // 0 colour, 1 bump to normal map, 2 environment cube
};
