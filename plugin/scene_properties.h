#pragma once

#include "plugin/light_properties.h"
#include "plugin/material_properties.h"

#include <vector>

namespace qvsdk {

// One motion-blur sample's scene: the sphere's transform, material and lights.
struct scene_properties {
    float translation[4] = {};  // sphere centre, composition pixels at the current downsampling
    float rotation[4] = {};     // unit quaternion x, y, z, w
    float scale = 0;            // radius
    float inverse_gamma = 0;    // 1 / output gamma
    material_properties material;
    std::vector<light_properties> lights; // may be empty
};

} // namespace qvsdk
