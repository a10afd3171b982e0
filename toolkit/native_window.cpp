#include "toolkit/native_window.h"

#include "toolkit/dpi_functions.h"
#include "toolkit/event_ids.h"
#include "toolkit/event_manager.h"
#include "toolkit/text_encoding.h"
#include "toolkit/window.h"
#include "toolkit/window_procedure.h"

#include <wtsapi32.h>

#include <algorithm>

namespace qvsdk::ui {

namespace {

HINSTANCE this_module()
{
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&this_module), &module);
    return module;
}

// The magenta that stands for "no background".
constexpr COLORREF no_background = RGB(255, 0, 255);

// The modal loops that hold each owner. Popups of one owner need not end
// innermost first, so the owner is given back by the last of them, not by the
// one that happened to disable it.
struct owner_hold {
    int loops = 0;
    bool disabled = false; // the first loop found the owner enabled and disabled it
};

std::map<HWND, owner_hold>& owner_holds()
{
    static std::map<HWND, owner_hold> holds;
    return holds;
}

} // namespace

window_styles styles_for_flags(std::uint16_t flags)
{
    window_styles s{0, 0, false, false};
    if (flags & 0x80) {
        s.style = WS_CHILD | WS_CLIPCHILDREN;
        return s;
    }
    if (flags & 0x01) {
        if (flags & 0x40) {
            s.style = WS_OVERLAPPEDWINDOW;
            s.frameless = true;
            s.resizable_frameless = (flags & 0x04) != 0;
        } else {
            s.style = WS_POPUP;
        }
    } else if (flags & 0x02) {
        s.style = WS_CAPTION;
    } else {
        s.style = WS_CAPTION | WS_SYSMENU;
    }
    if (flags & 0x04)
        s.style |= WS_THICKFRAME;
    if (flags & 0x08)
        s.style |= WS_MINIMIZEBOX;
    if (flags & 0x10)
        s.style |= WS_MAXIMIZEBOX;
    if (flags & 0x20)
        s.ex_style |= WS_EX_TOPMOST;
    if (flags & 0x100)
        s.ex_style |= WS_EX_DLGMODALFRAME;
    s.style |= WS_CLIPCHILDREN;
    return s;
}

point centred_position(const RECT& reference, size client, size outer, const RECT& work)
{
    LONG x = reference.left + ((reference.right - reference.left) - client.width) / 2;
    LONG y = reference.top + ((reference.bottom - reference.top) - client.height) / 2;
    if (x + outer.width > work.right)
        x = work.right - outer.width;
    if (y + outer.height > work.bottom)
        y = work.bottom - outer.height;
    if (x < work.left)
        x = work.left + 1;
    if (y < work.top)
        y = work.top + 1;
    return {x, y};
}

const std::wstring& native_window::class_name()
{
    static const std::wstring name = [] {
        const HINSTANCE module = this_module();
        std::wstring candidate = L"QVSDK_WINDOW_CLASS";
        WNDCLASSEXW existing{};
        existing.cbSize = sizeof(existing);
        // Another module may have taken the name; the buffer holds 256 characters.
        while (candidate.size() < 255 && GetClassInfoExW(module, candidate.c_str(), &existing))
            candidate += L'0';
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
        wc.lpfnWndProc = window_procedure;
        wc.hInstance = module;
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = candidate.c_str();
        RegisterClassExW(&wc);
        return candidate;
    }();
    return name;
}

native_window::native_window() : ole_init(OleInitialize(nullptr))
{
    CoLockObjectExternal(&drop_target, TRUE, FALSE);
}

native_window::~native_window()
{
    forget_timers();
    if (drop_registered)
        RevokeDragDrop(hwnd);
    // Destroyed while its modal loop runs: the owner gets back what the loop took
    // while this window still stands, so that activation goes to the owner.
    release_owner();
    if (hwnd) {
        // Messages sent while the window goes no longer reach the toolkit window.
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        WTSUnRegisterSessionNotification(hwnd);
        DestroyWindow(hwnd);
        hwnd = nullptr;
    }
    if (background) {
        DeleteObject(background);
        background = nullptr;
    }
    CoLockObjectExternal(&drop_target, FALSE, TRUE);
    if (ole_init != RPC_E_CHANGED_MODE)
        OleUninitialize();
}

