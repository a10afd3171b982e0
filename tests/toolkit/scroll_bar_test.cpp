#include "toolkit/scroll_bar.h"

#include "toolkit/event_manager.h"
#include "widget_host.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <vector>

using namespace qvsdk::ui;

namespace {

// A 400-high view showing a 1000-high content, with a 400-high bar beside it.
struct scroll_fixture : ::testing::Test {
    widget frame, view, content;
    scroll_bar bar;
    std::vector<std::intptr_t> scrolled;

    void SetUp() override
    {
        frame.attach(nullptr, nullptr, rect(0, 0, 500, 400));
        view.attach(nullptr, &frame, rect(0, 0, 380, 400));
        content.attach(nullptr, &view, rect(0, 0, 380, 1000));
        bar.attach(nullptr, &frame, rect(380, 0, 20, 400));
        event_manager::instance().subscribe(&bar, &bar, 49, [this](const event_info& e) {
            scrolled.push_back(reinterpret_cast<std::intptr_t>(e.data));
        });
    }
    void turn_wheel_over_content(double amount)
    {
        event_manager::instance().dispatch(&content, 4, 2, 1, &amount);
    }
};

} // namespace

TEST_F(scroll_fixture, ThumbShowsTheVisiblePartAndFollowsTheContent)
{
    bar.set_target(&content);
    EXPECT_TRUE(bar.is_visible(false));
    EXPECT_EQ(bar.range(), 600);
    EXPECT_EQ(bar.thumb(), rect(0, 0, 20, 160));
    bar.scroll_to(300, true);
    EXPECT_EQ(content.bounds().y, -300);
    EXPECT_EQ(bar.position(), 300);
    EXPECT_EQ(bar.thumb(), rect(0, 120, 20, 160));
    EXPECT_EQ(scrolled, (std::vector<std::intptr_t>{300}));
}

TEST_F(scroll_fixture, ScrollingSnapsToTheStepUnlessExactAndStaysInRange)
{
    bar.set_target(&content);
    bar.scroll_to(37, false);
    EXPECT_EQ(content.bounds().y, -30);
    bar.scroll_to(37, true);
    EXPECT_EQ(content.bounds().y, -37);
    bar.scroll_to(5000, true);
    EXPECT_EQ(content.bounds().y, -600);
    bar.scroll_by(100);
    EXPECT_EQ(content.bounds().y, -500);
    bar.scroll_by(1000);
    EXPECT_EQ(content.bounds().y, 0);
    EXPECT_EQ(scrolled.back(), 0);
}

TEST_F(scroll_fixture, BarHidesWhileTheContentFitsAndShowsWhenItOverflows)
{
    content.set_rect(rect(0, 0, 380, 300), true);
    bar.set_target(&content);
    EXPECT_FALSE(bar.is_visible(false));
    EXPECT_FALSE(bar.is_scrollable());
    content.set_rect(rect(0, 0, 380, 900), true);
    EXPECT_TRUE(bar.is_visible(false));
    EXPECT_TRUE(bar.is_scrollable());
}

TEST_F(scroll_fixture, ShrinkingContentOrGrowingViewLeavesNoGapAfterTheContent)
{
    bar.set_target(&content);
    bar.scroll_to(600, true);
    content.set_rect(rect(0, -600, 380, 800), true);
    EXPECT_EQ(content.bounds().y, -400);
    view.set_rect(rect(0, 0, 380, 500), true);
    EXPECT_EQ(content.bounds().y, -300);
}

TEST_F(scroll_fixture, WheelOverTheContentScrollsOnceEvenAfterSettingTheTargetAgain)
{
    bar.set_target(&content);
    bar.set_target(&content);
    bar.scroll_to(300, true);
    turn_wheel_over_content(60.0);
    EXPECT_EQ(content.bounds().y, -240);
    turn_wheel_over_content(-120.0);
    EXPECT_EQ(content.bounds().y, -360);
}

TEST_F(scroll_fixture, AnEarlierTargetNoLongerDrivesTheBar)
{
    widget other;
    other.attach(nullptr, &view, rect(0, 0, 380, 2000));
    bar.set_target(&content);
    bar.set_target(&other);
    EXPECT_EQ(bar.range(), 1600);
    turn_wheel_over_content(60.0);
    content.set_rect(rect(0, 0, 380, 3000), true);
    EXPECT_EQ(bar.range(), 1600);
    EXPECT_TRUE(scrolled.empty());
}

TEST(scroll_bar_alone, WithoutATargetTheBarHidesAndItsThumbFillsTheTrack)
{
    widget frame;
    frame.attach(nullptr, nullptr, rect(0, 0, 200, 300));
    scroll_bar bar;
    bar.set_arrow_buttons(true);
    bar.attach(nullptr, &frame, rect(180, 0, 20, 300));
    EXPECT_FALSE(bar.is_visible(false));
    EXPECT_EQ(bar.first_button(), rect(0, 0, 20, 20));
    EXPECT_EQ(bar.second_button(), rect(0, 280, 20, 20));
    EXPECT_EQ(bar.thumb(), rect(0, 20, 20, 260));

    scroll_bar across;
    across.set_orientation(scroll_bar::horizontal);
    across.set_arrow_buttons(true);
    across.attach(nullptr, &frame, rect(0, 280, 180, 20));
    EXPECT_EQ(across.second_button(), rect(160, 0, 20, 20));
    EXPECT_EQ(across.thumb(), rect(20, 0, 140, 20));
}

