#include "toolkit/render_context.h"

#include <gtest/gtest.h>

using namespace qvsdk::ui;

TEST(DrawingGeometry, FillsGrowByOneWhereTheScaledSizeRoundsUp)
{
    EXPECT_EQ(grown_extent(10, 1.25f), 11);
    EXPECT_EQ(grown_extent(10, 1.0f), 10);
    EXPECT_EQ(grown_extent(10, 1.2f), 10);
}

TEST(DrawingGeometry, OutlinesAreInsetByHalfTheLineWidth)
{
    const D2D1_RECT_F r = outline_rect(rect(0, 0, 10, 10), 1.0f);
    EXPECT_FLOAT_EQ(r.left, 0.5f);
    EXPECT_FLOAT_EQ(r.top, 0.5f);
    EXPECT_FLOAT_EQ(r.right, 9.5f);
    EXPECT_FLOAT_EQ(r.bottom, 9.5f);
}

TEST(DrawingGeometry, ChildTransformScalesThenMovesThenAppliesTheParent)
{
    const D2D1_MATRIX_3X2_F parent = child_transform(D2D1::Matrix3x2F::Identity(), 2.0f, 10, 20);
    const D2D1_MATRIX_3X2_F child = child_transform(parent, 1.0f, 3, 4);
    // The child's origin lands at parent origin + 2 * (3, 4).
    EXPECT_FLOAT_EQ(child._31, 16.0f);
    EXPECT_FLOAT_EQ(child._32, 28.0f);
    EXPECT_FLOAT_EQ(child._11, 2.0f);
    EXPECT_FLOAT_EQ(child._22, 2.0f);
    EXPECT_FLOAT_EQ(child._12, 0.0f);
}

TEST(DrawingGeometry, WeightKindsMapToDirectWriteWeights)
{
    EXPECT_EQ(font_weight_of(0), DWRITE_FONT_WEIGHT_NORMAL);
    EXPECT_EQ(font_weight_of(1), DWRITE_FONT_WEIGHT_LIGHT);
    EXPECT_EQ(font_weight_of(2), DWRITE_FONT_WEIGHT_BOLD);
    EXPECT_EQ(font_weight_of(7), DWRITE_FONT_WEIGHT_NORMAL);
}
