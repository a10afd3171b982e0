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
    // An opaque picture (B 42, R 37 in the corner): alpha halves, and the
    // premultiplied colour bytes with it, so colour never exceeds alpha.
    EXPECT_EQ(p.data[3], 127);
    EXPECT_EQ(p.data[0], 21);
    EXPECT_EQ(p.data[2], 18);
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

TEST(Images, MultiplyScalesEachColourByItsChannelAndByAlpha)
{
    image_ptr original, changed;
    ASSERT_TRUE(original.load(theme_store().get_image("checkbox_image")));
    ASSERT_TRUE(changed.load(theme_store().get_image("checkbox_image")));
    const color factor(0.5f, 1.0f, 0.25f, 0.5f);
    changed.multiply(factor, rect());
    pixel_access before = original->lock_pixels();
    pixel_access after = changed->lock_pixels();
    ASSERT_EQ(before.pixels, after.pixels);
    // Premultiplied B, G, R, A: straight colour times its factor, alpha times
    // its own, so each colour byte takes both factors.
    const double factors[4] = {0.25 * 0.5, 1.0 * 0.5, 0.5 * 0.5, 0.5};
    int above_alpha = 0;
    for (int y = 0; y < before.pixels.height; ++y)
        for (int x = 0; x < before.pixels.width; ++x) {
            const std::uint8_t* b = before.data + y * before.stride + x * 4;
            const std::uint8_t* a = after.data + y * after.stride + x * 4;
            for (int k = 0; k < 4; ++k)
                ASSERT_EQ(a[k], int(b[k] * factors[k])) << "pixel " << x << "," << y << " byte " << k;
            for (int k = 0; k < 3; ++k)
                above_alpha += a[k] > a[3];
        }
    EXPECT_EQ(above_alpha, 0);
    changed->unlock_pixels(after);
    original->unlock_pixels(before);
}

TEST(Images, APictureCutShortIsADecodeFailureNotAnException)
{
    const image_data whole = theme_store().get_image("checkbox_image");
    const auto* bytes = static_cast<const std::uint8_t*>(whole.data);
    const std::size_t size = static_cast<std::size_t>(whole.size);
    ASSERT_GT(size, 60u);
    image picture;
    ASSERT_TRUE(picture.load(bytes, size, 1.0f));
    const qvsdk::ui::size kept = picture.pixel_size();
    // Without its 12-byte end chunk, half of it, just the header chunk.
    for (std::size_t cut : {size - 12, size - 20, size / 2, std::size_t(33)}) {
        bool loaded = true;
        EXPECT_NO_THROW(loaded = picture.load(bytes, cut, 2.0f)) << cut << " of " << size << " bytes";
        EXPECT_FALSE(loaded) << cut << " of " << size << " bytes";
        // The earlier picture stays.
        EXPECT_TRUE(picture.is_loaded());
        EXPECT_EQ(picture.pixel_size(), kept);
        EXPECT_EQ(picture.scale(), 1.0f);
    }
}
