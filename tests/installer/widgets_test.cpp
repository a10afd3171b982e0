#include "widget_host.h"
#include "widget_input.h"
#include "popup_answer.h"

#include "installer/break_line.h"
#include "installer/installer_theme.h"
#include "installer/link_button.h"
#include "installer/notification_popup.h"
#include "installer/progress_bar.h"
#include "installer/rounded_button.h"

#include "toolkit/cursor.h"
#include "toolkit/theme_store.h"
#include "toolkit/window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <thread>

using namespace qvsdk::ui;

namespace {

bool looks_like(std::uint32_t p, int r, int g, int b, int tolerance = 10) { return colour_near(p, r, g, b, tolerance); }

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
    const rect text = first.message_label().bounds();
    const capture_test ink = [&](const auto& c) { return ink_box(c, text, is_light).width > 0; };
    EXPECT_EQ(answer(first, VK_RETURN, [&](HWND w) { shot = grab_window(w, "popup", "the message's ink", ink); }), 1);
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
    // A disabled colour of its own, set once the pointer is over it, marks a frame painted after the move.
    disabled.theme().set_value("rounded_button_back_color_disabled", color(0, 0, 1, 1));
    // rounded_button_back_color_normal, the marked disabled colour, the host's back outside the end disc
    // and the pill inside it
    capture_colours(host.handle(), "rounded_buttons",
                    {{60, 25, 36, 36, 36}, {200, 25, 0, 0, 255}, {11, 11, 26, 26, 26}, {25, 25, 36, 36, 36}},
                    [&] { InvalidateRect(host.handle(), nullptr, FALSE); }, 4);
}

TEST_F(installer_widgets, a_link_underlines_with_the_hand_cursor_only_while_hovered_and_shown)
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

    // Hidden under the pointer, it lets both go.
    widget_input::move_to(over.x, over.y);
    ASSERT_TRUE(link.theme().get_bool("button_text_underlined"));
    link.set_visible(false);
    widget_input::pump_for(100);
    EXPECT_FALSE(link.theme().get_bool("button_text_underlined"));
    EXPECT_EQ(GetCursor(), static_cast<HCURSOR>(cursor_handle(0)));
}

namespace {

enum channel { red, green, blue };

int channel_of(std::uint32_t p, channel c) { return c == red ? red_of(p) : c == green ? green_of(p) : blue_of(p); }

// How far the strongest pixel of the box leans to one channel: that channel
// minus the larger of the other two.
int lean_to(const test_window::capture& shot, const rect& box, channel c)
{
    int best = -255;
    for (int y = box.y; y < box.bottom(); ++y)
        for (int x = box.x; x < box.right(); ++x) {
            const std::uint32_t p = shot.at(x, y);
            int others = 0;
            for (channel o : {red, green, blue})
                if (o != c)
                    others = std::max(others, channel_of(p, o));
            best = std::max(best, channel_of(p, c) - others);
        }
    return best;
}

// Whether each box holds text of a strong colour (a frame may hold only the
// widgets repainted last).
bool inked(const test_window::capture& shot, std::initializer_list<rect> boxes)
{
    for (const rect& box : boxes)
        if (std::max({lean_to(shot, box, red), lean_to(shot, box, green), lean_to(shot, box, blue)}) < 100)
            return false;
    return true;
}

// 0..1 theme colour channel as an 8-bit value.
int byte_of(float v) { return int(std::lround(v * 255.0f)); }

} // namespace

