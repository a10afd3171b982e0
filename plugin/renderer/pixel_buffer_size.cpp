#include "plugin/renderer/pixel_buffer_size.h"

#include <stdexcept>

namespace qvsdk {

std::uint64_t pixel_buffer_size(const pixel_buffer& buffer, std::uint64_t limit)
{
    if (buffer.width < 0 || buffer.height < 0 || buffer.row_bytes < 0)
        throw std::runtime_error("pixel buffer has a negative size");
    const std::uint64_t pixel_bytes = 4ull * buffer.bytes_per_channel;
    if (static_cast<std::uint64_t>(buffer.row_bytes) < pixel_bytes * buffer.width)
        throw std::runtime_error("pixel buffer rows are shorter than their pixels");
    const std::uint64_t size =
        static_cast<std::uint64_t>(buffer.row_bytes) * static_cast<std::uint64_t>(buffer.height);
    if (size > limit)
        throw std::runtime_error("pixel buffer is over the device's maximum buffer size");
    return size;
}

} // namespace qvsdk
