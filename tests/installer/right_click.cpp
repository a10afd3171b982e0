#include "right_click.h"

#include "widget_input.h"

#include <initializer_list>

void right_click(POINT at)
{
    widget_input::move_to(at.x, at.y);
    for (DWORD flag : {DWORD(MOUSEEVENTF_RIGHTDOWN), DWORD(MOUSEEVENTF_RIGHTUP)}) {
        INPUT in{};
        in.type = INPUT_MOUSE;
        in.mi.dx = MulDiv(at.x, 65536, GetSystemMetrics(SM_CXSCREEN));
        in.mi.dy = MulDiv(at.y, 65536, GetSystemMetrics(SM_CYSCREEN));
        in.mi.dwFlags = flag | MOUSEEVENTF_ABSOLUTE;
        SendInput(1, &in, sizeof(in));
        widget_input::pump_for(60);
    }
}
