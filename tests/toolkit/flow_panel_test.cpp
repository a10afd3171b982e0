#include "toolkit/flow_panel.h"

#include "widget_host.h"

#include <gtest/gtest.h>

using namespace qvsdk::ui;

namespace {

// A panel in a detached parent, its children attached in order.
struct flow_fixture : ::testing::Test {
    widget parent;
    void SetUp() override { parent.attach(nullptr, nullptr, rect(0, 0, 400, 300)); }
    void put(widget& w, const rect& r, widget& under) { w.attach(nullptr, &under, r); }
};

} // namespace

TEST_F(flow_fixture, StretchPushesTheLastChildToTheFarEnd)
{
    flow_panel row(flow_panel::horizontal, 0, false, false);
    put(row, rect(0, 0, 300, 40), parent);
    widget left, right;
    put(left, rect(0, 0, 50, 20), row);
    row.add_stretch();
    put(right, rect(0, 0, 70, 20), row);
    row.layout();
    EXPECT_EQ(left.bounds().x, 0);
    EXPECT_EQ(right.bounds().x, 230);
}

TEST_F(flow_fixture, HidingAChildClosesItsGapAndShowingItOpensItAgain)
{
    flow_panel column(flow_panel::vertical, 0, false, false);
    put(column, rect(0, 0, 100, 200), parent);
    widget a, b, c;
    put(a, rect(0, 0, 100, 20), column);
    put(b, rect(0, 0, 100, 30), column);
    put(c, rect(0, 0, 100, 10), column);
    column.layout();
    EXPECT_EQ(c.bounds().y, 50);
    b.set_visible(false);
    EXPECT_EQ(c.bounds().y, 20);
    EXPECT_EQ(b.bounds(), rect(0, 20, 100, 30)); // keeps its place while hidden
    b.set_visible(true);
    EXPECT_EQ(c.bounds().y, 50);
}

TEST_F(flow_fixture, FitToContentGrowsOnlyAlongTheAxis)
{
    flow_panel column(flow_panel::vertical, 0, true, false);
    put(column, rect(5, 5, 90, 10), parent);
    widget a, b;
    put(a, rect(0, 0, 40, 20), column);
    column.add_spacing(5);
    put(b, rect(0, 0, 40, 30), column);
    column.layout();
    EXPECT_EQ(column.bounds(), rect(5, 5, 90, 55));
    EXPECT_EQ(b.bounds().y, 25);
}

TEST_F(flow_fixture, CrossPanelThatFillsItsParentTakesTheSpareLength)
{
    flow_panel row(flow_panel::horizontal, 0, false, false);
    put(row, rect(0, 0, 300, 40), parent);
    flow_panel crossing(flow_panel::vertical, 0, false, false);
    crossing.set_fill_parent(true);
    put(crossing, rect(0, 0, 40, 40), row);
    flow_panel same(flow_panel::horizontal, 0, false, false);
    same.set_fill_parent(true);
    put(same, rect(0, 0, 20, 40), row);
    widget fixed;
    put(fixed, rect(0, 0, 60, 40), row);
    row.layout();
    EXPECT_TRUE(row.has_expanding_item());
    EXPECT_EQ(crossing.bounds().x, 0);
    EXPECT_EQ(crossing.bounds().width, 300 - 20 - 60);
    EXPECT_EQ(same.bounds().width, 20);
    EXPECT_EQ(fixed.bounds().x, 240);

    // Growing the row re-runs its layout, since it has an expanding item.
    row.set_rect(rect(0, 0, 400, 40), true);
    EXPECT_EQ(fixed.bounds().x, 340);
}

TEST_F(flow_fixture, TrackedChildrenReLayOutWhenTheyResize)
{
    flow_panel row(flow_panel::horizontal, 0, false, true);
    put(row, rect(0, 0, 300, 40), parent);
    widget a, b;
    put(a, rect(0, 0, 50, 20), row);
    put(b, rect(0, 0, 50, 20), row);
    row.layout();
    a.set_rect(rect(0, 0, 80, 20), true);
    EXPECT_EQ(b.bounds().x, 80);

    flow_panel untracked(flow_panel::horizontal, 0, false, false);
    put(untracked, rect(0, 50, 300, 40), parent);
    widget c, d;
    put(c, rect(0, 0, 50, 20), untracked);
    put(d, rect(0, 0, 50, 20), untracked);
    untracked.layout();
    c.set_rect(rect(0, 0, 80, 20), true);
    EXPECT_EQ(d.bounds().x, 50);
}

TEST_F(flow_fixture, RemovingAChildDropsEveryItemOfItAndItsHandlers)
{
    flow_panel row(flow_panel::horizontal, 0, false, true);
    put(row, rect(0, 0, 300, 40), parent);
    widget twice, other;
    put(twice, rect(0, 0, 50, 20), row);
    row.add_child(&twice); // listed a second time
    put(other, rect(0, 0, 30, 20), row);
    row.layout();
    EXPECT_EQ(other.bounds().x, 100);
    row.remove_child(&twice);
    row.layout();
    EXPECT_EQ(other.bounds().x, 0);
    // The panel no longer follows the removed child.
    other.set_rect(rect(7, 0, 30, 20), true);
    twice.set_rect(rect(0, 0, 90, 20), true);
    EXPECT_EQ(other.bounds().x, 7);
}

TEST_F(flow_fixture, FillingTheCrossAxisFollowsThePanelsWidth)
{
    flow_panel column(flow_panel::vertical, 0, false, false);
    column.set_fill_cross_axis(true);
    put(column, rect(0, 0, 100, 200), parent);
    widget a;
    put(a, rect(0, 0, 10, 20), column);
    column.layout();
    EXPECT_EQ(a.bounds().width, 100);
    column.set_rect(rect(0, 0, 150, 200), true);
    EXPECT_EQ(a.bounds().width, 150);
}

TEST(flow_panel_paint, ChildrenAppearWhereTheLayoutPutThem)
{
    widget_host host(1100, 520, 300, 60);
    flow_panel row(flow_panel::horizontal, 0, false, false);
    host.add(row, rect(0, 10, 300, 40));
    generic_panel left, right;
    left.theme().set_value("default_back_color", color(1, 0, 0, 1));
    right.theme().set_value("default_back_color", color(0, 0, 1, 1));
    host.add(left, rect(0, 0, 50, 40), &row);
    row.add_stretch();
    host.add(right, rect(0, 0, 70, 40), &row);
    row.layout();
    const test_window::capture c = host.grab("flow_panel", "the red and the blue child", [](auto& shot) {
        return shows_colours(shot, {{25, 30, 255, 0, 0}, {265, 30, 0, 0, 255}}, 0);
    });
    EXPECT_EQ(c.at(150, 30), 0x1a1a1au); // the stretch shows the transparent row
    EXPECT_EQ(c.at(265, 5), 0x1a1a1au);
}
