#include "tools/widget_demo/widget_demo.h"

#include "widget_host.h"

#include <gtest/gtest.h>

using namespace qvsdk::ui;

// Run on a 144-dpi screen: every unit is one and a half pixels.
TEST(widgets_at_144_dpi, DemoScalesAsAWhole)
{
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    ASSERT_EQ(dpi, 144);

    WidgetDemo demo;
    demo.open(620, 40, window_popup | window_topmost);
    ShowWindow(demo.handle(), SW_SHOWNOACTIVATE);
    // The Push button spans units (10, 80) to (100, 108): pixels (15, 120) to (150, 162).
    const test_window::capture c = grab_window(demo.handle(), "widget_demo_144dpi", "the Push button's top left",
                                               [](auto& shot) { return shot.at(18, 123) == 0x2c2d31u; });
    ASSERT_EQ(c.width, WidgetDemo::width * 3 / 2);
    ASSERT_EQ(c.height, WidgetDemo::height * 3 / 2);
    EXPECT_EQ(c.at(147, 159), 0x2c2d31u);
    EXPECT_NE(c.at(12, 123), 0x2c2d31u);
    EXPECT_NE(c.at(153, 159), 0x2c2d31u);
    EXPECT_NE(c.at(18, 165), 0x2c2d31u);

    // Text is drawn at the larger size too: the red words of the HTML label
    // are 16 units high, so well over 16 pixels of ink.
    int top = c.height, bottom = -1;
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < c.width; ++x) {
            const std::uint32_t p = c.at(x, y);
            if (red_of(p) > 200 && green_of(p) < 140 && blue_of(p) < 110) {
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    EXPECT_GT(bottom - top, 16);
}
