#pragma once

#include <windows.h>

// Moves the real pointer to the screen point and clicks the right button there.
void right_click(POINT at);
// The visible popup menu window, if one is open.
HWND open_menu();
