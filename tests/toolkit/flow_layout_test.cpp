#include "toolkit/flow_layout.h"

#include <gtest/gtest.h>

#include <climits>

using namespace qvsdk::ui;

namespace {

flow_entry child(rect r, bool expand = false)
{
    flow_entry e;
    e.bounds = r;
    e.expand = expand;
    e.minimum = {INT_MIN, INT_MIN};
    return e;
}

flow_entry stretch()
{
    flow_entry e;
    e.kind = flow_entry::stretch;
    e.expand = true;
    return e;
}

flow_entry spacing(int length)
{
    flow_entry e;
    e.kind = flow_entry::spacing;
    e.fixed = length;
    return e;
}

} // namespace

TEST(FlowLayout, StretchPushesTheSecondChildToTheEnd)
{
    const flow_result r =
        flow_layout(true, false, {300, 40}, {child({0, 5, 50, 20}), stretch(), child({0, 5, 70, 30})});
    ASSERT_EQ(r.placed.size(), 2u);
    EXPECT_EQ(r.placed[0].bounds, rect(0, 5, 50, 20));
    EXPECT_EQ(r.placed[1].index, 2u);
    EXPECT_EQ(r.placed[1].bounds, rect(230, 5, 70, 30));
    EXPECT_EQ(r.end, 300);
}

TEST(FlowLayout, OddUnitIsLeftAtTheEnd)
{
    const flow_result r = flow_layout(true, false, {181, 10}, {stretch(), child({0, 0, 0, 10}), stretch()});
    EXPECT_EQ(r.placed[0].bounds.x, 90);
    EXPECT_EQ(r.end, 180);
}

TEST(FlowLayout, HiddenChildrenTakeNoRoom)
{
    flow_entry hidden = child({7, 7, 100, 100});
    hidden.visible = false;
    const flow_result r = flow_layout(false, false, {50, 200}, {child({0, 0, 50, 20}), hidden, child({0, 0, 50, 30})});
    ASSERT_EQ(r.placed.size(), 2u);
    EXPECT_EQ(r.placed[1].index, 2u);
    EXPECT_EQ(r.placed[1].bounds.y, 20);
}

TEST(FlowLayout, VerticalPanelSumsChildrenAndSpacingsAndCanFillItsWidth)
{
    const flow_result r =
        flow_layout(false, true, {120, 10}, {child({3, 0, 40, 20}), spacing(5), child({9, 0, 60, 30})});
    EXPECT_EQ(r.end, 55);
    EXPECT_EQ(r.placed[0].bounds, rect(3, 0, 120, 20));
    EXPECT_EQ(r.placed[1].bounds, rect(9, 25, 120, 30));
}

TEST(FlowLayout, TooLongContentShrinksExpandingChildrenDownToTheirMinimum)
{
    flow_entry shrinking = child({0, 0, 100, 10}, true);
    shrinking.minimum = {30, INT_MIN};
    const flow_result r = flow_layout(true, false, {100, 10}, {child({0, 0, 80, 10}), shrinking, child({0, 0, 40, 10})});
    // Share = 100 - 220 = -120: the expanding child would be -20 wide.
    EXPECT_EQ(r.placed[1].bounds, rect(80, 0, 30, 10));
    // The next child is placed after the unraised length.
    EXPECT_EQ(r.placed[2].bounds.x, 60);
    EXPECT_EQ(r.end, 100);
}
