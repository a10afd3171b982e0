#include "toolkit/check_box.h"

#include "toolkit/event_manager.h"
#include "widget_host.h"
#include "widget_input.h"

#include <gtest/gtest.h>

using namespace qvsdk::ui;

TEST(check_box_input, ClickingTogglesAndRepaints)
{
    widget_host host(1100, 280, 220, 40);
    check_box box;
    box.set_text("Remember");
    host.add(box, rect(10, 10, 200, 20));
    box.layout(0);
    int toggled = 0;
    event_manager::instance().subscribe(&box, &box, 49, [&](const event_info&) { ++toggled; });
    widget_input::focus(host.handle());
    const rect image = box.image_rect(), t = box.text_rect();
    const POINT on_box = host.screen_point(10 + image.x + image.width / 2, 10 + image.y + image.height / 2);

    widget_input::click(on_box.x, on_box.y); // still disabled: nothing
    EXPECT_EQ(toggled, 0);
    box.set_enabled(true);
    // Enabled, its text is white.
    const rect text(10 + t.x, 10 + t.y, t.width, t.height);
    const test_window::capture before = host.grab("check_box_enabled", "white text", [&](auto& c) {
        return ink_box(c, text, [](std::uint32_t p) { return green_of(p) > 200; }).width > 0;
    });
    widget_input::click(on_box.x, on_box.y);
    EXPECT_TRUE(box.is_checked());
    EXPECT_EQ(toggled, 2);
    const test_window::capture after = host.grab("check_box_clicked", "the box changed", [&](auto& c) {
        return differs_within(before, c, 10 + image.x, 10 + image.y, image.width, image.height);
    });
    int changed = 0;
    for (int y = 10 + image.y; y < 10 + image.bottom(); ++y)
        for (int x = 10 + image.x; x < 10 + image.right(); ++x)
            changed += before.at(x, y) != after.at(x, y);
    EXPECT_GT(changed, 4);
    widget_input::click(on_box.x, on_box.y);
    EXPECT_FALSE(box.is_checked());
    EXPECT_EQ(toggled, 4);
}
