#include "toolkit/cursor.h"
#include "toolkit/event_manager.h"
#include "toolkit/mouse_capture.h"
#include "toolkit/widget.h"

#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

using namespace qvsdk::ui;

namespace {

// Records (widget, event id) pairs in the order they were raised.
class event_log {
public:
    void watch(widget& w, std::initializer_list<std::uint32_t> ids)
    {
        for (std::uint32_t id : ids)
            event_manager::instance().subscribe(&w, &w, id, [this, &w, id](const event_info&) {
                seen.emplace_back(&w, id);
            });
    }
    std::vector<std::pair<widget*, std::uint32_t>> seen;
};

// A detached tree: parent -> child -> grandchild, created and attached.
struct small_tree : ::testing::Test {
    widget parent, child, grandchild;
    void SetUp() override
    {
        parent.attach(nullptr, nullptr, rect(0, 0, 300, 200));
        child.attach(nullptr, &parent, rect(10, 10, 100, 100));
        grandchild.attach(nullptr, &child, rect(5, 5, 20, 20));
    }
};

} // namespace

TEST(widget_rect, NegativeSizeIsStoredAsZeroButTheTargetKeepsIt)
{
    widget w;
    w.attach(nullptr, nullptr, rect(0, 0, 10, 10));
    w.set_rect(rect(1, 2, -5, 7), true);
    EXPECT_EQ(w.bounds(), rect(1, 2, 0, 7));
    EXPECT_EQ(w.target_rect(), rect(1, 2, -5, 7));
}

TEST(widget_rect, BeforeCreateNothingIsRaised)
{
    widget w;
    event_log log;
    log.watch(w, {13, 15});
    w.set_rect(rect(5, 5, 50, 50), true);
    EXPECT_TRUE(log.seen.empty());
    EXPECT_EQ(w.bounds(), rect(5, 5, 50, 50));
}

TEST(widget_rect, ResizeAndMoveTellTheWidgetAndItsChildrenTheOldValues)
{
    widget parent, child;
    parent.attach(nullptr, nullptr, rect(0, 0, 100, 100));
    child.attach(nullptr, &parent, rect(0, 0, 10, 10));
    size old_size{};
    point old_position{};
    std::vector<std::uint32_t> child_events;
    event_manager::instance().subscribe(&parent, &parent, 13, [&](const event_info& e) {
        old_size = *static_cast<size*>(e.data);
    });
    event_manager::instance().subscribe(&parent, &parent, 15, [&](const event_info& e) {
        old_position = *static_cast<point*>(e.data);
    });
    for (std::uint32_t id : {26u, 27u})
        event_manager::instance().subscribe(&child, &child, id, [&, id](const event_info&) { child_events.push_back(id); });
    parent.set_rect(rect(3, 4, 120, 100), true);
    EXPECT_EQ(old_size, (size{100, 100}));
    EXPECT_EQ(old_position.x, 0);
    EXPECT_EQ(old_position.y, 0);
    EXPECT_EQ(child_events, (std::vector<std::uint32_t>{26, 27}));
}

TEST(widget_anchors, LeftAndRightStretchRightAloneKeepsTheWidth)
{
    widget parent, stretched, pinned;
    parent.attach(nullptr, nullptr, rect(0, 0, 100, 100));
    stretched.attach(nullptr, &parent, rect(0, 0, 30, 30));
    pinned.attach(nullptr, &parent, rect(0, 0, 50, 30));
    stretched.left_anchor = {true, 10};
    stretched.right_anchor = {true, 10};
    pinned.right_anchor = {true, 10};
    pinned.bottom_anchor = {true, 5};
    parent.set_rect(rect(0, 0, 300, 200), true);
    EXPECT_EQ(stretched.bounds(), rect(10, 0, 280, 30));
    EXPECT_EQ(pinned.bounds(), rect(240, 165, 50, 30));
}

TEST_F(small_tree, DisablingAParentMakesTheSubtreeUnusableWithoutEventsOnIt)
{
    event_log log;
    log.watch(parent, {24, 25});
    log.watch(child, {24, 25});
    log.watch(grandchild, {24, 25});
    parent.set_enabled(false);
    EXPECT_FALSE(child.is_usable());
    EXPECT_FALSE(grandchild.is_usable());
    EXPECT_TRUE(grandchild.is_enabled(false));
    parent.set_enabled(true);
    EXPECT_TRUE(grandchild.is_usable());
    parent.set_enabled(true); // unchanged: nothing
    ASSERT_EQ(log.seen.size(), 2u);
    EXPECT_EQ(log.seen[0], std::make_pair(&parent, 25u));
    EXPECT_EQ(log.seen[1], std::make_pair(&parent, 24u));
}

TEST_F(small_tree, HidingRaisesHiddenThroughAncestorDeepestFirstThenHiddenOnItself)
{
    event_log log;
    log.watch(parent, {44, 45, 46, 47});
    log.watch(child, {44, 45, 46, 47});
    log.watch(grandchild, {44, 45, 46, 47});
    parent.set_visible(false);
    ASSERT_EQ(log.seen.size(), 3u);
    EXPECT_EQ(log.seen[0], std::make_pair(&grandchild, 45u));
    EXPECT_EQ(log.seen[1], std::make_pair(&child, 45u));
    EXPECT_EQ(log.seen[2], std::make_pair(&parent, 47u));
    EXPECT_FALSE(grandchild.is_visible(true));
    EXPECT_TRUE(grandchild.is_visible(false));
}

