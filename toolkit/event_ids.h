#pragma once

#include <cstdint>

namespace qvsdk::ui {

// Every event id the toolkit and its users raise or subscribe to. The comments
// say what arrives in event_info::data and ::extra; unmentioned, they are 0.
enum event_id : std::uint32_t {
    button_up_event = 1, // data: button code (0 left, 1 middle, 2 right, 3 and 4 the X buttons)
    button_down_event = 2, // data: button code
    double_click_event = 3, // data: button code
    wheel_event = 4, // data: pointer to a double, the wheel delta times 0.5
    mouse_enter_event = 5,
    mouse_leave_event = 6,
    mouse_move_event = 7,
    key_down_event = 8, // data: virtual-key code
    key_raw_event = 9, // data: pointer to two 32-bit values, the virtual-key code and the message's flags
    key_up_event = 10, // data: virtual-key code
    char_event = 11, // data: UTF-16 code unit
    paint_event = 12,
    resized_event = 13, // data: pointer to the old size on a widget, 0 on a window
    dpi_changed_event = 14,
    moved_event = 15, // data: pointer to the old position
    timer_event = 17, // data: the user timer id
    close_event = 19,
    created_event = 20,
    destroyed_event = 21,
    enabled_event = 24,
    disabled_event = 25,
    parent_resized_event = 26, // data: pointer to the parent's old size, or its size when the parent is set
    parent_moved_event = 27, // data: pointer to the parent's old position
    child_added_event = 28, // data: the child
    child_removed_event = 29, // data: the child
    parent_set_event = 30, // data: the new parent
    focus_gained_event = 42, // data: focus reason (0 mouse, 1 Tab, else the set_focus caller's value)
    focus_lost_event = 43, // data: focus reason; extra: the newly focused widget
    shown_through_ancestor_event = 44,
    hidden_through_ancestor_event = 45,
    shown_event = 46,
    hidden_event = 47,
    modal_entered_event = 48,
    value_changed_event = 49, // data: a scroll bar's new position (scroll_to: the value asked for); a check box's is 0
    clicked_event = 50, // data: the button's toggled state, 0 or 1
    files_event = 54, // data: pointer to the dropped paths on a drop; extra: 0 drop, 1 drag over, 2 drag left
    ime_event = 55, // data: 0 composition started, 1 composition changed, 2 result committed
    theme_changed_event = 56, // data: the theme key
    session_locked_event = 57,
    session_unlocked_event = 58,
};

} // namespace qvsdk::ui
