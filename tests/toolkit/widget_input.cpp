#include "widget_input.h"

namespace widget_input {

namespace {

void send_mouse(DWORD flags, int x, int y, DWORD data = 0)
{
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = MulDiv(x, 65536, GetSystemMetrics(SM_CXSCREEN));
    in.mi.dy = MulDiv(y, 65536, GetSystemMetrics(SM_CYSCREEN));
    in.mi.mouseData = data;
    in.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &in, sizeof(in));
}

void send_key(WORD vk, DWORD flags)
{
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = WORD(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    in.ki.dwFlags = flags;
    SendInput(1, &in, sizeof(in));
}

} // namespace

void move_once(int x, int y)
{
    SetCursorPos(x, y);
    send_mouse(MOUSEEVENTF_MOVE, x, y);
    pump_for(60);
}

void move_to(int x, int y)
{
    move_once(x, y);
    move_once(x, y);
}

void press(int x, int y)
{
    move_to(x, y);
    send_mouse(MOUSEEVENTF_LEFTDOWN, x, y);
    pump_for(60);
}

void release(int x, int y)
{
    SetCursorPos(x, y);
    send_mouse(MOUSEEVENTF_MOVE, x, y);
    pump_for(30);
    send_mouse(MOUSEEVENTF_LEFTUP, x, y);
    pump_for(60);
}

void click(int x, int y)
{
    press(x, y);
    release(x, y);
}

void wheel(int x, int y, int notches)
{
    move_to(x, y);
    send_mouse(MOUSEEVENTF_WHEEL, x, y, DWORD(notches * WHEEL_DELTA));
    pump_for(60);
}

void key_down(WORD vk)
{
    send_key(vk, 0);
}

void key_up(WORD vk)
{
    send_key(vk, KEYEVENTF_KEYUP);
}

void key(WORD vk)
{
    key_down(vk);
    key_up(vk);
}

void focus(HWND window)
{
    SetForegroundWindow(window);
    SetFocus(window);
    pump_for(100);
}

} // namespace widget_input