TEST_F(small_tree, ARemovedChildIsVisibleAndUsableAgainAndHearsShownThroughAncestor)
{
    parent.set_visible(false);
    parent.set_enabled(false);
    event_log log;
    log.watch(child, {44});
    log.watch(parent, {29});
    parent.remove_child(&child);
    EXPECT_EQ(child.parent(), nullptr);
    EXPECT_TRUE(grandchild.is_visible(true));
    EXPECT_TRUE(grandchild.is_usable());
    ASSERT_EQ(log.seen.size(), 2u);
    EXPECT_EQ(log.seen[0], std::make_pair(&child, 44u));
    EXPECT_EQ(log.seen[1], std::make_pair(&parent, 29u));
}

TEST_F(small_tree, AChildAddedUnderADisabledOrHiddenGrandparentInheritsIt)
{
    parent.set_enabled(false);
    parent.set_visible(false);
    widget late;
    late.attach(nullptr, &child, rect(0, 0, 5, 5));
    EXPECT_FALSE(late.is_usable());
    EXPECT_FALSE(late.is_visible(true));
    // The same rule when the child's own parent changes state.
    parent.set_enabled(true);
    parent.set_visible(true);
    EXPECT_TRUE(late.is_usable());
    EXPECT_TRUE(late.is_visible(true));
    child.set_enabled(false);
    widget later;
    later.attach(nullptr, &grandchild, rect(0, 0, 5, 5));
    EXPECT_FALSE(later.is_usable());
}

TEST_F(small_tree, RemovingAChildDropsTheHandlersTheParentHeldOnIt)
{
    int calls = 0;
    parent.subscribe_to(&child, 13, [&](const event_info&) { ++calls; });
    child.set_rect(rect(10, 10, 50, 50), true);
    EXPECT_EQ(calls, 1);
    parent.remove_child(&child);
    child.set_rect(rect(10, 10, 60, 60), true);
    EXPECT_EQ(calls, 1);
    EXPECT_FALSE(event_manager::instance().has_handler(&child, 13));
}

TEST_F(small_tree, DestroyingAWidgetTakesItOutOfItsParent)
{
    auto extra = std::make_unique<widget>();
    extra->attach(nullptr, &child, rect(0, 0, 1, 1));
    ASSERT_EQ(child.children().size(), 2u);
    extra.reset();
    EXPECT_EQ(child.children().size(), 1u);
}

TEST(captured_widget, IsClearedWhenTheWidgetIsDestroyedDisabledOrHidden)
{
    widget parent;
    parent.attach(nullptr, nullptr, rect(0, 0, 100, 100));
    auto child = std::make_unique<widget>();
    child->attach(nullptr, &parent, rect(0, 0, 10, 10));

    capture_mouse(*child);
    child.reset();
    EXPECT_EQ(captured_widget(), nullptr);

    widget other;
    other.attach(nullptr, &parent, rect(0, 0, 10, 10));
    capture_mouse(other);
    parent.set_enabled(false); // disabled through its parent
    EXPECT_EQ(captured_widget(), nullptr);
    parent.set_enabled(true);

    capture_mouse(other);
    other.set_visible(false);
    EXPECT_EQ(captured_widget(), nullptr);

    other.set_visible(true);
    capture_mouse(other);
    parent.set_enabled(true); // unchanged: keeps it
    EXPECT_EQ(captured_widget(), &other);
    release_mouse();
    EXPECT_EQ(captured_widget(), nullptr);
}

TEST(widget_geometry, WindowUnitsFollowTheAncestorsPositionsAndScales)
{
    widget root, panel, item;
    root.attach(nullptr, nullptr, rect(0, 0, 400, 300));
    panel.attach(nullptr, &root, rect(100, 50, 200, 200));
    item.attach(nullptr, &panel, rect(10, 20, 30, 40));
    unit_box b = window_units_of(item);
    EXPECT_EQ(b.left, 110);
    EXPECT_EQ(b.top, 70);
    EXPECT_EQ(b.right, 140);
    EXPECT_EQ(b.bottom, 110);
    panel.set_scale(2.0f);
    b = window_units_of(item);
    EXPECT_EQ(b.left, 120);
    EXPECT_EQ(b.top, 90);
    EXPECT_EQ(b.right, 180);
    EXPECT_EQ(b.bottom, 170);
    // The traversal's box agrees with it.
    const unit_box p = child_box({0, 0}, 1.0f, panel);
    const unit_box c = child_box({p.left, p.top}, 2.0f, item);
    EXPECT_EQ(c.left, b.left);
    EXPECT_EQ(c.bottom, b.bottom);
}

TEST(widget_geometry, CursorUnitsAreUndoneAlongTheChain)
{
    // Root, a panel at (100, 50) scaled 2, an item at (10, 20) in it.
    const chain_link chain[] = {{{0, 0}, 1.0f}, {{100, 50}, 2.0f}, {{10, 20}, 1.0f}};
    const point p = units_in_widget({130, 100}, chain, 3);
    // Panel content starts at (100, 50); (30, 50) root units are (15, 25) there, minus (10, 20).
    EXPECT_EQ(p.x, 5);
    EXPECT_EQ(p.y, 5);
}

TEST(system_cursors, SevenIsFourAndNineNeedsACustomCursor)
{
    EXPECT_NE(cursor_handle(0), nullptr);
    EXPECT_EQ(cursor_handle(7), cursor_handle(4));
    EXPECT_NE(cursor_handle(8), cursor_handle(4));
    EXPECT_EQ(cursor_handle(9), nullptr);
    EXPECT_EQ(cursor_handle(10), nullptr);
    EXPECT_EQ(cursor_handle(-1), nullptr);
}
