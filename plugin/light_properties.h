#pragma once

#include <cstdint>
#include <type_traits>

namespace qvsdk {

// One light of a motion-blur sample.
struct light_properties {
    float position[4] = {};   // x, y, z, 0
    float direction[4] = {};  // parallel and spot: where the light's z axis points; else 0
    float color[4] = {};      // rgb times intensity, alpha 1
    std::uint32_t lightType = 0; // 0 parallel, 1 spot, 2 point, 3 ambient
    std::uint32_t falloffType = 0;
    float falloff = 0;
    float cone_angle = 0;     // spot: degrees
    float cone_feather = 0;   // spot: fraction
};

static_assert(std::is_trivially_copyable_v<light_properties>, "copied byte for byte");

} // namespace qvsdk
