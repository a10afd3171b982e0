#include "tests/plugin/effect_window_helpers.h"
#include "tests/toolkit/test_window.h"

#include "toolkit/native_window.h"

#include <stdexcept>

namespace {

LRESULT CALLBACK plain_procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam)
{
    return DefWindowProcW(hwnd, message, wparam, lparam);
}

const wchar_t* plain_class()
{
    static const wchar_t* name = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = plain_procedure;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
        wc.lpszClassName = L"qv_effect_host_main";
        RegisterClassW(&wc);
        return L"qv_effect_host_main";
    }();
    return name;
}

struct search {
    std::wstring title;
    HWND found = nullptr;
};

BOOL CALLBACK match_title(HWND hwnd, LPARAM data)
{
    auto* s = reinterpret_cast<search*>(data);
    DWORD process = 0;
    GetWindowThreadProcessId(hwnd, &process);
    if (process != GetCurrentProcessId() || !IsWindowVisible(hwnd))
        return TRUE;
    // Sends no message: the window's thread may be waiting for this one.
    wchar_t text[256] = {};
    InternalGetWindowText(hwnd, text, 256);
    if (s->title == text) {
        s->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

} // namespace

host_main_window::host_main_window()
{
    hwnd = CreateWindowExW(0, plain_class(), L"qv effect host", WS_POPUP | WS_VISIBLE, 0, 400, 600, 400,
                           nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!hwnd)
        throw std::runtime_error("cannot create the host's main window");
}

host_main_window::~host_main_window()
{
    DestroyWindow(hwnd);
}

HWND wait_for_window(const std::wstring& title, int timeout_ms)
{
    search s{title};
    pump_until(
        [&] {
            EnumWindows(match_title, reinterpret_cast<LPARAM>(&s));
            return s.found != nullptr;
        },
        timeout_ms);
    return s.found;
}

qvsdk::ui::message_popup* popup_of(HWND hwnd)
{
    auto* record = reinterpret_cast<qvsdk::ui::native_window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    return record ? dynamic_cast<qvsdk::ui::message_popup*>(record->owner) : nullptr;
}

POINT screen_point(HWND hwnd, int x, int y)
{
    POINT p{x, y};
    ClientToScreen(hwnd, &p);
    return p;
}
