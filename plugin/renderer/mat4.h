#pragma once

namespace qvsdk {

// 4x4 single-precision matrix laid out as an OpenGL mat4 (column-major:
// element 4c + r is row r of column c), so it uploads without conversion.
struct alignas(16) mat4 {
    float m[16];

    static mat4 identity();
    // Rotation of a unit quaternion (x, y, z, w); the quaternion is not normalised.
    static mat4 from_quaternion(float x, float y, float z, float w);
    // result = input^-1 by cofactors. A singular input leaves its adjugate,
    // unscaled, in result. result and input must be distinct.
    static void inverse(mat4& result, const mat4& input);

    float& operator[](int i) { return m[i]; }
    float operator[](int i) const { return m[i]; }
};

// Column-major product: (a * b) applied to a column vector applies b first.
mat4 operator*(const mat4& a, const mat4& b);

static_assert(sizeof(mat4) == 64, "mat4 must match a GLSL mat4");

} // namespace qvsdk
