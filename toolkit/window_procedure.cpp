#include "toolkit/window_procedure.h"

#include "toolkit/cursor.h"
#include "toolkit/dpi_functions.h"
#include "toolkit/event_ids.h"
#include "toolkit/event_manager.h"
#include "toolkit/ime_context.h"
#include "toolkit/native_window.h"
#include "toolkit/render_context.h"
#include "toolkit/window.h"

#include <shellapi.h>
#include <windowsx.h>
#include <wtsapi32.h>

#include <cstdint>

namespace qvsdk::ui {

namespace {

void route(window& w, std::uint32_t id, std::uintptr_t data = 0, std::uint64_t extra = 0)
{
    w.route_input(id, reinterpret_cast<void*>(data), extra);
}

void route_key_down(window& w, WPARAM wparam, LPARAM lparam)
{
    route(w, key_down_event, wparam);
    std::uint32_t raw[2] = {std::uint32_t(wparam), std::uint32_t(lparam)};
    w.route_input(key_raw_event, raw, 0);
}

void route_double_click(window& w, std::uintptr_t button)
{
    widget* under = w.hit_test(cursor_position(&w.root()));
    const auto& events = event_manager::instance();
    const bool wanted = (under && under->is_usable() && events.has_handler(under, double_click_event))
                        || events.has_handler(&w, double_click_event);
    route(w, wanted ? double_click_event : button_down_event, button);
}

LRESULT on_erase_background(native_window& record, HWND hwnd, HDC dc, WPARAM wparam, LPARAM lparam)
{
    LOGBRUSH brush{};
    GetObjectW(record.background, sizeof(brush), &brush);
    if (!record.background || brush.lbColor == RGB(255, 0, 255))
        return DefWindowProcW(hwnd, WM_ERASEBKGND, wparam, lparam);
    RECT client{};
    GetClientRect(hwnd, &client);
    SetMapMode(dc, MM_ANISOTROPIC);
    SetWindowExtEx(dc, 100, 100, nullptr);
    SetViewportExtEx(dc, client.right, client.bottom, nullptr);
    RECT all{0, 0, 100, 100};
    FillRect(dc, &all, record.background);
    return 1;
}

void on_min_max(native_window& record, MINMAXINFO* info)
{
    const size min_outer = record.outer_size(record.minimum_client);
    const size max_outer = record.outer_size(record.maximum_client);
    info->ptMinTrackSize = {min_outer.width, min_outer.height};
    info->ptMaxTrackSize = {max_outer.width, max_outer.height};
    if (IsZoomed(record.hwnd))
        record.save_normal_rect(false);
}

LRESULT on_nc_calc_size(HWND hwnd, WPARAM wparam, LPARAM lparam)
{
    auto* params = reinterpret_cast<NCCALCSIZE_PARAMS*>(lparam);
    const RECT proposed = params->rgrc[0];
    DefWindowProcW(hwnd, WM_NCCALCSIZE, wparam, lparam);
    if (!IsZoomed(hwnd)) {
        params->rgrc[0] = proposed;
        return 0;
    }
    RECT& client = params->rgrc[0];
    client.top = proposed.top + (proposed.bottom - client.bottom);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(hwnd, MONITOR_DEFAULTTOPRIMARY), &monitor);
    if (EqualRect(&client, &monitor.rcMonitor) && monitor.rcMonitor.left == 0 && monitor.rcMonitor.top == 0) {
        // Leave a pixel on the auto-hide taskbar's edge so it can still be revealed.
        const struct {
            UINT edge;
            LONG RECT::*side;
            LONG step;
        } edges[] = {{ABE_BOTTOM, &RECT::bottom, -1}, {ABE_LEFT, &RECT::left, 1}, {ABE_TOP, &RECT::top, 1},
                     {ABE_RIGHT, &RECT::right, -1}};
        for (const auto& e : edges) {
            APPBARDATA bar{};
            bar.cbSize = sizeof(bar);
            bar.uEdge = e.edge;
            bar.rc = monitor.rcMonitor;
            if (SHAppBarMessage(ABM_GETAUTOHIDEBAR, &bar)) {
                client.*e.side += e.step;
                break;
            }
        }
    }
    return 0;
}

LRESULT on_nc_hit_test(window& w, native_window& record, HWND hwnd, WPARAM wparam, LPARAM lparam)
{
    const int padding = GetSystemMetrics(SM_CXPADDEDBORDER);
    const int border_x = padding + GetSystemMetrics(SM_CXFRAME);
    const int border_y = padding + GetSystemMetrics(SM_CYFRAME);
    if (border_x == 0 || border_y == 0)
        return DefWindowProcW(hwnd, WM_NCHITTEST, wparam, lparam);
    const POINT p{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
    if (record.resizable_frameless) {
        RECT outer{};
        GetWindowRect(hwnd, &outer);
        const LRESULT border = frameless_border_hit(outer, p, border_x, border_y);
        if (border != HTCLIENT)
            return border;
    }
    widget* under = w.hit_test(cursor_position(&w.root()));
    while (under && !under->is_usable())
        under = under->parent();
    return under && under == w.caption_widget() ? HTCAPTION : HTCLIENT;
}

void on_dpi_changed(window& w, native_window& record, WPARAM wparam, LPARAM lparam)
{
    const std::int32_t dpi = LOWORD(wparam);
    record.dpi_x = record.dpi_y = dpi;
    const RECT* suggested = reinterpret_cast<const RECT*>(lparam);
    const bool applying = record.applying_position.x != 0 || record.applying_position.y != 0;
    const int x = applying ? record.applying_position.x : suggested->left;
    const int y = applying ? record.applying_position.y : suggested->top;
    SetWindowPos(record.hwnd, nullptr, x, y, suggested->right - suggested->left, suggested->bottom - suggested->top,
                 SWP_FRAMECHANGED | SWP_NOACTIVATE | SWP_NOZORDER);
    RECT client{};
    GetClientRect(record.hwnd, &client);
    w.on_dpi_changed({client.right, client.bottom}, dpi);
    if (record.frameless && IsZoomed(record.hwnd)) {
        // Restore and maximise again so that the frame is computed for the new DPI.
        record.maximised = false;
        SendMessageW(record.hwnd, WM_SYSCOMMAND, SC_RESTORE, 0);
        record.maximised = false;
        SendMessageW(record.hwnd, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    }
}

} // namespace

LRESULT frameless_border_hit(const RECT& r, POINT p, int bx, int by)
{
    const bool left = p.x < r.left + bx;
    const bool right = p.x >= r.right - bx;
    const bool top = p.y < r.top + by;
    const bool bottom = p.y >= r.bottom - by;
    if (top && left)
        return HTTOPLEFT;
    if (right)
        return top ? HTTOPRIGHT : bottom ? HTBOTTOMRIGHT : HTRIGHT;
    if (left)
        return bottom ? HTBOTTOMLEFT : HTLEFT;
    if (top)
        return HTTOP;
    if (bottom)
        return HTBOTTOM;
    return HTCLIENT;
}

LRESULT CALLBACK window_procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam)
{
    auto* record = reinterpret_cast<native_window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!record || !record->owner)
        return DefWindowProcW(hwnd, message, wparam, lparam);
    window& w = *record->owner;

