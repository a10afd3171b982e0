#pragma once

#include "plugin/texture_cache_entry.h"

#include <cstdint>
#include <functional>
#include <vector>

// Drops one reference on the first entry with this texture id; the entry that
// reaches zero has its texture released and leaves the cache. Id 0 holds nothing.
void drop_texture_reference(std::vector<texture_cache_entry>& cache, std::uint32_t texture_id,
                            const std::function<void(std::uint32_t)>& release_texture);
