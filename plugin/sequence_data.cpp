#include "plugin/sequence_data.h"

#include "plugin/binary_archive.h"
#include "plugin/renderer/cleanup_guard.h"
#include "plugin/texture_cache.h"

#include <cstring>
#include <utility>

PF_Handle new_sequence_data(PF_UtilCallbacks& utils)
{
    PF_Handle handle = utils.host_new_handle(sizeof(sequence_data));
    if (!handle)
        return nullptr;
    if (void* block = utils.host_lock_handle(handle)) {
        std::memset(block, 0, sizeof(sequence_data));
        utils.host_unlock_handle(handle);
    }
    return handle;
}

void dispose_sequence_data(PF_UtilCallbacks& utils, PF_Handle sequence,
                           std::vector<texture_cache_entry>& cache,
                           const texture_release& release)
{
    if (!sequence)
        return;
    // A flattened instance holds the empty flat handle: it names no texture.
    const bool holds_ids =
        utils.host_get_handle_size(sequence) >= static_cast<A_HandleSize>(sizeof(sequence_data));
    if (auto* data = holds_ids ? static_cast<sequence_data*>(utils.host_lock_handle(sequence))
                               : nullptr) {
        cleanup_guard unlock([&utils, sequence] { utils.host_unlock_handle(sequence); });
        // Each id is cleared before its reference goes, so a set-down repeated after
        // a failed release drops no reference twice.
        for (std::uint32_t* id : {&data->diffuse, &data->glossiness, &data->illumination,
                                  &data->bump, &data->environment})
            drop_texture_reference(cache, std::exchange(*id, 0u), release);
    }
    utils.host_dispose_handle(sequence);
}

PF_Handle flatten_sequence_data(PF_UtilCallbacks& utils, PF_Handle sequence,
                                std::vector<texture_cache_entry>& cache,
                                const texture_release& release)
{
    PF_Handle flat = nullptr;
    if (sequence && utils.host_lock_handle(sequence)) {
        // The flat form carries nothing: measure, then write into a block of that size.
        std::uint64_t size = binary_archive(nullptr, 0, binary_archive::measure).size();
        flat = utils.host_new_handle(static_cast<A_HandleSize>(size));
        if (flat) {
            void* block = utils.host_lock_handle(flat);
            binary_archive(block, size, binary_archive::write);
            utils.host_unlock_handle(flat);
        }
        utils.host_unlock_handle(sequence);
    }
    dispose_sequence_data(utils, sequence, cache, release);
    return flat;
}

PF_Handle resetup_sequence_data(PF_UtilCallbacks& utils, PF_Handle flat)
{
    PF_Handle fresh = new_sequence_data(utils);
    if (flat) {
        void* block = utils.host_lock_handle(flat);
        A_HandleSize size = utils.host_get_handle_size(flat);
        if (block && size > 0) {
            binary_archive archive(block, static_cast<std::uint64_t>(size));
            archive.header(); // a foreign or short block still gives fresh data
        }
        utils.host_unlock_handle(flat);
        utils.host_dispose_handle(flat);
    }
    return fresh;
}