TEST(scroll_bar_alone, HorizontalBarMovesTheTargetAlongX)
{
    widget view, content;
    view.attach(nullptr, nullptr, rect(0, 0, 300, 100));
    content.attach(nullptr, &view, rect(-50, 10, 900, 80));
    scroll_bar bar;
    bar.set_orientation(scroll_bar::horizontal);
    bar.attach(nullptr, &view, rect(0, 80, 300, 20));
    bar.set_target(&content);
    EXPECT_EQ(content.bounds().x, 0);
    EXPECT_EQ(content.bounds().y, 10);
    EXPECT_EQ(bar.range(), 600);
    bar.scroll_to(200, true);
    EXPECT_EQ(content.bounds().x, -200);
    EXPECT_EQ(bar.thumb().x, int(200 * (300 - 100) / 600.0f));
}

TEST_F(scroll_fixture, ATargetDestroyedBeforeTheBarIsNotReachedAgain)
{
    auto doomed = std::make_unique<widget>();
    doomed->attach(nullptr, &view, rect(0, 0, 380, 1000));
    bar.set_target(doomed.get());
    ASSERT_EQ(bar.target(), doomed.get());
    ASSERT_TRUE(bar.is_scrollable());
    doomed.reset();
    ASSERT_EQ(bar.target(), nullptr);
    // Every path that moved the target now finds none and leaves the view alone.
    bar.scroll_by(-50);
    bar.scroll_to(200, true);
    turn_wheel_over_content(-60);
    bar.set_rect(rect(380, 0, 20, 300), true);
    view.set_rect(rect(0, 0, 380, 300), true);
    EXPECT_TRUE(scrolled.empty());
    EXPECT_FALSE(bar.is_scrollable());
    EXPECT_FALSE(bar.is_visible(false));
    // A new target is taken up as usual.
    bar.set_target(&content);
    EXPECT_EQ(bar.target(), &content);
    EXPECT_EQ(bar.range(), 700);
}

namespace {

// Holds keys in the thread's keyboard state, which is what the bar asks.
void hold_keys(std::initializer_list<int> keys)
{
    BYTE state[256] = {};
    for (int vk : keys)
        state[vk] = 0x80;
    SetKeyboardState(state);
}

} // namespace

TEST_F(scroll_fixture, WheelModifiersControlAltAndShift)
{
    bar.set_target(&content);
    bar.scroll_to(300, true);
    const int multiplier = bar.theme().get_int("scroll_speed_multiplier");
    ASSERT_EQ(multiplier, 2);
    for (int control : {VK_LCONTROL, VK_RCONTROL}) {
        hold_keys({control});
        turn_wheel_over_content(-60.0);
        EXPECT_EQ(content.bounds().y, -300) << "Control alone does not scroll";
    }
    hold_keys({VK_LCONTROL, VK_RMENU});
    turn_wheel_over_content(-60.0);
    EXPECT_EQ(content.bounds().y, -360) << "Control with Right Alt scrolls";
    hold_keys({VK_LCONTROL, VK_LMENU});
    turn_wheel_over_content(-60.0);
    EXPECT_EQ(content.bounds().y, -360) << "Left Alt does not lift Control";
    for (int shift : {VK_LSHIFT, VK_RSHIFT}) {
        hold_keys({shift});
        turn_wheel_over_content(30.0);
        EXPECT_EQ(content.bounds().y, -360 + 30 * multiplier);
        turn_wheel_over_content(-30.0);
        EXPECT_EQ(content.bounds().y, -360);
    }
    bar.theme().set_value("scroll_speed_multiplier", 5);
    hold_keys({VK_RSHIFT});
    turn_wheel_over_content(-12.0);
    EXPECT_EQ(content.bounds().y, -360 - 12 * 5);
    hold_keys({});
    turn_wheel_over_content(-12.0);
    EXPECT_EQ(content.bounds().y, -360 - 12 * 5 - 12);
}

TEST(scroll_bar_paint, AutoHideLeavesOutTheThumbOfABarWithNothingToScroll)
{
    widget_host host(1450, 600, 120, 100);
    generic_panel view, content;
    scroll_bar bar;
    host.add(view, rect(0, 0, 100, 100));
    host.add(content, rect(0, 0, 100, 50), &view);
    host.add(bar, rect(100, 0, 20, 100));
    bar.theme().set_value("scroll_back_color", color(0, 0, 1, 1));
    bar.theme().set_value("scroll_bar_back_color", color(1, 0, 0, 1));
    bar.set_target(&content);
    ASSERT_FALSE(bar.is_scrollable());
    // Shown by its owner although the content fits.
    bar.set_visible(true);
    // Waits for the colour at (110, y), away from the grip lines across the thumb's middle.
    auto shows = [&](const char* name, const char* what, int y, std::uint32_t colour) {
        host.grab(name, what, [=](auto& c) { return c.at(110, y) == colour; });
    };
    shows("scroll_thumb", "the red thumb", 40, 0xff0000u);
    bar.theme().set_value("scroll_auto_hide", true);
    bar.invalidate(false);
    shows("scroll_auto_hidden", "the blue track without a thumb", 40, 0x0000ffu);
    // With something to scroll the thumb is drawn all the same.
    content.set_rect(rect(0, 0, 100, 400), true);
    ASSERT_TRUE(bar.is_scrollable());
    bar.scroll_to(150, true);
    const rect thumb = bar.thumb();
    shows("scroll_thumb_kept", "the red thumb of a bar with something to scroll", thumb.y + 2, 0xff0000u);
}
