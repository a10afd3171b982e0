#include "plugin/renderer/model_uniforms.h"

#include <algorithm>
#include <cmath>

namespace qvsdk {

float shadow_light_contrast(float contrast)
{
    return std::exp2(1.5f * std::max(contrast - 1.0f, 0.0f)) * std::min(contrast, 1.0f);
}

float uv_feathering_exponent(float feathering)
{
    const float hardness = 1.0f - feathering;
    return 1.0f + 64.0f * hardness * hardness;
}

mat4 transposed(const mat4& m)
{
    mat4 result{};
    for (int column = 0; column < 4; ++column)
        for (int row = 0; row < 4; ++row)
            result[4 * row + column] = m[4 * column + row];
    return result;
}

mat4 normal_matrix(const mat4& model)
{
    mat4 linear = model;
    linear[12] = linear[13] = linear[14] = 0.0f;
    mat4 inverse{};
    mat4::inverse(inverse, linear);
    return transposed(inverse);
}

mat4 environment_rotation_matrix(const float quaternion[4])
{
    return transposed(
        mat4::from_quaternion(quaternion[0], quaternion[1], quaternion[2], quaternion[3]));
}

} // namespace qvsdk
