#include "toolkit/scroll_geometry.h"

#include <gtest/gtest.h>

using namespace qvsdk::ui;

TEST(ScrollGeometry, ArrowButtonsShortenTheTrack)
{
    // Content 1000 high in a 400-high view; 16-unit buttons at both ends.
    const thumb_geometry g = place_thumb({400, 16, 400, 1000, 0, 0});
    EXPECT_EQ(g.length, int(368 * 0.4f));
    EXPECT_EQ(g.start, 16);
}

TEST(ScrollGeometry, MinimumThumbLengthAndContentThatFits)
{
    EXPECT_EQ(place_thumb({100, 0, 100, 500, 0, 50}).length, 50); // 20 would be too small
    const thumb_geometry fits = place_thumb({100, 0, 200, 150, 0, 50});
    EXPECT_EQ(fits.range, 0);
    EXPECT_EQ(fits.length, 100);
    EXPECT_EQ(fits.pixels_per_unit, 0.0f);
    EXPECT_EQ(place_thumb({100, 0, 200, 0, 0, 0}).length, 100); // empty content counts as all visible
}

TEST(ScrollGeometry, PressOnTheTrackJumpsTheThumbNearEdgeToThePointer)
{
    track_press p{};
    p.thumb_start = 100;
    p.thumb_length = 50;
    p.pixels_per_unit = 0.5f;
    p.cursor = 40;
    EXPECT_EQ(track_press_value(p), 80);
    p.cursor = 250;
    EXPECT_EQ(track_press_value(p), 400);
    p.cursor = 120; // on the thumb
    EXPECT_EQ(track_press_value(p), std::nullopt);
}

TEST(ScrollGeometry, PressOnAnArrowButtonLeavesTheThumbAlone)
{
    // Buttons 16 long at both ends of a 300-long bar.
    track_press p{};
    p.buttons = true;
    p.first_button_end = 16;
    p.second_button_start = 284;
    p.thumb_start = 100;
    p.thumb_length = 50;
    p.pixels_per_unit = 0.5f;
    for (int c : {0, 8, 15, 16}) {
        p.cursor = c;
        EXPECT_EQ(track_press_value(p), std::nullopt) << "first button at " << c;
    }
    for (int c : {284, 290, 299}) {
        p.cursor = c;
        EXPECT_EQ(track_press_value(p), std::nullopt) << "second button at " << c;
    }
    p.cursor = 17;
    EXPECT_EQ(track_press_value(p), 34);
    p.cursor = 283;
    EXPECT_EQ(track_press_value(p), 466);
}

TEST(ScrollGeometry, AThumbThatCannotTravelIgnoresPressesAndDrags)
{
    track_press p{};
    p.thumb_start = 0;
    p.thumb_length = 100;
    p.cursor = 150;
    p.pixels_per_unit = 0.0f;
    EXPECT_EQ(track_press_value(p), std::nullopt);
    EXPECT_EQ(drag_value(150, 10, 0.0f), std::nullopt);
    EXPECT_EQ(drag_value(150, 10, 0.5f), 280);
}
