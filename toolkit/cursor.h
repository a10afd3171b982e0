#pragma once

#include "toolkit/point.h"

#include <cstdint>

namespace qvsdk::ui {

class widget;

// The cursor in 96-dpi units: on the screen (no widget) or in the widget's own
// coordinates, through its ancestors' positions and scales.
point cursor_position(const widget* w);

// One of the system cursors: 0 arrow, 1 cross, 2 size west-east, 3 size
// north-south, 4 and 7 size north-west/south-east, 5 I-beam, 6 hand, 8 size
// north-east/south-west, 9 the first custom cursor; other values do nothing.
void set_cursor(std::int32_t shape);
// The handle set_cursor uses for a shape, or null.
void* cursor_handle(std::int32_t shape);
// Custom cursors an application adds; shape 9 is the first.
void add_custom_cursor(void* handle);

// DPI of the window under the mouse, stored on every mouse move.
void set_cursor_dpi(std::int32_t x, std::int32_t y);
point cursor_dpi();

// Relative-mouse mode holds the cursor at an anchor and reports the anchor
// plus the accumulated movement.
void begin_relative_mouse(point anchor_on_screen);
void end_relative_mouse();
bool relative_mouse_active();

// Pure: a screen or client point in pixels to 96-dpi units, then undone along
// a chain of (position, scale) pairs from the root's child down to the widget.
struct chain_link {
    point position;
    float scale;
};
point units_in_widget(point units_in_root, const chain_link* chain, std::size_t count);

} // namespace qvsdk::ui
