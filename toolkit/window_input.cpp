#include "toolkit/window.h"

#include "toolkit/cursor.h"
#include "toolkit/event_ids.h"
#include "toolkit/event_manager.h"
#include "toolkit/mouse_capture.h"
#include "toolkit/tooltip.h"

#include <cstdlib>

namespace qvsdk::ui {

namespace {

double now_ms()
{
    LARGE_INTEGER counter{}, frequency{};
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return double(counter.QuadPart) * 1000.0 / double(frequency.QuadPart);
}

bool shift_down()
{
    return (GetKeyState(VK_LSHIFT) & 0x8000) || (GetKeyState(VK_RSHIFT) & 0x8000) || (GetKeyState(VK_SHIFT) & 0x8000);
}

} // namespace

widget* window::first_enabled_up(widget* w)
{
    while (w && !w->is_usable())
        w = w->parent();
    return w;
}

widget* window::hit_test(point p)
{
    if (widget* c = captured_widget())
        return c;
    if (!root_widget.is_visible(true) || p.x < 0 || p.y < 0 || p.x >= root_widget.width()
        || p.y >= root_widget.height())
        return nullptr;
    widget* current = &root_widget;
    point origin{0, 0};
    float g = root_widget.scale();
    for (;;) {
        widget* next = nullptr;
        const auto& kids = current->children();
        for (auto it = kids.rbegin(); it != kids.rend(); ++it) {
            widget* child = *it;
            if (!child->is_visible(true))
                continue;
            const unit_box b = child_box(origin, g, *child);
            if (p.x >= b.left && p.x < b.right && p.y >= b.top && p.y < b.bottom) {
                next = child;
                origin = {b.left, b.top};
                g *= child->scale();
                break;
            }
        }
        if (!next)
            return current;
        current = next;
    }
}

void window::route_press(std::uint32_t id, void* data)
{
    widget* c = captured_widget();
    if (c && c->is_usable()) {
        raise_on(c, id, data);
        return;
    }
    widget* under = hit_test(cursor_position(&root_widget));
    if (under && under->is_usable()) {
        set_focus(under, 0);
        raise_on(under, id, data);
    }
    pressed_while_hovering = true;
    hide_tooltip();
    raise_on(this, id, data);
    swallow_release = id == double_click_event;
}

void window::route_wheel(void* data)
{
    if (GetFocus() != native->hwnd)
        return;
    const point c = cursor_position(&root_widget);
    widget* found = hit_test(c);
    while (found && !(found->is_usable() && event_manager::instance().has_handler(found, wheel_event)))
        found = found->parent();
    if (found) {
        const double now = now_ms();
        // A scrolled list keeps the wheel until it rests 400 ms or the pointer moves away.
        if (found != wheel_target
            && (now - last_wheel_time >= 400.0 || std::abs(c.x - last_wheel_position.x) > 10
                || std::abs(c.y - last_wheel_position.y) > 10))
            wheel_target = found;
        if (wheel_target)
            raise_on(wheel_target, wheel_event, data);
        last_wheel_time = now;
    }
    last_wheel_position = c;
    raise_on(this, wheel_event, data);
}

void window::route_move()
{
    widget* c = captured_widget();
    if (c && c->is_usable()) {
        raise_on(c, mouse_move_event);
        return;
    }
    widget* under = hit_test(cursor_position(&root_widget));
    if (under == hovered) {
        if (widget* h = first_enabled_up(hovered))
            raise_on(h, mouse_move_event);
    } else {
        if (widget* h = first_enabled_up(hovered))
            raise_on(h, mouse_leave_event);
        if (widget* u = first_enabled_up(under))
            raise_on(u, mouse_enter_event);
    }
    if (under != first_enabled_up(hovered))
        pressed_while_hovering = false;
    hovered = under;
    raise_on(this, mouse_move_event);
}

void window::route_drop(void* data, std::uint64_t kind)
{
    widget* under = hit_test(cursor_position(&root_widget));
    widget* target = drag_target;
    if (kind == 0) {
        if (under && under->is_usable())
            raise_on(under, files_event, data, 0);
    } else if (under != target) {
        if (kind == 1) {
            if (under && under->is_usable()) {
                if (target)
                    raise_on(target, files_event, nullptr, 2);
                raise_on(under, files_event, nullptr, 1);
                drag_target = under;
            }
        } else {
            if (target && target->is_usable()) {
                raise_on(target, files_event, nullptr, 2);
                drag_target = nullptr;
            }
        }
    }
    // The window hears every step, with the kind, so it can tell a drop from a drag.
    raise_on(this, files_event, kind == 0 ? data : nullptr, kind);
}

bool window::route_input(std::uint32_t id, void* data, std::uint64_t extra)
{
    switch (id) {
    case button_up_event: {
        if (swallow_release) {
            swallow_release = false;
            break;
        }
        widget* c = captured_widget();
        if (c && c->is_usable()) {
            raise_on(c, id, data);
            break;
        }
        widget* under = hit_test(cursor_position(&root_widget));
        if (under && under->is_usable())
            raise_on(under, id, data);
        raise_on(this, id, data);
        break;
    }
    case button_down_event:
    case double_click_event:
        route_press(id, data);
        break;
    case wheel_event:
        route_wheel(data);
        break;
    case mouse_leave_event:
        if (widget* h = first_enabled_up(hovered))
            raise_on(h, mouse_leave_event);
        hovered = nullptr;
        pressed_while_hovering = false;
        break;
    case mouse_move_event:
        route_move();
        break;
    case char_event:
        if (tab_navigation && reinterpret_cast<std::uintptr_t>(data) == 9) {
            if (shift_down())
                focus_previous();
            else
                focus_next();
            raise_on(this, id, data);
            break;
        }
        [[fallthrough]];
    case key_down_event:
    case key_raw_event:
    case key_up_event:
        if (focused && focused->is_usable())
            raise_on(focused, id, data);
        raise_on(this, id, data);
        break;
    case resized_event:
    case dpi_changed_event: {
        const size s = *static_cast<const size*>(data);
        const size minimum = root_widget.minimum_size();
        root_widget.set_rect(rect(0, 0, std::max(s.width, minimum.width), std::max(s.height, minimum.height)), true);
        raise_on(this, id, nullptr);
        break;
    }
    case focus_gained_event:
    case focus_lost_event:
        if (focused && focused->is_usable())
            raise_on(focused, id, nullptr);
        raise_on(this, id, nullptr);
        break;
    case files_event:
        route_drop(data, extra);
        break;
    case ime_event:
        if (focused && focused->is_usable())
            raise_on(focused, id, data);
        break;
    case session_locked_event:
    case session_unlocked_event:
        raise_on(this, id, nullptr);
        break;
    default:
        break;
    }
    return true;
}

} // namespace qvsdk::ui
