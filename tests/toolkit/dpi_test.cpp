// Runs in a Wine prefix whose screen is set to 144 dpi: the toolkit works in
// 96-dpi units and draws 1.5 pixels a unit.
#include "toolkit_window_helpers.h"

#include "toolkit/dpi_scaling.h"
#include "toolkit/native_window.h"
#include "toolkit/window.h"

#include <gtest/gtest.h>

using namespace qvsdk::ui;

namespace {

const color green(0, 1, 0, 1);
const color blue(0, 0, 1, 1);

struct high_dpi_window : ::testing::Test, three_colour_window {
    void SetUp() override { open("dpi", 200, 200); }
};

} // namespace

TEST(unit_conversion, BoxesAreRoundedOutwards)
{
    const RECT p = units_to_pixels({1, 1, 3, 3}, 144, 144);
    EXPECT_EQ(p.left, 1);
    EXPECT_EQ(p.top, 1);
    EXPECT_EQ(p.right, 5);
    EXPECT_EQ(p.bottom, 5);
    const unit_box u = pixels_to_units(RECT{1, 1, 5, 5}, 144, 144);
    EXPECT_EQ(u.left, 0);
    EXPECT_EQ(u.top, 0);
    EXPECT_EQ(u.right, 4);
    EXPECT_EQ(u.bottom, 4);
}

TEST_F(high_dpi_window, TheScreenIsAt144AndTheClientAreaIsScaled)
{
    EXPECT_EQ(w.native_record().dpi_x, 144);
    RECT client{};
    GetClientRect(w.handle(), &client);
    EXPECT_EQ(client.right, 300);
    EXPECT_EQ(client.bottom, 180);
    const rect r = w.native_record().get_rect();
    EXPECT_EQ(r.width, 200);
    EXPECT_EQ(r.height, 120);
    EXPECT_EQ(w.root().bounds(), rect(0, 0, 200, 120));
    const point p = w.native_record().scale_point({100, 40}, false);
    EXPECT_EQ(p.x, 150);
    EXPECT_EQ(p.y, 60);
}

TEST_F(high_dpi_window, WidgetsDrawOneAndAHalfPixelsAUnit)
{
    capture_colours(w.handle(), "dpi144_tree", {{25, 25, 255, 0, 0}, {31, 31, 0, 255, 0}, {118, 118, 0, 255, 0},
                                                {122, 60, 255, 0, 0}, {181, 31, 0, 0, 255}, {268, 118, 0, 0, 255},
                                                {290, 170, 255, 0, 0}});
}

TEST_F(high_dpi_window, APartialRepaintCoversTheWholeWidgetAndNothingElse)
{
    const int left_paints = left.paints;
    left.fill = blue;
    right.fill = green;
    right.invalidate(true);
    // Every corner of the right widget, in pixels, has the new colour; the left one is untouched.
    capture_colours(w.handle(), "dpi144_partial_repaint",
                    {{181, 31, 0, 255, 0}, {268, 31, 0, 255, 0}, {181, 118, 0, 255, 0}, {268, 118, 0, 255, 0},
                     {275, 60, 255, 0, 0}, {60, 60, 0, 255, 0}});
    EXPECT_EQ(left.paints, left_paints);
}

TEST_F(high_dpi_window, ResizingKeepsUnitsAndPixelsApart)
{
    w.native_record().set_rect(rect(300, 300, 240, 100));
    pump_until([&] { return w.root().bounds() == rect(0, 0, 240, 100); });
    RECT client{};
    GetClientRect(w.handle(), &client);
    EXPECT_EQ(client.right, 360);
    EXPECT_EQ(client.bottom, 150);
    EXPECT_EQ(w.root().bounds(), rect(0, 0, 240, 100));
}
