#pragma once

#include "plugin/renderer/mat4.h"

#include <type_traits>

namespace qvsdk {

// The camera of one motion-blur sample.
struct render_properties {
    float viewSize[2] = {};     // composition pixels
    mat4 viewMatrix = {};       // world to view
    mat4 projMatrix = {};       // view to clip
    float eyePosition[4] = {};  // x, y, z, 0
};

static_assert(std::is_trivially_copyable_v<render_properties>, "copied byte for byte");

} // namespace qvsdk
