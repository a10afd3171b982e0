#include "toolkit/button_look.h"

#include <gtest/gtest.h>

using namespace qvsdk::ui;

namespace {

button_state state(bool pressed, bool hovered, bool toggled, bool usable)
{
    return {pressed, hovered, toggled, usable};
}

} // namespace

TEST(ButtonLook, FillFollowsPressedThenHoverThenToggle)
{
    EXPECT_EQ(button_fill_of(state(false, false, false, true)), button_fill::normal);
    EXPECT_EQ(button_fill_of(state(false, false, true, true)), button_fill::toggle);
    EXPECT_EQ(button_fill_of(state(false, true, true, true)), button_fill::hover);
    EXPECT_EQ(button_fill_of(state(true, true, true, true)), button_fill::pressed);
}

TEST(ButtonLook, SpriteFramesOfAnUntoggledButton)
{
    EXPECT_EQ(button_frame(4, state(false, false, false, true)), 0);
    EXPECT_EQ(button_frame(4, state(false, true, false, true)), 1);
    EXPECT_EQ(button_frame(4, state(false, true, false, false)), 2);
    EXPECT_EQ(button_frame(4, state(true, true, false, true)), 3);
    // Frames the picture does not have are not asked for.
    EXPECT_EQ(button_frame(1, state(true, true, false, false)), 0);
    EXPECT_EQ(button_frame(3, state(true, true, false, true)), 1);
}

TEST(ButtonLook, SpriteFramesOfAToggledButton)
{
    EXPECT_EQ(button_frame(4, state(false, false, true, true)), 0);
    EXPECT_EQ(button_frame(4, state(false, true, true, true)), 1);
    EXPECT_EQ(button_frame(4, state(false, false, true, false)), 2);
    EXPECT_EQ(button_frame(4, state(true, false, true, true)), 3);
    EXPECT_EQ(button_frame(8, state(false, false, true, true)), 4);
    EXPECT_EQ(button_frame(8, state(false, true, true, true)), 5);
    EXPECT_EQ(button_frame(8, state(false, true, true, false)), 6);
    EXPECT_EQ(button_frame(8, state(true, true, true, true)), 7);
    EXPECT_EQ(button_frame(5, state(false, true, true, true)), 1);
    EXPECT_EQ(button_frame(5, state(false, false, true, true)), 4);
}

TEST(ButtonLook, AutoWidthKeepsWithinItsBounds)
{
    EXPECT_EQ(button_auto_width({80, 0}, 10, 40), 80);
    EXPECT_EQ(button_auto_width({80, 0}, 10, 200), 230);
    EXPECT_EQ(button_auto_width({80, 120}, 10, 200), 120);
    EXPECT_EQ(button_auto_width({0, 0}, 60, 10), 120); // never narrower than both margins
}

TEST(ButtonLook, ClippedTextBoxesByAlignment)
{
    const auto leading = button_clipped_text_box(0, 100, 30, {4, 2});
    EXPECT_EQ(leading.layout, rect(4, 2, 1100, 26));
    EXPECT_EQ(leading.clip, rect(4, 2, 92, 26));
    EXPECT_EQ(button_clipped_text_box(1, 100, 30, {4, 2}).layout, rect(-500, 2, 1092, 26));
    EXPECT_EQ(button_clipped_text_box(2, 100, 30, {4, 2}).layout, rect(-1000, 2, 1092, 26));
}
