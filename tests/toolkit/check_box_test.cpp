#include "toolkit/check_box.h"

#include "toolkit/event_manager.h"
#include "widget_host.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

using namespace qvsdk::ui;

namespace {

struct check_box_fixture : ::testing::Test {
    widget parent;
    check_box box;
    std::vector<std::pair<int, bool>> toggles; // (a, checked when raised)

    void SetUp() override
    {
        parent.attach(nullptr, nullptr, rect(0, 0, 200, 50));
        box.attach(nullptr, &parent, rect(0, 0, 200, 20));
        event_manager::instance().subscribe(&box, &box, 49, [this](const event_info& e) {
            EXPECT_EQ(e.b, 0);
            toggles.emplace_back(e.a, box.is_checked());
        });
    }
    void release_on_box() { event_manager::instance().dispatch(&box, 1, 2, 1, nullptr); }
};

} // namespace

TEST_F(check_box_fixture, StartsDisabledUntilItsOwnerEnablesIt)
{
    EXPECT_EQ(box.name(), "check_box");
    EXPECT_TRUE(box.is_focusable());
    EXPECT_FALSE(box.is_usable());
    box.set_enabled(true);
    EXPECT_TRUE(box.is_usable());
}

TEST_F(check_box_fixture, ReleaseFlipsItAndTellsBeforeAndAfter)
{
    box.set_enabled(true);
    release_on_box();
    EXPECT_TRUE(box.is_checked());
    EXPECT_EQ(toggles, (std::vector<std::pair<int, bool>>{{0, false}, {2, true}}));
    release_on_box();
    EXPECT_FALSE(box.is_checked());
}

TEST_F(check_box_fixture, BoundValueFollowsTheBoxAndTheBoxFollowsIt)
{
    bool remembered = true;
    box.bind(&remembered);
    EXPECT_TRUE(box.is_checked());
    release_on_box();
    EXPECT_FALSE(remembered);
    remembered = true;
    EXPECT_TRUE(box.is_checked());
}

TEST_F(check_box_fixture, WithoutTextThereIsNoGap)
{
    box.layout(0);
    EXPECT_EQ(box.image_rect().x, 0);
    box.layout(1);
    EXPECT_EQ(box.image_rect().x, 200 - box.image_rect().width);
    EXPECT_GT(box.image_rect().width, 0); // the theme's sprite gives the frame size
}

TEST(check_box_paint, CheckedShowsAnotherFrameAndTextFadesWhenDisabled)
{
    widget_host host(1100, 600, 200, 40);
    check_box box;
    box.set_text("Do not show this again");
    host.add(box, rect(0, 0, 200, 20));
    box.layout(0);
    const rect image = box.image_rect(), t = box.text_rect();
    // Text: brightest pixel of the text area, full white when usable, half when not.
    auto brightest = [&](const test_window::capture& c) {
        int best = 0;
        for (int y = t.y; y < t.y + t.height; ++y)
            for (int x = t.x; x < t.x + t.width; ++x)
                best = std::max(best, green_of(c.at(x, y)));
        return best;
    };
    const test_window::capture disabled =
        host.grab("check_box_disabled", "the text", [&](auto& c) { return brightest(c) > 60; });
    box.set_enabled(true);
    const test_window::capture unchecked = host.grab("check_box_unchecked", "the text changed", [&](auto& c) {
        return differs_within(disabled, c, t.x, t.y, t.width, t.height);
    });
    box.set_checked(true);
    box.invalidate(false);
    const test_window::capture checked = host.grab("check_box_checked", "the box changed", [&](auto& c) {
        return differs_within(unchecked, c, image.x, image.y, image.width, image.height);
    });

    int frame_differences = 0;
    for (int y = image.y; y < image.y + image.height; ++y)
        for (int x = image.x; x < image.x + image.width; ++x)
            frame_differences += checked.at(x, y) != unchecked.at(x, y);
    EXPECT_GT(frame_differences, 4);
    EXPECT_GT(brightest(unchecked), 200);
    EXPECT_LT(brightest(disabled), 160);
    EXPECT_GT(brightest(disabled), 60);
}
