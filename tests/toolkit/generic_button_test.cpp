#include "toolkit/generic_button.h"

#include "toolkit/event_manager.h"
#include "toolkit/render_context.h"
#include "widget_host.h"

#include <gtest/gtest.h>

#include <vector>

using namespace qvsdk::ui;

namespace {

struct clicks {
    std::vector<std::intptr_t> seen;
    explicit clicks(generic_button& b)
    {
        event_manager::instance().subscribe(&b, &b, 50, [this](const event_info& e) {
            seen.push_back(reinterpret_cast<std::intptr_t>(e.data));
        });
    }
};

void press_key(generic_button& b, std::intptr_t vk)
{
    event_manager::instance().dispatch(&b, 8, 2, 1, reinterpret_cast<void*>(vk));
}

} // namespace

TEST(generic_button_keys, EnterClicksAndTogglesSpaceDoesNothing)
{
    widget parent;
    parent.attach(nullptr, nullptr, rect(0, 0, 100, 100));
    generic_button button;
    button.attach(nullptr, &parent, rect(0, 0, 80, 30));
    EXPECT_TRUE(button.is_focusable());
    clicks log(button);
    press_key(button, VK_SPACE);
    EXPECT_TRUE(log.seen.empty());
    press_key(button, VK_RETURN);
    EXPECT_EQ(log.seen, (std::vector<std::intptr_t>{0}));
    button.set_toggle_mode(true);
    press_key(button, VK_RETURN);
    press_key(button, VK_RETURN);
    EXPECT_EQ(log.seen, (std::vector<std::intptr_t>{0, 1, 0}));
}

TEST(generic_button_paint, NormalToggledAndDisabledFills)
{
    widget_host host(1100, 660, 300, 40);
    generic_button normal, toggled, disabled;
    for (generic_button* b : {&normal, &toggled, &disabled}) {
        b->theme().set_value("button_color_normal", color(1, 0, 0, 1));
        b->theme().set_value("button_color_toggle", color(0, 0, 1, 1));
        b->set_text("OK");
    }
    toggled.set_toggle_mode(true);
    toggled.set_toggled(true);
    host.add(normal, rect(0, 5, 90, 30));
    host.add(toggled, rect(100, 5, 90, 30));
    host.add(disabled, rect(200, 5, 90, 30));
    disabled.set_enabled(false);
    const test_window::capture c = host.grab();
    c.save("button_normal_toggled_disabled");
    EXPECT_EQ(c.at(5, 10), 0xff0000u);
    EXPECT_EQ(c.at(105, 10), 0x0000ffu);
    // Half alpha over the dark grey content.
    const std::uint32_t faded = c.at(205, 10);
    EXPECT_NEAR(red_of(faded), (255 + 26) / 2, 3);
    EXPECT_NEAR(green_of(faded), 13, 3);
    // The text is drawn, in white, somewhere in the middle of the normal button.
    int white = 0;
    for (int y = 5; y < 35; ++y)
        for (int x = 0; x < 90; ++x)
            white += green_of(c.at(x, y)) > 200;
    EXPECT_GT(white, 10);
}

TEST(generic_button_paint, ZeroRadiusRoundsWithHalfTheHeight)
{
    widget_host host(1100, 720, 100, 40);
    generic_button button;
    button.theme().set_value("button_color_normal", color(0, 1, 0, 1));
    button.theme().set_value("button_round_edges", true);
    host.add(button, rect(0, 0, 100, 30));
    const test_window::capture c = host.grab();
    EXPECT_EQ(c.at(50, 15), 0x00ff00u);
    EXPECT_EQ(c.at(1, 15), 0x00ff00u);
    EXPECT_EQ(c.at(3, 3), 0x1a1a1au); // outside a 15-unit corner
}

TEST(generic_button_paint, AutoSizeFollowsTheTextAndItsFont)
{
    widget_host host(1100, 780, 300, 40);
    generic_button button;
    button.theme().set_value("button_auto_size", true);
    button.theme().set_value("button_auto_size_min_max", int_pair{80, 0});
    button.theme().set_value("button_text_margins", int_pair{10, 0});
    button.set_text("Go");
    host.add(button, rect(0, 0, 10, 30));
    button.auto_size();
    EXPECT_EQ(button.width(), 80);

    button.set_text("A much longer label");
    button.theme().set_value("button_font_size", 20.0f); // a sizing key: re-sizes at once
    render_context& rc = *host.window().context();
    rc.set_font("Tahoma", 20.0f, 2, 0, false);
    const int measured = rc.measure_text("A much longer label", 0, 0, {}).width;
    EXPECT_GT(measured, 100);
    EXPECT_EQ(button.width(), measured + 30);

    button.theme().set_value("button_color_hover", color(1, 1, 1, 1)); // not a sizing key
    EXPECT_EQ(button.width(), measured + 30);
    EXPECT_EQ(button.height(), 30);
}
