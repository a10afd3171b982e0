#pragma once

#include "test_window.h"

#include <windows.h>

// Real input for widget tests: the toolkit reads the real cursor, so the
// pointer is moved with SetCursorPos and SendInput, and keys go through
// SendInput to the foreground window.
namespace widget_input {

using ::pump_for;
// One move to the screen point.
void move_once(int x, int y);
// Two moves to the screen point, so that the window sees a tracked move.
void move_to(int x, int y);
void press(int x, int y);
void release(int x, int y);
void click(int x, int y);
void wheel(int x, int y, int notches);
void key(WORD virtual_key);
void key_down(WORD virtual_key);
void key_up(WORD virtual_key);
// Foreground and keyboard focus for keys.
void focus(HWND window);

} // namespace widget_input
