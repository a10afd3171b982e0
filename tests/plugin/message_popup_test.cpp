// The message popup's layout, on its own and in a real window.
#include "plugin/message_popup.h"
#include "plugin/message_popup_layout.h"

#include <gtest/gtest.h>

#include <string>

namespace {

message_popup_metrics error_window_metrics()
{
    message_popup_metrics m;
    m.requested = {500, 200};
    m.margin_x = m.margin_y = 20;
    m.component_margin = 10;
    m.picture = {28, 24};
    m.button_align = 1;
    return m;
}

TEST(MessagePopupLayout, TextBesideThePictureAndTheButtonCentredAtTheBottom)
{
    message_popup_metrics m = error_window_metrics();
    m.text = {200, 14};
    EXPECT_EQ(message_text_width_limit(m), 500 - 48 - 40);
    const message_popup_placement p = place_message_popup(m);
    EXPECT_EQ(p.window, (qvsdk::ui::size{500, 24 + 60 + 30}));
    EXPECT_EQ(p.text, (qvsdk::ui::rect{68, 20, 412, 14}));
    EXPECT_EQ(p.button, (qvsdk::ui::rect{200, 114 - 50, 100, 30}));
}

TEST(MessagePopupLayout, TallTextGrowsTheWindowAndAlignmentsMoveTheButton)
{
    message_popup_metrics m = error_window_metrics();
    m.text = {400, 70};
    m.button_align = 2;
    const message_popup_placement p = place_message_popup(m);
    EXPECT_EQ(p.window.height, 70 + 60 + 30);
    EXPECT_EQ(p.button.x, 500 - 100 - 20);
    m.button_align = 0;
    EXPECT_EQ(place_message_popup(m).button.x, 20);
    m.button_align = 7; // unknown: stays
    m.current_button = {33, 0, 10, 10};
    EXPECT_EQ(place_message_popup(m).button.x, 33);
    m.picture = {0, 0};
    EXPECT_EQ(message_text_width_limit(m), 460);
    // Wrapped text measured a unit wider than its limit keeps the requested width.
    m.text = {461, 70};
    EXPECT_EQ(place_message_popup(m).window.width, 500);
}

TEST(MessagePopup, LongMessageWrapsWithinTheWidthAndTheWindowGrows)
{
    qvsdk::ui::message_popup short_popup({500, 200});
    short_popup.show(nullptr, "QV Vesk Exception", "host failure");
    qvsdk::ui::message_popup long_popup({500, 200});
    std::string message;
    for (int i = 0; i < 30; ++i)
        message += "the renderer could not start ";
    long_popup.show(nullptr, "QV Vesk Exception", message);

    EXPECT_EQ(short_popup.native_record().get_rect().width, 500);
    EXPECT_EQ(long_popup.native_record().get_rect().width, 500);
    EXPECT_LE(long_popup.text_rect().width, 500 - 48 - 40);
    EXPECT_GT(long_popup.text_rect().height, 3 * short_popup.text_rect().height);
    EXPECT_GT(long_popup.native_record().get_rect().height,
              short_popup.native_record().get_rect().height + 2 * short_popup.text_rect().height);
    // The do-not-show-again box is never visible; OK has the focus.
    EXPECT_FALSE(long_popup.do_not_show_box().is_visible(true));
    EXPECT_EQ(long_popup.focused_widget(), &long_popup.ok_button());
}

} // namespace
