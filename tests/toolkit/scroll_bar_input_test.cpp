#include "toolkit/scroll_bar.h"

#include "toolkit/mouse_capture.h"
#include "widget_host.h"
#include "widget_input.h"

#include <gtest/gtest.h>

using namespace qvsdk::ui;

namespace {

// A 200 x 200 view on a 200 x 1000 content, a 16-wide bar with arrow
// buttons beside it; step 10.
struct scroll_input : ::testing::Test {
    widget_host host{1100, 40, 216, 200};
    generic_panel view, content, marker;
    scroll_bar bar;

    void SetUp() override
    {
        content.theme().set_value("default_back_color", color(0, 0, 0.5f, 1));
        marker.theme().set_value("default_back_color", color(1, 1, 0, 1));
        host.add(view, rect(0, 0, 200, 200));
        host.add(content, rect(0, 0, 200, 1000), &view);
        host.add(marker, rect(0, 300, 200, 20), &content);
        bar.set_arrow_buttons(true);
        host.add(bar, rect(200, 0, 16, 200));
        bar.set_target(&content);
        widget_input::focus(host.handle());
    }
    POINT at(int x, int y) const { return host.screen_point(x, y); }
    // Wheel turns go to the window with the keyboard focus, which other
    // tests' windows may have taken meanwhile.
    void turn_wheel(POINT p, int notches)
    {
        widget_input::focus(host.handle());
        widget_input::wheel(p.x, p.y, notches);
    }
    int scrolled() const { return -content.bounds().y; }
};

} // namespace

TEST_F(scroll_input, WheelOverTheContentScrollsIt)
{
    const POINT p = at(100, 100);
    turn_wheel(p, -2);
    EXPECT_EQ(scrolled(), 120);
    turn_wheel(p, 1);
    EXPECT_EQ(scrolled(), 60);
}

TEST_F(scroll_input, DraggingTheThumbMovesTheContentInSteps)
{
    const rect thumb = bar.thumb();
    const POINT grip = at(208, thumb.y + thumb.height / 2);
    widget_input::press(grip.x, grip.y);
    EXPECT_TRUE(bar.is_dragging());
    const POINT lower = at(208, thumb.y + thumb.height / 2 + 40);
    widget_input::move_to(lower.x, lower.y);
    widget_input::release(lower.x, lower.y);
    EXPECT_FALSE(bar.is_dragging());
    EXPECT_EQ(captured_widget(), nullptr);
    // 40 units of thumb travel, at (200 - 32 - thumb) / 800 units each, snapped to 10.
    const float k = float(200 - 32 - thumb.height) / 800.0f;
    const int expected = int(40 / k) - int(40 / k) % 10;
    EXPECT_EQ(scrolled(), expected);
    // The yellow marker at 300 in the content shows at 300 - scrolled in the view, the content above it.
    const int marker_y = 300 - expected + 10;
    ASSERT_GT(marker_y, 20);
    ASSERT_LT(marker_y, 200);
    host.grab("scroll_bar_dragged", "the marker moved up into the view", [&](auto& c) {
        return shows_colours(c, {{100, marker_y, 255, 255, 0}, {100, marker_y - 20, 0, 0, 128}}, 0);
    });
}

TEST_F(scroll_input, ArrowButtonsScrollOneStepWithoutMovingTheThumbToThePointer)
{
    bar.scroll_to(300, true);
    const POINT second = at(208, 192);
    widget_input::click(second.x, second.y);
    EXPECT_EQ(scrolled(), 310);
    for (int y : {2, 8, 15}) {
        const int before = scrolled();
        const POINT first = at(208, y);
        widget_input::click(first.x, first.y);
        EXPECT_EQ(scrolled(), before - 10) << "press at " << y;
    }
}

TEST_F(scroll_input, ThumbFillingTheTrackIgnoresDragsAndStillSteps)
{
    bar.theme().set_value("scroll_min_size", 1000);
    bar.update();
    EXPECT_EQ(bar.thumb().height, 200 - 32);
    const POINT grip = at(208, 100);
    widget_input::press(grip.x, grip.y);
    const POINT lower = at(208, 160);
    widget_input::move_to(lower.x, lower.y);
    widget_input::release(lower.x, lower.y);
    EXPECT_EQ(scrolled(), 0);
    const POINT second = at(208, 192);
    widget_input::click(second.x, second.y);
    EXPECT_EQ(scrolled(), 10);
}

namespace {

// Starts a drag on the thumb and moves it 20 units down.
void start_drag(scroll_input& t)
{
    const rect thumb = t.bar.thumb();
    const POINT grip = t.at(208, thumb.y + thumb.height / 2);
    widget_input::press(grip.x, grip.y);
    ASSERT_TRUE(t.bar.is_dragging());
    const POINT lower = t.at(208, thumb.y + thumb.height / 2 + 20);
    widget_input::move_to(lower.x, lower.y);
}

// Lets the button go outside the window, where the bar cannot see it, then
// moves over the bar's track with no button held: nothing may scroll.
void release_outside_and_pass_over_the_bar(scroll_input& t)
{
    const POINT outside = t.at(400, 100);
    widget_input::release(outside.x, outside.y);
    const int before = t.scrolled();
    for (int y : {30, 120, 180}) {
        const POINT over = t.at(208, y);
        widget_input::move_to(over.x, over.y);
        EXPECT_EQ(t.scrolled(), before) << "moved to " << y;
    }
    EXPECT_FALSE(t.bar.is_dragging());
}

} // namespace

TEST_F(scroll_input, LosingTheCaptureEndsTheDrag)
{
    start_drag(*this);
    ReleaseCapture();
    EXPECT_TRUE(pump_until([] { return captured_widget() == nullptr; })) << "the captured widget cleared";
    release_outside_and_pass_over_the_bar(*this);
}

TEST_F(scroll_input, HidingItselfMidDragEndsTheDrag)
{
    start_drag(*this);
    content.set_rect(rect(0, 0, 200, 150), true); // fits: the bar hides
    EXPECT_FALSE(bar.is_visible(false));
    EXPECT_FALSE(bar.is_dragging());
    const POINT outside = at(400, 100);
    widget_input::release(outside.x, outside.y);
    content.set_rect(rect(0, 0, 200, 1000), true);
    ASSERT_TRUE(bar.is_visible(false));
    release_outside_and_pass_over_the_bar(*this);
}

TEST_F(scroll_input, DisablingItMidDragEndsTheDrag)
{
    start_drag(*this);
    bar.set_enabled(false);
    bar.set_enabled(true);
    release_outside_and_pass_over_the_bar(*this);
}
