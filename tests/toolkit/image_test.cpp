#include "toolkit/image.h"
#include "toolkit/image_ptr.h"
#include "toolkit/theme_store.h"

#include <gtest/gtest.h>

using namespace qvsdk::ui;

namespace {

image_data picture_at_scale(const char* text_key_unused, float scale)
{
    (void)text_key_unused;
    image_data picture = theme_store().get_image("editparam_image_default_image");
    picture.scale = scale;
    return picture;
}

} // namespace

TEST(Images, SizeInUnitsIsPixelsOverScaleTruncated)
{
    image_ptr at_two, at_one_and_half;
    ASSERT_TRUE(at_two.load(picture_at_scale("", 2.0f)));
    ASSERT_TRUE(at_one_and_half.load(picture_at_scale("", 1.5f)));
    EXPECT_EQ(at_two->pixel_size(), (size{256, 256}));
    EXPECT_EQ(at_two.size(), (size{128, 128}));
    EXPECT_EQ(at_one_and_half.size(), (size{170, 170}));
}

TEST(Images, UndecodableBytesLeaveTheImageUnloaded)
{
    image picture;
    const char text[] = "not a picture at all";
    EXPECT_FALSE(picture.load(text, sizeof text, 1.0f));
    EXPECT_FALSE(picture.is_loaded());
    EXPECT_FALSE(picture.load(nullptr, 0, 1.0f));
}

TEST(Images, MultiplyScalesPremultipliedBytesInsideTheArea)
{
    image_ptr box;
    ASSERT_TRUE(box.load(theme_store().get_image("checkbox_image")));
    box.multiply(color(1, 1, 1, 0.5f), rect());
    pixel_access p = box->lock_pixels();
    ASSERT_EQ(p.pixels, (size{14, 28}));
    // An opaque picture: alpha halves, colour bytes stay (B, G, R of the background).
    EXPECT_EQ(p.data[3], 127);
    EXPECT_EQ(p.data[0], 42);
    EXPECT_EQ(p.data[2], 37);
    const std::uint8_t* last = p.data + 27 * p.stride + 13 * 4;
    EXPECT_EQ(last[3], 127);
    box->unlock_pixels(p);

    // The area is {x, y, width, height} in units: pixels [2, 4) x [3, 5) at scale 1.
    box.multiply(color(0, 0, 0, 0), rect(2, 3, 2, 2));
    p = box->lock_pixels();
    auto alpha = [&](int x, int y) { return p.data[y * p.stride + x * 4 + 3]; };
    EXPECT_EQ(alpha(2, 3), 0);
    EXPECT_EQ(alpha(3, 4), 0);
    EXPECT_EQ(alpha(4, 3), 127);
    EXPECT_EQ(alpha(2, 5), 127);
    EXPECT_EQ(alpha(1, 3), 127);
    EXPECT_EQ(alpha(2, 2), 127);
    box->unlock_pixels(p);
}

TEST(Images, ScaledAreaRoundsEachFieldAndKeepsTheWholeImageMarker)
{
    EXPECT_EQ(scaled_area(rect(), 4.0f), rect());
    EXPECT_EQ(scaled_area(rect(1, 2, 3, 4), 1.5f), rect(2, 3, 5, 6));
}
