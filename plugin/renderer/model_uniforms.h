#pragma once

#include "plugin/renderer/mat4.h"

namespace qvsdk {

// Material values as the model shaders take them.

// Contrast up to 1 as it is, above 1 growing as 2^(1.5 (c - 1)).
float shadow_light_contrast(float contrast);
// The box mapping's blend exponent: 1 at full feathering, 65 at none.
float uv_feathering_exponent(float feathering);
// Inverse transpose of the model matrix without its translation.
mat4 normal_matrix(const mat4& model);
// The environment lookup's rotation: the quaternion's matrix, transposed.
mat4 environment_rotation_matrix(const float quaternion[4]);
mat4 transposed(const mat4& m);

} // namespace qvsdk
