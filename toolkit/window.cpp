#include "toolkit/window.h"

#include "toolkit/cursor.h"
#include "toolkit/dpi_scaling.h"
#include "toolkit/event_ids.h"
#include "toolkit/event_manager.h"
#include "toolkit/ime_context.h"
#include "toolkit/mouse_capture.h"
#include "toolkit/render_context.h"
#include "toolkit/tooltip.h"

#include <imm.h>

#include <algorithm>

namespace qvsdk::ui {

namespace {

bool inside_inclusive(point p, const rect& r)
{
    return p.x >= r.x && p.x <= r.x + r.width && p.y >= r.y && p.y <= r.y + r.height;
}

} // namespace

window::window() : native(std::make_unique<native_window>())
{
    root_widget.set_name("BaseWidget");
    set_cursor(0);
}

window::~window()
{
    event_manager::instance().dispatch(this, destroyed_event, 2, 1, nullptr, 0);
    event_manager::instance().unregister(this);
    if (captured_widget() && captured_widget()->window() == this)
        release_mouse();
    // Widgets that outlive the window must not reach back into it.
    for (widget* w : widget_list)
        w->detach_from_window();
    root_widget.detach_from_window();
    widget_list.clear();
    tooltips.clear();
    tip.reset();
    input_method.reset();
    drawing.reset();
    native.reset();
}

void window::on_user_message(std::uint64_t, std::uintptr_t) {}

void window::raise_on(event_object* target, std::uint32_t id, void* data, std::uint64_t extra)
{
    event_manager::instance().dispatch(target, id, 2, 1, data, extra);
}

void window::create(std::string_view title, const rect& r, std::uint16_t flags)
{
    native->create(owner ? owner->handle() : nullptr, this, r, flags);
    native->set_title(title);
    root_widget.set_name("BaseWidget");
    root_widget.attach(this, nullptr, rect(0, 0, r.width, r.height));
    focused = &root_widget;
    drawing.reset();
    drawing = std::make_unique<render_context>(native->hwnd);
    drawing->set_dpi(float(native->dpi_x), float(native->dpi_y));
    input_method = std::make_unique<ime_context>(native->hwnd);
    ImmAssociateContext(native->hwnd, nullptr);
    raise_on(this, created_event);
    created = true;
}

int window::run_modal()
{
    modal_result = 0;
    raise_on(this, shown_event);
    native->hold_owner();
    if (!IsWindowVisible(native->hwnd)) {
        ShowWindow(native->hwnd, SW_SHOW);
        UpdateWindow(native->hwnd);
    }
    native->modal_running = true;
    raise_on(this, modal_entered_event);
    bool quit = false;
    WPARAM quit_code = 0;
    // The record can go while a handler runs; keep nothing but the flag's owner.
    while (native->modal_running) {
        WaitMessage();
        MSG msg;
        while (native->modal_running && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                // The application is ending: close this loop as the close box
                // would, and leave the quit for the loop outside.
                quit = true;
                quit_code = msg.wParam;
                release_ended_modal();
                break;
            }
            if (msg.message == WM_KEYDOWN && input_method && input_method->is_composing())
                input_method->record_key(msg.hwnd);
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    raise_on(this, hidden_event);
    if (quit)
        PostQuitMessage(int(quit_code));
    return modal_result;
}

void window::release_ended_modal()
{
    native->modal_running = false;
    native->release_owner();
    if (IsWindowVisible(native->hwnd))
        ShowWindow(native->hwnd, SW_HIDE);
}

void window::end_modal(int result)
{
    modal_result = result;
    raise_on(this, hidden_event);
    release_ended_modal();
}

void window::on_close()
{
    if (event_manager::instance().dispatch(this, close_event, 2, 1, nullptr, 0))
        return;
    release_ended_modal();
}

void window::on_destroyed()
{
    // Destroyed from outside (with its owner): the loop ends as a close ends it.
    if (native->modal_running)
        release_ended_modal();
}

void window::set_focus(widget* w, std::int32_t reason)
{
    if (w == focused)
        return;
    widget* old = focused;
    if (old)
        raise_on(old, focus_lost_event, reinterpret_cast<void*>(std::intptr_t(reason)),
                 reinterpret_cast<std::uintptr_t>(w));
    focused = w;
    if (w && w->is_usable())
        raise_on(w, focus_gained_event, reinterpret_cast<void*>(std::intptr_t(reason)));
}

namespace {

bool can_take_focus(const widget* w)
{
    return w->is_focusable() && w->is_usable() && w->is_visible(true);
}

} // namespace

void window::focus_next()
{
    if (!focused)
        focused = &root_widget;
    auto start = std::find(widget_list.begin(), widget_list.end(), focused);
    if (widget_list.empty() || start == widget_list.end())
        return;
    const std::size_t count = widget_list.size();
    const std::size_t from = std::size_t(start - widget_list.begin());
    for (std::size_t step = 1; step < count; ++step) {
        widget* candidate = widget_list[(from + step) % count];
        if (can_take_focus(candidate)) {
            set_focus(candidate, 1);
            return;
        }
    }
}

void window::focus_previous()
{
    if (!focused)
        focused = &root_widget;
    auto start = std::find(widget_list.begin(), widget_list.end(), focused);
    if (widget_list.empty() || start == widget_list.end())
        return;
    const std::size_t count = widget_list.size();
    std::size_t from = std::size_t(start - widget_list.begin());
    if (!widget_list[from]->is_focusable()) {
        for (std::size_t i = from; i-- > 0;) {
            if (widget_list[i]->is_focusable()) {
                from = i;
                break;
            }
        }
    }
    for (std::size_t step = 1; step <= count; ++step) {
        widget* candidate = widget_list[(from + count - step) % count];
        if (can_take_focus(candidate)) {
            if (candidate != focused)
                set_focus(candidate, 1);
            return;
        }
    }
}

void window::remember_widget(widget* w)
{
    if (std::find(widget_list.begin(), widget_list.end(), w) == widget_list.end())
        widget_list.push_back(w);
}

void window::forget_widget(widget* w)
{
    if (focused == w)
        focused = nullptr;
    if (hovered == w) {
        hovered = nullptr;
        pressed_while_hovering = false;
    }
    if (drag_target == w)
        drag_target = nullptr;
    if (wheel_target == w)
        wheel_target = nullptr;
    if (caption == w)
        caption = nullptr;
    if (hover_owner == w)
        hover_owner = nullptr;
    remove_tooltip(w);
    widget_list.erase(std::remove(widget_list.begin(), widget_list.end(), w), widget_list.end());
}

void window::invalidate_units(const unit_box& box, bool update_now)
{
    if (painting_suspended || !native->hwnd)
        return;
    const RECT pixels = units_to_pixels(box, native->dpi_x, native->dpi_y);
    InvalidateRect(native->hwnd, &pixels, FALSE);
    if (update_now)
        UpdateWindow(native->hwnd);
}

void window::on_client_resized(size pixels)
{
    if (created && drawing) {
        drawing->resize(std::uint32_t(pixels.width), std::uint32_t(pixels.height));
        drawing->set_dpi(float(native->dpi_x), float(native->dpi_y));
    }
    size units{MulDiv(pixels.width, 96, native->dpi_x), MulDiv(pixels.height, 96, native->dpi_y)};
    route_input(resized_event, &units, 0);
}

void window::on_dpi_changed(size pixels, std::int32_t dpi)
{
    if (created && drawing) {
        drawing->set_dpi(float(dpi), float(dpi));
        drawing->resize(std::uint32_t(pixels.width), std::uint32_t(pixels.height));
    }
    size units{MulDiv(pixels.width, 96, dpi), MulDiv(pixels.height, 96, dpi)};
    route_input(dpi_changed_event, &units, 0);
}

void window::on_paint()
{
    RECT update{};
    if (GetUpdateRect(native->hwnd, &update, FALSE) && drawing) {
        paint_origin = {0, 0};
        paint_scale = 1.0f;
        paint_tree(root_widget, pixels_to_units(update, native->dpi_x, native->dpi_y));
    }
    ValidateRect(native->hwnd, nullptr);
}

void window::paint_tree(widget& w, const unit_box& update)
{
    if (!w.is_visible(true))
        return;
    const point kept_origin = paint_origin;
    const float kept_scale = paint_scale;
    paint_scale = kept_scale * (w.parent() ? w.parent()->scale() : 1.0f);
    const unit_box box = child_box(kept_origin, paint_scale, w);
    paint_origin = {box.left, box.top};
    if (update.left < box.right && update.top < box.bottom && box.left < update.right && box.top < update.bottom) {
        // Compared in units; the clip goes to the target in its pixels.
        drawing->begin_widget(w, units_to_pixels(update, native->dpi_x, native->dpi_y));
        // A throwing paint handler must still pop its clips and end the frame,
        // or every later paint of the window draws into a frame never ended.
        struct end_on_exit {
            render_context& context;
            ~end_on_exit() { context.end_widget(); }
        } ender{*drawing};
        raise_on(&w, paint_event);
        const std::vector<widget*> children = w.children();
        for (widget* child : children)
            paint_tree(*child, update);
    }
    paint_origin = kept_origin;
    paint_scale = kept_scale;
}

void window::on_timer(UINT_PTR id)
{
    if (id == hover_timer_id) {
        on_hover_tick();
        return;
    }
    if (id == animation_timer_id)
        return;
    auto it = native->timers.find(id);
    if (it == native->timers.end())
        return;
    const user_timer t = it->second;
    if (t.one_shot)
        native->drop_timer(id);
    raise_on(t.owner, timer_event, reinterpret_cast<void*>(std::uintptr_t(t.user_id)));
}

void window::on_capture_lost()
{
    widget* c = captured_widget();
    if (c && c->window() == this)
        clear_captured_widget();
}

std::size_t window::tooltip_count(widget* w) const
{
    auto it = tooltips.find(w);
    return it == tooltips.end() ? 0 : it->second.size();
}

void window::set_tooltip(widget* w, const rect& area, std::string title, std::string text)
{
    if (title.empty() && text.empty())
        return;
    if (tooltips.empty()) {
        tip.reset();
        tip = std::make_unique<tooltip>();
        tip->set_owner(this);
        tip->create("", rect(0, 0, 400, 200), window_popup | window_topmost);
        tooltip* t = tip.get();
        event_manager::instance().subscribe(&t->root(), t, paint_event, [t](const event_info&) { t->paint(); });
        if (tooltips_enabled)
            SetTimer(native->hwnd, hover_timer_id, 100, nullptr);
    }
    tooltips[w].push_back({area, std::move(title), std::move(text)});
}

void window::remove_tooltip(widget* w)
{
    hide_tooltip_of(w);
    if (tooltips.erase(w) && tooltips.empty() && native && native->hwnd)
        KillTimer(native->hwnd, hover_timer_id);
}

void window::hide_tooltip_of(widget* w)
{
    if (!tip || !w)
        return;
    for (widget* shown_for = tip->styled_by(); shown_for; shown_for = shown_for->parent()) {
        if (shown_for == w) {
            hide_tooltip();
            // The tooltip repaints from its theme widget: it must not outlive it.
            tip->forget_theme_widget();
            return;
        }
    }
}

void window::hide_tooltip()
{
    if (!tip || !tip->native_record().shown)
        return;
    ShowWindow(tip->handle(), SW_HIDE);
    tip->native_record().shown = false;
    raise_on(tip.get(), hidden_event);
}

void window::show_tooltip(const tooltip_entry& entry, widget* theme_source)
{
    point p = native->scale_point(cursor_position(nullptr), false);
    p.x += 5;
    p.y += 20;
    tip->set_content(p, entry.title, entry.text, theme_source);
    RECT r{};
    GetWindowRect(tip->handle(), &r);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST), &monitor);
    const point kept = kept_in_work_area(r, monitor.rcWork);
    SetWindowPos(tip->handle(), nullptr, kept.x, kept.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void window::on_hover_tick()
{
    widget* h = hovered;
    // A widget hidden or disabled under a resting cursor stays hovered until the
    // next move, but shows no help.
    if (h && !(h->is_visible(true) && h->is_usable()))
        h = nullptr;
    if (h != hover_owner) {
        hover_time = 0;
        hover_owner = h;
        hide_tooltip();
    } else if (h) {
        auto it = tooltips.find(h);
        if (it != tooltips.end() && tip) {
            const point c = cursor_position(h);
            bool in_some = false;
            for (const tooltip_entry& e : it->second) {
                const rect area = e.area.is_zero() ? rect(0, 0, h->width(), h->height()) : e.area;
                if (!inside_inclusive(c, area))
                    continue;
                in_some = true;
                if (area == hover_area) {
                    if (hover_time > 0.75f && hover_time < 6.0f && !tip->native_record().shown
                        && !pressed_while_hovering)
                        show_tooltip(e, h);
                } else {
                    hover_time = 0;
                    hover_area = area;
                    hide_tooltip();
                }
                break;
            }
            if (!in_some) {
                hover_time = 0;
                hide_tooltip();
            }
        }
    }
    hover_time += 0.1f;
}

} // namespace qvsdk::ui
