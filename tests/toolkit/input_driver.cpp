#include "input_driver.h"

#include "toolkit_window_helpers.h"
#include "widget_input.h"

namespace {

void send(INPUT input)
{
    SendInput(1, &input, sizeof(INPUT));
}

} // namespace

void move_cursor(int x, int y)
{
    widget_input::move_once(x, y);
}

void hover(HWND hwnd, int cx, int cy)
{
    POINT p{cx, cy};
    ClientToScreen(hwnd, &p);
    move_cursor(p.x - 1, p.y);
    move_cursor(p.x, p.y);
    pump_for(60);
}

void mouse_button(bool down, bool right)
{
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = right ? (down ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_RIGHTUP)
                          : (down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP);
    send(in);
    pump_for(60);
}

void click()
{
    mouse_button(true);
    mouse_button(false);
}

void double_click()
{
    INPUT in[4]{};
    for (int i = 0; i < 4; ++i) {
        in[i].type = INPUT_MOUSE;
        in[i].mi.dwFlags = (i % 2 == 0) ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    }
    SendInput(4, in, sizeof(INPUT));
    pump_for(100);
}

void wheel(int delta)
{
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = MOUSEEVENTF_WHEEL;
    in.mi.mouseData = DWORD(delta);
    send(in);
    pump_for(60);
}

void key(WORD vk, bool down)
{
    down ? widget_input::key_down(vk) : widget_input::key_up(vk);
}

void tap(WORD vk)
{
    widget_input::key(vk);
    pump_for(60);
}

void focus_window(HWND hwnd)
{
    SetForegroundWindow(hwnd);
    SetActiveWindow(hwnd);
    SetFocus(hwnd);
    pump_for(150);
}
