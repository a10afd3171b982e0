#pragma once

#include <cstdint>
#include <type_traits>

namespace qvsdk {

// One host pixel buffer: four channels a pixel, alpha, red, green, blue. Rows are
// addressed by row_bytes, which may exceed width × 4 × bytes_per_channel.
struct pixel_buffer {
    std::int32_t row_bytes = 0;
    std::uint8_t bytes_per_channel = 0; // 1, 2 or 4 (float)
    std::int32_t width = 0;
    std::int32_t height = 0;
    void* pixels = nullptr;             // owned by the host
};

static_assert(std::is_trivially_copyable_v<pixel_buffer>, "a plain record");

} // namespace qvsdk
