#include "right_click.h"

#include "widget_input.h"

#include <initializer_list>
#include <string>

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

HWND open_menu()
{
    HWND found = nullptr;
    EnumWindows(
        [](HWND w, LPARAM out) -> BOOL {
            wchar_t name[16] = {};
            GetClassNameW(w, name, 16);
            if (IsWindowVisible(w) && std::wstring(name) == L"#32768") {
                *reinterpret_cast<HWND*>(out) = w;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}
