#pragma once

#include <cstdint>

namespace qvsdk {

// Which build of the conversion kernels serves a host channel size: the 32-bit
// build first, then 16-bit, then 8-bit.
inline int conversion_build(std::uint8_t bytes_per_channel)
{
    return bytes_per_channel == 4 ? 0 : bytes_per_channel == 2 ? 1 : 2;
}

} // namespace qvsdk
