#pragma once

#include "hostsdk/pf_effect.h"
#include "plugin/texture_cache_entry.h"

#include <cstdint>
#include <functional>
#include <vector>

// The contents of an effect instance's sequence handle: the texture ids it holds.
struct sequence_data {
    std::uint32_t reserved;
    std::uint32_t diffuse;
    std::uint32_t glossiness;
    std::uint32_t illumination;
    std::uint32_t bump;
    std::uint32_t environment;
};
static_assert(sizeof(sequence_data) == 24);

using texture_release = std::function<void(std::uint32_t)>;

// The four sequence operations, on the host's handle callbacks.
PF_Handle new_sequence_data(PF_UtilCallbacks& utils);
void dispose_sequence_data(PF_UtilCallbacks& utils, PF_Handle sequence,
                           std::vector<texture_cache_entry>& cache,
                           const texture_release& release);
PF_Handle flatten_sequence_data(PF_UtilCallbacks& utils, PF_Handle sequence,
                                std::vector<texture_cache_entry>& cache,
                                const texture_release& release);
PF_Handle resetup_sequence_data(PF_UtilCallbacks& utils, PF_Handle flat);
