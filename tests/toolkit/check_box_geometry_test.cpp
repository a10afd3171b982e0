#include "toolkit/check_box_geometry.h"

#include <gtest/gtest.h>

#include <utility>

using namespace qvsdk::ui;

TEST(CheckBoxGeometry, ArrangementsOfImageAndText)
{
    const size box{200, 20}, frame{16, 16}, text{79, 13};
    const check_box_places none{};
    auto xs = [&](int a) {
        const auto p = check_box_layout(a, box, frame, text, 5, none);
        return std::make_pair(p.image.x, p.text.x);
    };
    EXPECT_EQ(xs(0), std::make_pair(0, 21));
    EXPECT_EQ(xs(1), std::make_pair(100, 121));
    EXPECT_EQ(xs(2), std::make_pair(50, 71));
    EXPECT_EQ(xs(3), std::make_pair(0, 121));
    EXPECT_EQ(xs(4), std::make_pair(84, 0));
    EXPECT_EQ(xs(5), std::make_pair(184, 100));
    EXPECT_EQ(xs(6), std::make_pair(134, 50));
    EXPECT_EQ(xs(7), std::make_pair(184, 0));
    const auto p = check_box_layout(0, box, frame, text, 5, none);
    EXPECT_EQ(p.image, rect(0, 2, 16, 16));
    EXPECT_EQ(p.text, rect(21, 3, 79, 13));
    // Unknown arrangements keep the earlier places.
    EXPECT_EQ(check_box_layout(9, box, frame, text, 5, p).text.x, 21);
    // Without text there is no gap.
    EXPECT_EQ(check_box_layout(1, box, frame, {0, 0}, 5, none).image.x, 184);
}

TEST(CheckBoxGeometry, FrameRowsForStates)
{
    EXPECT_EQ(check_box_frame_offset(16, 6, false, true, false), 0);
    EXPECT_EQ(check_box_frame_offset(16, 6, false, true, true), 16);
    EXPECT_EQ(check_box_frame_offset(16, 6, true, true, true), 48);
    EXPECT_EQ(check_box_frame_offset(16, 6, true, false, false), 64);
    EXPECT_EQ(check_box_frame_offset(16, 3, true, true, false), 0);  // no hover frames
    EXPECT_EQ(check_box_frame_offset(16, 4, false, false, true), 16); // no disabled frames
}
