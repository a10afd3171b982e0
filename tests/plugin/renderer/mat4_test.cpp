#include "plugin/renderer/mat4.h"

#include <gtest/gtest.h>

#include <cmath>

using qvsdk::mat4;

namespace {

void expect_near(const mat4& actual, const mat4& expected, float tolerance = 1e-5f)
{
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(actual[i], expected[i], tolerance) << "element " << i;
}

mat4 translation(float x, float y, float z)
{
    mat4 t = mat4::identity();
    t[12] = x;
    t[13] = y;
    t[14] = z;
    return t;
}

// (x, y, z, w) applied as a column vector.
void transform(const mat4& m, const float in[4], float out[4])
{
    for (int r = 0; r < 4; ++r)
        out[r] = m[r] * in[0] + m[4 + r] * in[1] + m[8 + r] * in[2] + m[12 + r] * in[3];
}

} // namespace

TEST(Mat4, ProductAppliesTheRightFactorFirst)
{
    // Scale x by 2, then move by (1, 0, 0): (1, 0, 0) goes to (3, 0, 0).
    mat4 scale = mat4::identity();
    scale[0] = 2;
    const mat4 tr = translation(1, 0, 0) * scale;
    const float p[4] = {1, 0, 0, 1};
    float q[4];
    transform(tr, p, q);
    EXPECT_FLOAT_EQ(q[0], 3);
    EXPECT_FLOAT_EQ(q[3], 1);
    // The other order moves first: (1 + 1) * 2 = 4.
    transform(scale * translation(1, 0, 0), p, q);
    EXPECT_FLOAT_EQ(q[0], 4);
}

TEST(Mat4, ProductMatchesHandComputedValues)
{
    mat4 a{}, b{};
    for (int i = 0; i < 16; ++i) {
        a[i] = static_cast<float>(i + 1);
        b[i] = static_cast<float>(16 - i);
    }
    const mat4 p = a * b;
    // Row 0 of a is (1, 5, 9, 13); column 0 of b is (16, 15, 14, 13).
    EXPECT_FLOAT_EQ(p[0], 1 * 16 + 5 * 15 + 9 * 14 + 13 * 13);
    // Row 3 of a is (4, 8, 12, 16); column 3 of b is (4, 3, 2, 1).
    EXPECT_FLOAT_EQ(p[15], 4 * 4 + 8 * 3 + 12 * 2 + 16 * 1);
    // Row 1 of a is (2, 6, 10, 14); column 2 of b is (8, 7, 6, 5).
    EXPECT_FLOAT_EQ(p[9], 2 * 8 + 6 * 7 + 10 * 6 + 14 * 5);
}

TEST(Mat4, QuaternionRotationsMatchHandValues)
{
    expect_near(mat4::from_quaternion(0, 0, 0, 1), mat4::identity(), 0);
    // 90 degrees about z: x goes to y.
    const float h = std::sqrt(0.5f);
    const mat4 rz = mat4::from_quaternion(0, 0, h, h);
    const float x_axis[4] = {1, 0, 0, 0};
    float out[4];
    transform(rz, x_axis, out);
    EXPECT_NEAR(out[0], 0, 1e-6f);
    EXPECT_NEAR(out[1], 1, 1e-6f);
    EXPECT_NEAR(out[2], 0, 1e-6f);

    // 180 degrees about x: y goes to -y, z to -z.
    const mat4 rx = mat4::from_quaternion(1, 0, 0, 0);
    mat4 expected = mat4::identity();
    expected[5] = -1;
    expected[10] = -1;
    expect_near(rx, expected, 0);

    // 120 degrees about (1, 1, 1)/sqrt(3) cycles the axes: x -> y -> z -> x.
    const mat4 cycle = mat4::from_quaternion(0.5f, 0.5f, 0.5f, 0.5f);
    mat4 permutation{};
    permutation[1] = 1;   // column 0 (x) becomes y
    permutation[6] = 1;   // column 1 (y) becomes z
    permutation[8] = 1;   // column 2 (z) becomes x
    permutation[15] = 1;
    expect_near(cycle, permutation);
}

