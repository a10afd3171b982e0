#include "toolkit/event_ids.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace ui = qvsdk::ui;

namespace {

struct event_row {
    std::uint32_t number;
    std::uint32_t named;
    const char* meaning;
};

// The event ids as the toolkit's users know them, one row an id.
const event_row event_table[] = {
    {1, ui::button_up_event, "mouse button released"},
    {2, ui::button_down_event, "mouse button pressed"},
    {3, ui::double_click_event, "double click"},
    {4, ui::wheel_event, "wheel turned"},
    {5, ui::mouse_enter_event, "mouse entered a widget"},
    {6, ui::mouse_leave_event, "mouse left a widget"},
    {7, ui::mouse_move_event, "mouse moved"},
    {8, ui::key_down_event, "key pressed"},
    {9, ui::key_raw_event, "key pressed, raw"},
    {10, ui::key_up_event, "key released"},
    {11, ui::char_event, "character typed"},
    {12, ui::paint_event, "paint"},
    {13, ui::resized_event, "resized"},
    {14, ui::dpi_changed_event, "DPI changed"},
    {15, ui::moved_event, "moved"},
    {17, ui::timer_event, "timer"},
    {19, ui::close_event, "close requested"},
    {20, ui::created_event, "created"},
    {21, ui::destroyed_event, "destroyed"},
    {24, ui::enabled_event, "enabled"},
    {25, ui::disabled_event, "disabled"},
    {26, ui::parent_resized_event, "parent resized"},
    {27, ui::parent_moved_event, "parent moved"},
    {28, ui::child_added_event, "child added"},
    {29, ui::child_removed_event, "child removed"},
    {30, ui::parent_set_event, "parent set"},
    {42, ui::focus_gained_event, "focus gained"},
    {43, ui::focus_lost_event, "focus lost"},
    {44, ui::shown_through_ancestor_event, "shown through an ancestor"},
    {45, ui::hidden_through_ancestor_event, "hidden through an ancestor"},
    {46, ui::shown_event, "shown"},
    {47, ui::hidden_event, "hidden"},
    {48, ui::modal_entered_event, "modal loop entered"},
    {49, ui::value_changed_event, "value changed"},
    {50, ui::clicked_event, "clicked"},
    {54, ui::files_event, "files dragged or dropped"},
    {55, ui::ime_event, "input-method composition"},
    {56, ui::theme_changed_event, "theme value changed"},
    {57, ui::session_locked_event, "session locked"},
    {58, ui::session_unlocked_event, "session unlocked"},
};

} // namespace

TEST(EventIds, EveryNameCarriesItsTabledNumber)
{
    for (const event_row& row : event_table)
        EXPECT_EQ(row.named, row.number) << row.meaning;
}
