#pragma once

#include <windows.h>

namespace qvsdk::ui {

// The one window procedure of every toolkit window: Win32 messages become
// toolkit events routed through the window.
LRESULT CALLBACK window_procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);

// Frameless windows: the hit code of a point near the border, or HTCLIENT.
LRESULT frameless_border_hit(const RECT& window_rect, POINT p, int border_x, int border_y);

} // namespace qvsdk::ui