    switch (message) {
    case WM_SIZE: {
        if (wparam == SIZE_MAXIMIZED)
            record->maximised = true;
        else if (wparam == SIZE_RESTORED)
            record->save_normal_rect(false);
        w.on_client_resized({LOWORD(lparam), HIWORD(lparam)});
        return 0;
    }
    case WM_SETFOCUS:
        route(w, focus_gained_event);
        return 0;
    case WM_KILLFOCUS:
        route(w, focus_lost_event);
        return 0;
    case WM_PAINT:
        w.on_paint();
        return 0;
    case WM_CLOSE:
        w.on_close();
        return 1;
    case WM_DESTROY:
        w.on_destroyed();
        return 0;
    case WM_NCDESTROY:
        record->forget_handle();
        return DefWindowProcW(hwnd, message, wparam, lparam);
    case WM_ERASEBKGND:
        return on_erase_background(*record, hwnd, reinterpret_cast<HDC>(wparam), wparam, lparam);
    case WM_SETCURSOR:
        // Once the mouse is tracked the widgets choose the cursor in the client area.
        if (!w.is_mouse_tracked() || LOWORD(lparam) != HTCLIENT)
            return DefWindowProcW(hwnd, message, wparam, lparam);
        return 0;
    case WM_GETMINMAXINFO:
        on_min_max(*record, reinterpret_cast<MINMAXINFO*>(lparam));
        return 0;
    case WM_INPUTLANGCHANGE:
        if (w.ime())
            w.ime()->on_input_language_changed();
        return 0;
    case WM_NCCALCSIZE:
        if (!record->frameless || !wparam)
            return DefWindowProcW(hwnd, message, wparam, lparam);
        return on_nc_calc_size(hwnd, wparam, lparam);
    case WM_MOVE:
    case WM_COMMAND:
        return 0;
    case WM_NCHITTEST:
        if (!record->frameless)
            return DefWindowProcW(hwnd, message, wparam, lparam);
        return on_nc_hit_test(w, *record, hwnd, wparam, lparam);
    case WM_NCACTIVATE:
        return DefWindowProcW(hwnd, message, wparam, record->frameless ? -1 : lparam);
    case WM_KEYDOWN:
        route_key_down(w, wparam, lparam);
        return 0;
    case WM_SYSKEYDOWN:
        // Routed, and then the system's own handling, so that Alt+F4 and the
        // system menu keys still work.
        route_key_down(w, wparam, lparam);
        return DefWindowProcW(hwnd, message, wparam, lparam);
    case WM_KEYUP:
        route(w, key_up_event, wparam);
        return 0;
    case WM_SYSKEYUP:
        route(w, key_up_event, wparam);
        return DefWindowProcW(hwnd, message, wparam, lparam);
    case WM_CHAR:
        route(w, char_event, wparam);
        return 0;
    case WM_IME_STARTCOMPOSITION:
        if (w.ime())
            w.ime()->on_start_composition(w);
        return 0;
    case WM_IME_ENDCOMPOSITION:
        if (w.ime())
            w.ime()->on_end_composition(w, lparam);
        return 0;
    case WM_IME_COMPOSITION:
        if (w.ime())
            w.ime()->on_composition(w, lparam);
        return 0;
    case WM_IME_SETCONTEXT:
        return DefWindowProcW(hwnd, message, wparam, lparam & ~LPARAM(0x80000000u));
    case WM_TIMER:
        w.on_timer(wparam);
        return 0;
    case WM_MENUCHAR:
        return LOWORD(wparam) == 32 ? 0 : MNC_CLOSE << 16;
    case WM_MOUSEMOVE: {
        const dpi_functions& dpi = dpi_functions::get();
        const std::int32_t d = dpi.get_dpi_for_window ? std::int32_t(dpi.get_dpi_for_window(hwnd)) : record->dpi_x;
        set_cursor_dpi(d, d);
        if (w.is_mouse_tracked()) {
            route(w, mouse_move_event);
            return 0;
        }
        w.set_mouse_tracked(true);
        TRACKMOUSEEVENT track{};
        track.cbSize = sizeof(track);
        track.dwFlags = TME_LEAVE;
        track.hwndTrack = hwnd;
        track.dwHoverTime = HOVER_DEFAULT;
        TrackMouseEvent(&track);
        return 1;
    }
    case WM_LBUTTONDOWN:
        route(w, button_down_event, 0);
        return 0;
    case WM_LBUTTONUP:
        route(w, button_up_event, 0);
        return 0;
    case WM_RBUTTONDOWN:
        route(w, button_down_event, 2);
        return 0;
    case WM_RBUTTONUP:
        route(w, button_up_event, 2);
        return 0;
    case WM_MBUTTONDOWN:
        route(w, button_down_event, 1);
        return 0;
    case WM_MBUTTONUP:
        route(w, button_up_event, 1);
        return 0;
    case WM_XBUTTONDOWN:
    case WM_XBUTTONUP: {
        const WORD which = HIWORD(wparam);
        if (which == 1 || which == 2)
            route(w, message == WM_XBUTTONDOWN ? button_down_event : button_up_event, which == 1 ? 3 : 4);
        return 0;
    }
    case WM_LBUTTONDBLCLK:
        route_double_click(w, 0);
        return 0;
    case WM_RBUTTONDBLCLK:
        route_double_click(w, 2);
        return 0;
    case WM_MBUTTONDBLCLK:
        route_double_click(w, 1);
        return 0;
    case WM_MOUSEWHEEL: {
        double amount = GET_WHEEL_DELTA_WPARAM(wparam) * 0.5;
        w.route_input(wheel_event, &amount, 0);
        return 0;
    }
    case WM_MOUSELEAVE:
        w.set_mouse_tracked(false);
        route(w, mouse_leave_event);
        return 0;
    case WM_CAPTURECHANGED:
        // Capture taken away (another window, a menu, a drag): no widget keeps it.
        if (reinterpret_cast<HWND>(lparam) != hwnd)
            w.on_capture_lost();
        return 0;
    case WM_WTSSESSION_CHANGE:
        if (wparam == WTS_SESSION_LOCK)
            route(w, session_locked_event);
        else if (wparam == WTS_SESSION_UNLOCK)
            route(w, session_unlocked_event);
        return 0;
    case WM_DPICHANGED:
        on_dpi_changed(w, *record, wparam, lparam);
        return 0;
    case WM_USER:
        w.on_user_message(std::uint64_t(lparam), std::uintptr_t(wparam));
        return 0;
    default:
        return DefWindowProcW(hwnd, message, wparam, lparam);
    }
}

} // namespace qvsdk::ui
