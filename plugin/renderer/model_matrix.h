#pragma once

#include "plugin/renderer/mat4.h"

namespace qvsdk {

// T · R · S: scaled by the radius, rotated by the quaternion (not normalised),
// then moved to the translation (its fourth component is not used).
mat4 model_matrix(const float translation[4], const float rotation[4], float scale);

} // namespace qvsdk
