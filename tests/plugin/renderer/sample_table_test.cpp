#include "plugin/renderer/sample_table.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(SampleTable, FirstSampleIsTheNormalAndRowsFollowTheirRoughness)
{
    const std::vector<float> table = qvsdk::prefilter_sample_table();
    ASSERT_EQ(table.size(), 512u * 24u * 4u);
    auto texel = [&](int i, int row) { return &table[(row * 512 + i) * 4]; };
    for (int row = 0; row < 6; ++row) {
        EXPECT_FLOAT_EQ(texel(0, row)[0], 0.0f);
        EXPECT_FLOAT_EQ(texel(0, row)[1], 0.0f);
        EXPECT_FLOAT_EQ(texel(0, row)[2], 1.0f);
    }
    // Row 5 has roughness 1, and sample 1 has e = 0.5: cos theta = sqrt(0.5).
    const float* t = texel(1, 5);
    const float phi = 2.0f * 3.14159265f / 512.0f;
    EXPECT_NEAR(t[2], std::sqrt(0.5f), 1e-6f);
    EXPECT_NEAR(t[0], std::cos(phi) * std::sqrt(0.5f), 1e-6f);
    EXPECT_NEAR(t[1], std::sin(phi) * std::sqrt(0.5f), 1e-6f);
    // Smoother rows lean closer to the normal.
    EXPECT_GT(texel(1, 0)[2], texel(1, 5)[2]);
    for (int i = 0; i < 512; ++i) {
        const float* s = texel(i, 3);
        EXPECT_NEAR(s[0] * s[0] + s[1] * s[1] + s[2] * s[2], 1.0f, 1e-5f);
    }
}
