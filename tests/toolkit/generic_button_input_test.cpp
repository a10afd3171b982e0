#include "toolkit/generic_button.h"

#include "toolkit/event_manager.h"
#include "toolkit/mouse_capture.h"
#include "widget_host.h"
#include "widget_input.h"

#include <gtest/gtest.h>

using namespace qvsdk::ui;

namespace {

// One button with a distinct fill per look, in a window of its own.
struct button_input : ::testing::Test {
    widget_host host{1100, 200, 200, 60};
    generic_button button;
    int clicked = 0;

    void SetUp() override
    {
        button.theme().set_value("button_color_normal", color(1, 0, 0, 1));
        button.theme().set_value("button_color_hover", color(0, 1, 0, 1));
        button.theme().set_value("button_color_pressed", color(0, 0, 1, 1));
        button.set_text("Press");
        host.add(button, rect(20, 10, 100, 40));
        event_manager::instance().subscribe(&button, &button, 50, [this](const event_info&) { ++clicked; });
        widget_input::focus(host.handle());
        leave();
    }
    void leave()
    {
        const POINT away = host.screen_point(180, 30);
        widget_input::move_to(away.x, away.y);
    }
    POINT centre() const { return host.screen_point(70, 30); }
    // Waits for the look's fill; a failure names it.
    void shows_fill(const char* name, const char* what, std::uint32_t fill)
    {
        host.grab(name, what, [fill](auto& c) { return c.at(25, 15) == fill; });
    }
    // A press whose look is seen, so that the look after the next step is judged on a later frame.
    void press_seen(const char* name)
    {
        widget_input::press(centre().x, centre().y);
        shows_fill(name, "the blue pressed fill", 0x0000ffu);
    }
    void click_seen_pressed(const char* name)
    {
        press_seen(name);
        widget_input::release(centre().x, centre().y);
    }
};

} // namespace

TEST_F(button_input, LooksNormalThenHoveredThenPressed)
{
    shows_fill("button_normal", "the red normal fill", 0xff0000u);
    widget_input::move_to(centre().x, centre().y);
    EXPECT_TRUE(button.is_hovered());
    shows_fill("button_hovered", "the green hover fill", 0x00ff00u);
    widget_input::press(centre().x, centre().y);
    EXPECT_TRUE(button.is_pressed());
    shows_fill("button_pressed", "the blue pressed fill", 0x0000ffu);
    widget_input::release(centre().x, centre().y);
    EXPECT_EQ(clicked, 1);
    EXPECT_EQ(captured_widget(), nullptr);
    shows_fill("button_released", "the green hover fill after the release", 0x00ff00u);
}

TEST_F(button_input, PressInsideReleaseOutsideIsNoClick)
{
    press_seen("button_pressed_inside");
    const POINT out = host.screen_point(170, 30);
    widget_input::move_to(out.x, out.y);
    // Still captured, so still hovered (moves go to it alone), but the pointer is away: not drawn pressed.
    EXPECT_EQ(captured_widget(), &button);
    EXPECT_FALSE(button.is_pressed());
    shows_fill("button_pressed_away", "the green hover fill", 0x00ff00u);
    widget_input::release(out.x, out.y);
    EXPECT_EQ(clicked, 0);
    EXPECT_EQ(captured_widget(), nullptr);
}

TEST_F(button_input, ToggleButtonFlipsOnEachClickAndEnter)
{
    button.set_toggle_mode(true);
    std::vector<std::intptr_t> states;
    event_manager::instance().subscribe(&button, &button, 50, [&](const event_info& e) {
        states.push_back(reinterpret_cast<std::intptr_t>(e.data));
    });
    widget_input::click(centre().x, centre().y);
    widget_input::click(centre().x, centre().y);
    widget_input::focus(host.handle());
    widget_input::key(VK_RETURN); // the button has the toolkit's focus from the clicks
    EXPECT_TRUE(pump_until([&] { return states.size() == 3; })) << "the click of the Enter key";
    EXPECT_EQ(states, (std::vector<std::intptr_t>{1, 0, 1}));
    EXPECT_TRUE(button.is_toggled());
}

TEST_F(button_input, ResetHoverDropsTheHoverLookOnAClick)
{
    button.theme().set_value("button_reset_hover", true);
    widget_input::move_to(centre().x, centre().y);
    ASSERT_TRUE(button.is_hovered());
    click_seen_pressed("button_reset_hover_pressed");
    EXPECT_EQ(clicked, 1);
    EXPECT_FALSE(button.is_hovered());
    shows_fill("button_reset_hover", "the red normal fill", 0xff0000u);
    // Without it, the button stays hovered under the cursor.
    button.theme().set_value("button_reset_hover", false);
    leave();
    widget_input::move_to(centre().x, centre().y);
    click_seen_pressed("button_kept_hover_pressed");
    EXPECT_EQ(clicked, 2);
    EXPECT_TRUE(button.is_hovered());
    shows_fill("button_kept_hover", "the green hover fill", 0x00ff00u);
}
