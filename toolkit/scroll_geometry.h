#pragma once

#include <cstdint>
#include <optional>

namespace qvsdk::ui {

// One axis of a scroll bar and its target, in 96-dpi units.
struct scroll_axis {
    std::int32_t bar_length;     // the bar along its axis
    std::int32_t button_length;  // one arrow button; 0 without buttons
    std::int32_t view_length;    // the target's parent
    std::int32_t content_length; // the target
    std::int32_t content_offset; // the target's coordinate, 0 or negative when scrolled
    std::int32_t min_thumb;      // "scroll_min_size"
};

struct thumb_geometry {
    std::int32_t range;      // how far the target can scroll
    std::int32_t position;   // how far it is scrolled
    std::int32_t start;      // thumb along the bar
    std::int32_t length;
    float pixels_per_unit;   // thumb travel per scrolled unit; 0 when nothing scrolls
};

thumb_geometry place_thumb(const scroll_axis& axis);

// The target coordinate for a scroll: between -range and 0.
std::int32_t clamp_offset(std::int32_t range, std::int32_t offset);
// value, or value rounded toward zero to a multiple of step when not exact.
std::int32_t snap_to_step(std::int32_t value, std::int32_t step, bool exact);

// Where a press on the bar outside the thumb scrolls to. Presses on an arrow
// button (its far edge included) leave the thumb alone, and so does a bar
// whose thumb cannot travel.
struct track_press {
    std::int32_t cursor;
    std::int32_t thumb_start, thumb_length;
    bool buttons;
    std::int32_t first_button_end;    // coordinate of the first button's far edge
    std::int32_t second_button_start;
    float pixels_per_unit;
};
std::optional<std::int32_t> track_press_value(const track_press& press);

// The value a thumb drag scrolls to; none while the thumb cannot travel.
std::optional<std::int32_t> drag_value(std::int32_t cursor, std::int32_t origin, float pixels_per_unit);

} // namespace qvsdk::ui
