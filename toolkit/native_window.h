#pragma once

#include "toolkit/native_drop_target.h"
#include "toolkit/non_copyable_non_moveable.h"
#include "toolkit/point.h"
#include "toolkit/rect.h"
#include "toolkit/size.h"

#include <windows.h>

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

namespace qvsdk::ui {

class event_object;
class window;

// One application timer: raised as event 17 on its owner with the user id.
struct user_timer {
    std::uint32_t user_id;
    event_object* owner;
    bool one_shot;
    std::uint32_t watch_id; // the handler that drops the timer when its owner goes
};

// Window styles that the create flags of window::create stand for.
struct window_styles {
    DWORD style;
    DWORD ex_style;
    bool frameless;
    bool resizable_frameless;
};
window_styles styles_for_flags(std::uint16_t flags);

// Where a window of a given outer size goes when centred on a reference
// rectangle and kept inside a work area (all in pixels).
point centred_position(const RECT& reference, size client, size outer, const RECT& work);

// The per-HWND record of a toolkit window, reached by the window procedure
// through the handle's user data.
class native_window : non_copyable_non_moveable {
public:
    native_window();
    ~native_window();

    // rect in 96-dpi units.
    void create(HWND owner_handle, window* owner_window, const rect& r, std::uint16_t flags);
    void set_title(std::string_view text);
    // Position in physical pixels, size in 96-dpi units.
    void set_rect(const rect& r);
    // Client top-left in screen pixels, client size in 96-dpi units.
    rect get_rect() const;
    void center();
    point scale_point(point p, bool to_units) const;
    void set_timer(event_object* owner_object, std::uint32_t user_id, std::uint32_t period_ms, bool one_shot);
    void kill_timer(event_object* owner_object, std::uint32_t user_id);
    // Kills the timer with that Win32 id and forgets it.
    void drop_timer(UINT_PTR id);
    // The modal loops of one owner's popups share a hold on it: the first
    // disables the owner only when it finds it enabled, and the last to end
    // enables it again only when the first disabled it.
    void hold_owner();
    void release_owner();
    // The handle was destroyed from outside (with its owner): nothing of it is kept.
    void forget_handle();
    // Drops the timers' owner watches and the records; the Win32 timers go with the handle.
    void forget_timers();
    void save_normal_rect(bool maximised_now);
    // Grows a client size (pixels) by the frame of the current styles, unless frameless.
    size outer_size(size client) const;
    // The class name this module registered.
    static const std::wstring& class_name();

    HWND hwnd = nullptr;
    HWND held_owner = nullptr; // held by this window's modal loop
    HBRUSH background = nullptr;
    window* owner = nullptr;
    bool modal_running = false;
    bool shown = false;
    bool maximised = false;
    std::uint32_t timer_counter = 0;
    std::map<UINT_PTR, user_timer> timers;
    DWORD style = 0;
    DWORD ex_style = 0;
    bool frameless = false;
    bool resizable_frameless = false;
    std::int32_t dpi_x = 96;
    std::int32_t dpi_y = 96;
    size minimum_client{0, 0};
    size maximum_client{100000, 100000};
    rect default_rect{100, 100, 1024, 768};
    rect normal_rect;
    point applying_position{0, 0};
    native_drop_target drop_target;
    std::string title;

private:
    HRESULT ole_init;
    bool drop_registered = false;
};

} // namespace qvsdk::ui
