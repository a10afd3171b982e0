#include "widget_host.h"
#include "widget_input.h"
#include "popup_answer.h"

#include "installer/installer_theme.h"
#include "installer/link_button.h"
#include "installer/notification_popup.h"
#include "installer/rounded_button.h"

#include "toolkit/cursor.h"
#include "toolkit/theme_store.h"
#include "toolkit/window.h"

#include <gtest/gtest.h>

#include <functional>
#include <thread>

using namespace qvsdk::ui;

namespace {

bool looks_like(std::uint32_t pixel, int r, int g, int b, int tolerance = 10)
{
    return std::abs(red_of(pixel) - r) <= tolerance && std::abs(green_of(pixel) - g) <= tolerance &&
           std::abs(blue_of(pixel) - b) <= tolerance;
}

// Runs the popup modally while another thread answers it with a key.
int answer(NotificationPopup& popup, WORD key, const std::function<void(HWND)>& before = {})
{
    HWND hwnd = popup.handle();
    bool answered = false;
    std::thread player = answer_with_key([hwnd] { return hwnd; }, key, &answered, before);
    const int result = popup.run_modal();
    player.join();
    EXPECT_TRUE(answered);
    return result;
}

struct installer_widgets : ::testing::Test {
    void SetUp() override { apply_installer_theme(); }
    void TearDown() override { global_theme = make_theme_map(); }

    void open(NotificationPopup& popup)
    {
        popup.root().theme().set_redirect("message_popup_window_margins", "notifications_window_margins");
        popup.root().theme().set_redirect("message_popup_component_margins", "notifications_component_margins");
        popup.show(nullptr, "Popup test", "Do you want to go on?");
        SetWindowPos(popup.handle(), nullptr, 100, 420, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }
};

} // namespace

TEST_F(installer_widgets, the_popup_answers_enter_with_yes_and_escape_with_no)
{
    NotificationPopup first;
    open(first);
    EXPECT_EQ(first.message_label().text(), "Do you want to go on?");
    test_window::capture shot;
    EXPECT_EQ(answer(first, VK_RETURN, [&](HWND hwnd) { shot = grab_window(hwnd); }), 1);
    shot.save("popup");
    ASSERT_GT(shot.width, 0);
    EXPECT_TRUE(looks_like(shot.at(5, 5), 18, 18, 18)); // notifications_back_color
    const rect yes = first.yes_button().bounds();
    const rect row = first.yes_button().parent()->bounds();
    EXPECT_TRUE(looks_like(shot.at(row.x + yes.x + yes.width / 2, row.y + yes.y + 3), 6, 141, 221, 25));

    NotificationPopup second;
    open(second);
    EXPECT_EQ(answer(second, VK_ESCAPE), 0);
}

TEST_F(installer_widgets, enter_on_a_focused_no_answers_no_only)
{
    NotificationPopup popup;
    open(popup);
    popup.set_focus(&popup.no_button(), 0);
    EXPECT_EQ(answer(popup, VK_RETURN), 0);
    EXPECT_EQ(popup.focused_widget(), &popup.no_button());
}

TEST_F(installer_widgets, a_disabled_pill_keeps_its_disabled_look_under_the_pointer)
{
    widget_host host(40, 420, 300, 80);
    RoundedButton enabled, disabled;
    for (RoundedButton* b : {&enabled, &disabled}) {
        b->theme().set_redirect("button_color_normal", "rounded_button_back_color_normal");
        b->theme().set_redirect("button_color_hover", "rounded_button_back_color_hover");
        b->set_text("");
    }
    host.add(enabled, rect(10, 10, 110, 30));
    host.add(disabled, rect(150, 10, 110, 30));
    disabled.set_enabled(false);
    const POINT over = host.screen_point(200, 25);
    widget_input::move_to(over.x, over.y);
    const test_window::capture shot = host.grab();
    shot.save("rounded_buttons");
    EXPECT_TRUE(looks_like(shot.at(60, 25), 36, 36, 36));   // rounded_button_back_color_normal
    EXPECT_TRUE(looks_like(shot.at(200, 25), 23, 23, 23));  // rounded_button_back_color_disabled
    EXPECT_TRUE(looks_like(shot.at(11, 11), 26, 26, 26));   // outside the end disc: the host's back
    EXPECT_TRUE(looks_like(shot.at(25, 25), 36, 36, 36));   // inside it
}

TEST_F(installer_widgets, a_link_underlines_with_the_hand_cursor_only_while_hovered)
{
    widget_host host(40, 540, 300, 60);
    LinkButton link;
    link.set_text("Licence");
    host.add(link, rect(10, 10, 120, 20));
    const POINT over = host.screen_point(40, 20);
    widget_input::move_to(over.x, over.y);
    EXPECT_TRUE(link.theme().get_bool("button_text_underlined"));
    EXPECT_EQ(GetCursor(), static_cast<HCURSOR>(cursor_handle(6)));
    const POINT away = host.screen_point(250, 40);
    widget_input::move_to(away.x, away.y);
    EXPECT_FALSE(link.theme().get_bool("button_text_underlined"));
    EXPECT_EQ(GetCursor(), static_cast<HCURSOR>(cursor_handle(0)));
}
