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

} // namespace

TEST(FlowLayout, OddUnitIsLeftAtTheEnd)
{
    const flow_result r = flow_layout(true, false, {181, 10}, {stretch(), child({0, 0, 0, 10}), stretch()});
    EXPECT_EQ(r.placed[0].bounds.x, 90);
    EXPECT_EQ(r.end, 180);
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
