#include "plugin/texture_cache.h"

void drop_texture_reference(std::vector<texture_cache_entry>& cache, std::uint32_t texture_id,
                            const std::function<void(std::uint32_t)>& release_texture)
{
    if (texture_id == 0)
        return;
    for (auto entry = cache.begin(); entry != cache.end(); ++entry) {
        if (entry->texture_id != texture_id)
            continue;
        if (entry->refcount > 0)
            entry->refcount -= 1;
        if (entry->refcount == 0) {
            // Out of the cache first: a failed release leaves no entry naming it.
            cache.erase(entry);
            release_texture(texture_id);
        }
        return;
    }
}