TEST_F(installer_widgets, a_pill_writes_its_text_in_the_colour_of_its_state)
{
    widget_host host(40, 420, 420, 60);
    RoundedButton normal, hovered, disabled;
    for (RoundedButton* b : {&normal, &hovered, &disabled}) {
        theme_store& t = b->theme();
        t.set_value("button_font_color", color(1, 0, 0, 1));
        t.set_value("button_font_color_hover", color(0, 1, 0, 1));
        t.set_value("rounded_button_font_color_disabled", color(0, 0, 1, 1));
        t.set_value("button_font_size", 16.0f);
        b->set_text("MWMW");
    }
    host.add(normal, rect(10, 10, 120, 30));
    host.add(hovered, rect(150, 10, 120, 30));
    host.add(disabled, rect(290, 10, 120, 30));
    disabled.set_enabled(false);

    const rect text_of_normal(40, 14, 60, 22), text_of_hovered(180, 14, 60, 22), text_of_disabled(320, 14, 60, 22);
    POINT at = host.screen_point(155, 25); // left end of the hovered pill, away from its text
    widget_input::move_to(at.x, at.y);
    test_window::capture shot = host.grab("rounded_button_texts", "three texts, the hovered green", [&](const auto& c) {
        return inked(c, {text_of_normal, text_of_disabled}) && lean_to(c, text_of_hovered, green) > 100;
    });
    EXPECT_GT(lean_to(shot, text_of_normal, red), 100);
    EXPECT_LT(lean_to(shot, text_of_hovered, red), 20);
    EXPECT_GT(lean_to(shot, text_of_disabled, blue), 100);

    // Under the pointer a disabled pill keeps its disabled text colour.
    at = host.screen_point(295, 25);
    widget_input::move_to(at.x, at.y);
    shot = host.grab("rounded_button_texts_disabled_hovered", "three texts, the middle red", [&](const auto& c) {
        return inked(c, {text_of_normal, text_of_disabled}) && lean_to(c, text_of_hovered, red) > 100;
    });
    EXPECT_GT(lean_to(shot, text_of_disabled, blue), 100);
    EXPECT_LT(lean_to(shot, text_of_disabled, green), 20);
    EXPECT_GT(lean_to(shot, text_of_normal, red), 100);
}

TEST_F(installer_widgets, a_break_line_draws_one_line_across_its_middle)
{
    widget_host host(40, 420, 240, 60);
    BreakLine line;
    host.add(line, rect(10, 10, 200, 21));
    const int v = byte_of(0.204f); // breakline_color
    const int middle = 10 + 21 / 2;
    const test_window::capture shot = host.grab("break_line", "a line over the host's back", [&](const auto& c) {
        return !looks_like(c.at(100, middle), 26, 26, 26, 4);
    });
    for (int x : {10, 100, 208})
        EXPECT_TRUE(looks_like(shot.at(x, middle), v, v, v, 6)) << "x " << x;
    for (int y : {middle - 2, middle + 2, 12, 29})
        EXPECT_TRUE(looks_like(shot.at(100, y), 26, 26, 26, 4)) << "y " << y;
    EXPECT_TRUE(looks_like(shot.at(215, middle), 26, 26, 26, 4)); // past its right end
}

TEST_F(installer_widgets, a_progress_bar_fills_a_gradient_up_to_its_fraction)
{
    widget_host host(40, 420, 340, 60);
    ProgressBar empty_bar, half_bar;
    host.add(empty_bar, rect(10, 5, 300, 15));
    host.add(half_bar, rect(10, 30, 300, 15));
    half_bar.set_fraction(0.5f);
    const test_window::capture shot = host.grab("progress_bars", "both bars", [](const auto& c) {
        return green_of(c.at(150, 12)) < 13 && blue_of(c.at(12, 37)) > 60; // the empty one's black, the half one's fill
    });

    // progress_bar_back_color is black; the gradient runs from color1 at the
    // top to color2 at the bottom.
    for (int x : {11, 150, 308})
        EXPECT_TRUE(looks_like(shot.at(x, 12), 0, 0, 0, 4)) << "x " << x;
    const int filled = int(std::lround(300 * 0.5f));
    const int top_r = byte_of(0.023f), top_g = byte_of(0.535f), top_b = byte_of(0.838f);
    const int bottom_r = byte_of(0.012f), bottom_g = byte_of(0.287f), bottom_b = byte_of(0.445f);
    EXPECT_TRUE(looks_like(shot.at(12, 30), top_r, top_g, top_b, 14));
    EXPECT_TRUE(looks_like(shot.at(12, 44), bottom_r, bottom_g, bottom_b, 14));
    EXPECT_GT(green_of(shot.at(100, 31)), green_of(shot.at(100, 43)) + 20); // darker towards the bottom
    EXPECT_GT(blue_of(shot.at(10 + filled - 1, 37)), 60);                   // last filled column
    EXPECT_TRUE(looks_like(shot.at(10 + filled + 1, 37), 0, 0, 0, 4));     // first empty one
    EXPECT_TRUE(looks_like(shot.at(305, 37), 0, 0, 0, 4));
}
