#pragma once

#include "plugin/pixel_buffer.h"

#include <cstdint>
#include <type_traits>

namespace qvsdk {

// One frame's buffers and geometry, as smart render hands them over.
struct render_data {
    pixel_buffer input;
    pixel_buffer output;
    float inverse_downsample_x = 0;  // 2 at half resolution
    float inverse_downsample_y = 0;
    std::int32_t layer_width = 0;    // downsampled, rounded up, at least the output's
    std::int32_t layer_height = 0;
    std::int32_t origin_x = 0;
    std::int32_t origin_y = 0;
    float inverse_pixel_aspect = 0;
};

static_assert(std::is_trivially_copyable_v<render_data>, "copied into the renderer's frame");

} // namespace qvsdk