TEST(Mat4, InverseOfRigidTransformUndoesIt)
{
    const float s = std::sin(0.7f), c = std::cos(0.7f);
    const float n = std::sqrt(1.0f / 3.0f);
    const mat4 rigid =
        translation(3, -2, 5) * mat4::from_quaternion(n * s, n * s, n * s, c);
    mat4 inv;
    mat4::inverse(inv, rigid);
    expect_near(inv * rigid, mat4::identity());
    expect_near(rigid * inv, mat4::identity());
}

TEST(Mat4, InverseOfScaleAndTranslationByHand)
{
    mat4 m = translation(4, 0, -2);
    m[0] = 2;
    m[5] = 4;
    m[10] = 0.5f;
    mat4 inv;
    mat4::inverse(inv, m);
    mat4 expected = mat4::identity();
    expected[0] = 0.5f;
    expected[5] = 0.25f;
    expected[10] = 2;
    expected[12] = -2;
    expected[14] = 4;
    expect_near(inv, expected);
}

TEST(Mat4, SingularInputLeavesTheUnscaledAdjugate)
{
    // diag(2, 3, 0, 1): determinant 0; its adjugate is diag(0, 0, 6, 0).
    mat4 m{};
    m[0] = 2;
    m[5] = 3;
    m[15] = 1;
    mat4 out;
    mat4::inverse(out, m);
    mat4 adjugate{};
    adjugate[10] = 6;
    expect_near(out, adjugate, 0);

    // A NaN determinant is treated the same way.
    mat4 nan_matrix = mat4::identity();
    nan_matrix[0] = std::nanf("");
    mat4::inverse(out, nan_matrix);
    // Element 0's cofactor does not involve the NaN, and it is not scaled by 1 / NaN.
    EXPECT_FLOAT_EQ(out[0], 1);
    EXPECT_TRUE(std::isnan(out[5]));
}

TEST(Mat4, InverseOfAGeneralProjectiveMatrix)
{
    // No zero element and a bottom row other than (0, 0, 0, 1): every cofactor counts.
    mat4 m{};
    const float values[16] = {2, 1, 0.5f, 0.25f, -1, 3, 1, 0.5f,
                              0.5f, -2, 4, 1,    1,  0.5f, -1, 2};
    for (int i = 0; i < 16; ++i)
        m[i] = values[i];
    mat4 inv;
    mat4::inverse(inv, m);
    // inv · m = I, worked out in double precision.
    for (int c = 0; c < 4; ++c) {
        for (int r = 0; r < 4; ++r) {
            double sum = 0;
            for (int k = 0; k < 4; ++k)
                sum += double(inv[4 * k + r]) * m[4 * c + k];
            EXPECT_NEAR(sum, r == c ? 1.0 : 0.0, 1e-5) << "row " << r << " column " << c;
        }
    }
    // Element 0 of the inverse is the cofactor of m's element 0 over the determinant,
    // expanded along the first column of m: det = sum of m[r] * cofactor(r, 0).
    auto minor3 = [&](int skip_row, int skip_column) {
        double a[9];
        int n = 0;
        for (int c = 0; c < 4; ++c)
            for (int r = 0; r < 4; ++r)
                if (r != skip_row && c != skip_column)
                    a[n++] = m[4 * c + r];
        return a[0] * (a[4] * a[8] - a[7] * a[5]) - a[3] * (a[1] * a[8] - a[7] * a[2]) +
               a[6] * (a[1] * a[5] - a[4] * a[2]);
    };
    double determinant = 0;
    for (int r = 0; r < 4; ++r)
        determinant += (r % 2 ? -1 : 1) * m[r] * minor3(r, 0);
    EXPECT_NEAR(inv[0], minor3(0, 0) / determinant, 1e-5);
    EXPECT_NEAR(inv[1], -minor3(0, 1) / determinant, 1e-5);
}