void native_window::create(HWND owner_handle, window* owner_window, const rect& r, std::uint16_t flags)
{
    owner = owner_window;
    const window_styles s = styles_for_flags(flags);
    style = s.style;
    ex_style = s.ex_style;
    frameless = s.frameless;
    resizable_frameless = s.resizable_frameless;

    HDC screen = GetDC(nullptr);
    dpi_x = GetDeviceCaps(screen, LOGPIXELSX);
    dpi_y = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    auto place = [&](const rect& units) {
        RECT area{MulDiv(units.x, dpi_x, 96), MulDiv(units.y, dpi_y, 96), 0, 0};
        area.right = area.left + MulDiv(units.width, dpi_x, 96);
        area.bottom = area.top + MulDiv(units.height, dpi_y, 96);
        if (!frameless)
            AdjustWindowRectEx(&area, style, FALSE, ex_style);
        return area;
    };
    RECT area = place(r);

    const dpi_functions& dpi = dpi_functions::get();
    DPI_AWARENESS_CONTEXT saved = dpi.get_thread_context ? dpi.get_thread_context() : nullptr;
    if (dpi.set_thread_context)
        dpi.set_thread_context(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    hwnd = CreateWindowExW(ex_style, class_name().c_str(), L"", style, area.left, area.top, area.right - area.left,
                           area.bottom - area.top, owner_handle, nullptr, this_module(), nullptr);
    if (dpi.set_thread_context && saved)
        dpi.set_thread_context(saved);

    if (dpi.get_dpi_for_window) {
        const std::int32_t window_dpi = std::int32_t(dpi.get_dpi_for_window(hwnd));
        if (window_dpi > 0 && window_dpi != dpi_x) {
            dpi_x = dpi_y = window_dpi;
            const RECT moved = place(r);
            SetWindowPos(hwnd, nullptr, moved.left, moved.top, moved.right - moved.left, moved.bottom - moved.top,
                         SWP_FRAMECHANGED | SWP_NOACTIVATE | SWP_NOZORDER);
        }
    }

    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    WTSRegisterSessionNotification(hwnd, NOTIFY_FOR_THIS_SESSION);
    if (!drop_target.handle()) {
        drop_target.attach(this, hwnd);
        drop_registered = SUCCEEDED(RegisterDragDrop(hwnd, &drop_target));
    }

    default_rect = get_rect();
    RECT outer{};
    GetWindowRect(hwnd, &outer);
    normal_rect = rect(outer.left, outer.top, default_rect.width, default_rect.height);
    background = CreateSolidBrush(no_background);
    if (frameless)
        SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
}

void native_window::set_title(std::string_view text)
{
    title = std::string(text);
    SetWindowTextW(hwnd, qvsdk::utf8_to_wide(text).c_str());
}

size native_window::outer_size(size client) const
{
    RECT area{0, 0, client.width, client.height};
    if (!frameless)
        AdjustWindowRectEx(&area, style, FALSE, ex_style);
    return {area.right - area.left, area.bottom - area.top};
}

void native_window::set_rect(const rect& r)
{
    maximised = false;
    applying_position = {r.x, r.y};
    std::int32_t dpi = dpi_x;
    size outer = outer_size({MulDiv(r.width, dpi_x, 96), MulDiv(r.height, dpi_y, 96)});
    SetWindowPos(hwnd, nullptr, r.x, r.y, outer.width, outer.height, SWP_NOACTIVATE | SWP_NOZORDER);
    // A WM_DPICHANGED during the move changes the DPI: size again until it holds.
    for (int guard = 0; dpi != dpi_x && guard < 8; ++guard) {
        dpi = dpi_x;
        outer = outer_size({MulDiv(r.width, dpi_x, 96), MulDiv(r.height, dpi_y, 96)});
        SetWindowPos(hwnd, nullptr, 0, 0, outer.width, outer.height, SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE);
    }
    applying_position = {0, 0};
}

rect native_window::get_rect() const
{
    RECT client{};
    GetClientRect(hwnd, &client);
    POINT origin{0, 0};
    ClientToScreen(hwnd, &origin);
    return rect(origin.x, origin.y, MulDiv(client.right, 96, dpi_x), MulDiv(client.bottom, 96, dpi_y));
}

void native_window::center()
{
    const rect r = get_rect();
    const size client{MulDiv(r.width, dpi_x, 96), MulDiv(r.height, dpi_y, 96)};
    HWND owner_handle = GetWindow(hwnd, GW_OWNER);
    RECT reference{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (owner_handle && owner_handle != GetDesktopWindow())
        GetWindowRect(owner_handle, &reference);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(owner_handle ? owner_handle : hwnd, MONITOR_DEFAULTTONEAREST), &monitor);
    const point p = centred_position(reference, client, outer_size(client), monitor.rcWork);
    SetWindowPos(hwnd, nullptr, p.x, p.y, 0, 0, SWP_NOZORDER | SWP_NOSIZE);
}

point native_window::scale_point(point p, bool to_units) const
{
    if (to_units)
        return {MulDiv(p.x, 96, dpi_x), MulDiv(p.y, 96, dpi_y)};
    return {MulDiv(p.x, dpi_x, 96), MulDiv(p.y, dpi_y, 96)};
}

void native_window::set_timer(event_object* owner_object, std::uint32_t user_id, std::uint32_t period_ms,
                              bool one_shot)
{
    for (const auto& [id, t] : timers)
        if (t.owner == owner_object && t.user_id == user_id)
            return;
    const UINT_PTR id = ++timer_counter;
    // Ticks must not outlive the owner and reach whatever comes to live at its address.
    const std::uint32_t watch = event_manager::instance().subscribe(
        owner_object, owner, destroyed_event, [this, id](const event_info&) { drop_timer(id); });
    timers[id] = {user_id, owner_object, one_shot, watch};
    SetTimer(hwnd, id, period_ms, nullptr);
}

void native_window::kill_timer(event_object* owner_object, std::uint32_t user_id)
{
    for (const auto& [id, t] : timers) {
        if (t.owner == owner_object && t.user_id == user_id) {
            drop_timer(id);
            return;
        }
    }
}

void native_window::drop_timer(UINT_PTR id)
{
    auto it = timers.find(id);
    if (it == timers.end())
        return;
    KillTimer(hwnd, id);
    event_manager::instance().remove_handler(it->second.watch_id);
    timers.erase(it);
}

void native_window::hold_owner()
{
    if (held_owner || !hwnd)
        return;
    HWND owner_handle = GetWindow(hwnd, GW_OWNER);
    if (!owner_handle || owner_handle == GetDesktopWindow())
        return;
    owner_hold& hold = owner_holds()[owner_handle];
    if (hold.loops++ == 0) {
        hold.disabled = IsWindowEnabled(owner_handle) != FALSE;
        if (hold.disabled)
            EnableWindow(owner_handle, FALSE);
    }
    held_owner = owner_handle;
}

void native_window::release_owner()
{
    if (!held_owner)
        return;
    HWND owner_handle = held_owner;
    held_owner = nullptr;
    const auto hold = owner_holds().find(owner_handle);
    if (hold == owner_holds().end() || --hold->second.loops > 0)
        return;
    const bool disabled = hold->second.disabled;
    owner_holds().erase(hold);
    if (!disabled)
        return;
    EnableWindow(owner_handle, TRUE);
    SetFocus(owner_handle);
}

void native_window::forget_handle()
{
    if (drop_registered) {
        RevokeDragDrop(hwnd);
        drop_registered = false;
    }
    WTSUnRegisterSessionNotification(hwnd);
    // The system killed the timers with the handle.
    forget_timers();
    hwnd = nullptr;
}

void native_window::forget_timers()
{
    for (const auto& [id, t] : timers)
        event_manager::instance().remove_handler(t.watch_id);
    timers.clear();
}

void native_window::save_normal_rect(bool maximised_now)
{
    if (maximised_now || maximised_now != maximised) {
        maximised = maximised_now;
        return;
    }
    default_rect = get_rect();
    RECT outer{};
    GetWindowRect(hwnd, &outer);
    normal_rect = rect(outer.left, outer.top, std::max(default_rect.width, minimum_client.width),
                       std::max(default_rect.height, minimum_client.height));
}

} // namespace qvsdk::ui
