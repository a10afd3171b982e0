#include "tools/widget_demo/widget_demo.h"

#include "widget_host.h"

#include <gtest/gtest.h>

using namespace qvsdk::ui;

TEST(widget_demo, ShowsEveryWidgetAndItsCaptureIsSaved)
{
    WidgetDemo demo;
    demo.open(620, 440, window_popup | window_topmost);
    ShowWindow(demo.handle(), SW_SHOWNOACTIVATE);
    const test_window::capture c = grab_window(demo.handle(), "widget_demo", "the button fill", [](auto& shot) {
        return std::count(shot.pixels.begin(), shot.pixels.end(), 0x2c2d31u) > 0;
    });
    ASSERT_EQ(c.width, WidgetDemo::width);
    ASSERT_EQ(c.height, WidgetDemo::height);

    // Count the distinct looks the demo must show: the background, the
    // buttons' fill, the scroll view and its bar, red text of the HTML label.
    int button_fill = 0, red_text = 0, view = 0, scroll_back = 0;
    for (std::uint32_t p : c.pixels) {
        button_fill += p == 0x2c2d31u;  // "button_color_normal"
        red_text += red_of(p) > 200 && green_of(p) < 140 && blue_of(p) < 110;
        view += p == 0x111214u;
        scroll_back += p == 0x25262au;  // "scroll_bar_back_color": the thumb
    }
    EXPECT_GT(button_fill, 2 * 80 * 20);
    EXPECT_GT(red_text, 10);
    EXPECT_GT(view, 100 * 50);
    EXPECT_GT(scroll_back, 10 * 20);
}
