#pragma once

#include <windows.h>

// Real input for toolkit tests: the toolkit reads the real cursor, so moves go
// through SetCursorPos and SendInput.
void move_cursor(int screen_x, int screen_y);
// Moves onto a client point of the window, twice, so that the window tracks the mouse.
void hover(HWND hwnd, int client_x, int client_y);
void mouse_button(bool down, bool right = false);
void click();
void double_click();
void wheel(int delta);
void key(WORD vk, bool down);
void tap(WORD vk);
// Brings the window to the foreground with the keyboard focus.
void focus_window(HWND hwnd);
