#pragma once

#include "plugin/pixel_buffer.h"

#include <cstdint>

namespace qvsdk {

// Bytes from the first row's start to the end of the last row (row_bytes × height),
// computed without 32-bit overflow. Throws std::runtime_error for a buffer whose
// rows are shorter than their pixels or whose sizes are negative, and for one
// larger than `limit` bytes.
std::uint64_t pixel_buffer_size(const pixel_buffer& buffer, std::uint64_t limit);

} // namespace qvsdk
