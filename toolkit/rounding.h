#pragma once

#include <cmath>
#include <cstdint>

namespace qvsdk {

// 96-dpi geometry to pixels: nearest integer, halves away from zero.
inline std::int32_t round_to_int(float value)
{
    return static_cast<std::int32_t>(std::round(value));
}

} // namespace qvsdk
