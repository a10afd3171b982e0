#include "toolkit/scroll_bar.h"

#include "toolkit/cursor.h"
#include "toolkit/event_ids.h"
#include "toolkit/mouse_capture.h"
#include "toolkit/render_context.h"
#include "toolkit/window.h"

#include <windows.h>

#include <algorithm>

namespace qvsdk::ui {

namespace {

constexpr std::intptr_t left_button = 0;

bool contains(const rect& r, point p)
{
    return p.x >= r.x && p.y >= r.y && p.x <= r.right() && p.y <= r.bottom();
}

bool key_held(int vk)
{
    return GetKeyState(vk) < 0;
}

} // namespace

scroll_bar::scroll_bar()
{
    subscribe_own(created_event, [this](const event_info&) { on_created(); });
}

void scroll_bar::on_created()
{
    subscribe_own(paint_event, [this](const event_info&) { paint(); });
    subscribe_own(button_down_event, [this](const event_info& e) { on_down(e); });
    subscribe_own(button_up_event, [this](const event_info& e) { on_up(e); });
    subscribe_own(mouse_move_event, [this](const event_info&) { on_move(); });
    subscribe_own(wheel_event, [this](const event_info& e) { on_wheel(e); });
    subscribe_own(resized_event, [this](const event_info&) { layout_bar(); });
    layout_bar();
}

void scroll_bar::drop_target_handlers()
{
    for (const auto& [source, id] : target_handlers)
        event_manager::instance().remove_handler(id);
    target_handlers.clear();
}

void scroll_bar::set_target(widget* w)
{
    // A second target must not leave the first one's handlers behind, nor
    // subscribe a second set on the same target.
    drop_target_handlers();
    target_widget = w;
    if (w) {
        move_target(0);
        auto keep = [this](event_object* source, std::uint32_t id, event_handler h) {
            target_handlers.emplace_back(source, event_manager::instance().subscribe(source, this, id, std::move(h)));
        };
        if (is_vertical())
            keep(w, wheel_event, [this](const event_info& e) { on_wheel(e); });
        keep(w, resized_event, [this](const event_info&) { update(); });
        keep(w, moved_event, [this](const event_info&) { update(); });
        if (widget* view = w->parent())
            keep(view, resized_event, [this](const event_info&) { on_view_resized(); });
    }
    update();
}

void scroll_bar::move_target(std::int32_t coordinate)
{
    rect r = target_widget->bounds();
    if (is_vertical())
        r.y = coordinate;
    else
        r.x = coordinate;
    const size s = target_widget->at_least_minimum({r.width, r.height});
    target_widget->set_rect({r.x, r.y, s.width, s.height}, true);
}

void scroll_bar::scroll_by(std::int32_t delta)
{
    if (!target_widget)
        return;
    move_target(clamp_offset(scroll_range, along_start(target_widget->bounds()) + delta));
    raise(value_changed_event, reinterpret_cast<void*>(std::intptr_t(scrolled)));
}

void scroll_bar::scroll_to(std::int32_t value, bool exact)
{
    if (!target_widget)
        return;
    move_target(clamp_offset(scroll_range, -snap_to_step(value, step, exact)));
    raise(value_changed_event, reinterpret_cast<void*>(std::intptr_t(value)));
}

void scroll_bar::layout_bar()
{
    const std::int32_t W = width(), H = height();
    if (is_vertical()) {
        first_button_rect = arrow_buttons ? rect(0, 0, W, W) : rect();
        second_button_rect = arrow_buttons ? rect(0, H - W, W, W) : rect();
        const std::int32_t bh = first_button_rect.height;
        thumb_rect = {0, bh, W, H - 2 * bh};
    } else {
        first_button_rect = arrow_buttons ? rect(0, 0, H, H) : rect();
        second_button_rect = arrow_buttons ? rect(W - H, 0, H, H) : rect();
        const std::int32_t bw = first_button_rect.width;
        thumb_rect = {bw, 0, W - 2 * bw, H};
    }
    update();
}

void scroll_bar::update()
{
    const std::int32_t W = width(), H = height();
    const std::int32_t button = along_length(first_button_rect);
    widget* view = target_widget ? target_widget->parent() : nullptr;
    if (!target_widget || !view) {
        thumb_rect = is_vertical() ? rect(0, button, W, H - 2 * button) : rect(button, 0, W - 2 * button, H);
        scrollable = false;
    } else {
        const rect& t = target_widget->bounds();
        const scroll_axis a{is_vertical() ? H : W,
                            button,
                            is_vertical() ? view->height() : view->width(),
                            along_length(t),
                            along_start(t),
                            theme().get_int("scroll_min_size")};
        const thumb_geometry g = place_thumb(a);
        scroll_range = g.range;
        scrolled = g.position;
        pixels_per_unit = g.pixels_per_unit;
        thumb_rect = is_vertical() ? rect(0, g.start, W, g.length) : rect(g.start, 0, g.length, H);
        if (along_start(thumb_rect) + along_length(thumb_rect) > a.bar_length)
            scroll_to(scroll_range, true);
        else if (scroll_range < -a.content_offset)
            scroll_to(scrolled, true);
        scrollable = a.view_length < a.content_length;
    }
    set_visible(scrollable);
    invalidate(false);
}

void scroll_bar::on_view_resized()
{
    widget* view = target_widget ? target_widget->parent() : nullptr;
    if (!view)
        return;
    const rect& t = target_widget->bounds();
    const std::int32_t start = along_start(t);
    const std::int32_t length = along_length(t);
    const std::int32_t view_length = is_vertical() ? view->height() : view->width();
    // A gap after the content: pull it back.
    if (start < 0 && start + length < view_length)
        move_target(std::min(view_length - length, 0));
    update();
}

void scroll_bar::on_down(const event_info& e)
{
    if (reinterpret_cast<std::intptr_t>(e.data) != left_button)
        return;
    const point c = cursor_position(this);
    if (contains(thumb_rect, c)) {
        dragging = true;
        capture_mouse(*this);
        const std::int32_t travelled = std::int32_t(float(scrolled) * pixels_per_unit);
        drag_origin = {c.x - travelled, c.y - travelled};
        return;
    }
    track_press press{};
    press.cursor = along(c);
    press.thumb_start = along_start(thumb_rect);
    press.thumb_length = along_length(thumb_rect);
    press.buttons = arrow_buttons;
    press.first_button_end = along_start(first_button_rect) + along_length(first_button_rect);
    press.second_button_start = along_start(second_button_rect);
    press.pixels_per_unit = pixels_per_unit;
    if (const auto value = track_press_value(press))
        scroll_to(*value, true);
}

void scroll_bar::on_move()
{
    if (!dragging)
        return;
    if (const auto value = drag_value(along(cursor_position(this)), along(drag_origin), pixels_per_unit))
        scroll_to(*value, false);
}

void scroll_bar::on_up(const event_info& e)
{
    if (reinterpret_cast<std::intptr_t>(e.data) != left_button)
        return;
    if (dragging) {
        release_mouse();
        dragging = false;
        return;
    }
    if (!target_widget || !arrow_buttons)
        return;
    const point c = cursor_position(this);
    if (contains(first_button_rect, c))
        scroll_by(step);
    else if (contains(second_button_rect, c))
        scroll_by(-step);
}

void scroll_bar::on_wheel(const event_info& e)
{
    if ((key_held(VK_LCONTROL) || key_held(VK_RCONTROL)) && !key_held(VK_RMENU))
        return;
    const double amount = *static_cast<const double*>(e.data);
    const bool shift = key_held(VK_LSHIFT) || key_held(VK_RSHIFT);
    const std::int32_t multiplier = shift ? theme().get_int("scroll_speed_multiplier") : 1;
    scroll_by(multiplier * std::int32_t(amount));
}

void scroll_bar::paint()
{
    paint_back({0, 0, width(), height()});
    if (!(theme().get_bool("scroll_auto_hide") && !scrollable))
        paint_bar(thumb_rect);
    if (arrow_buttons) {
        paint_buttons(first_button_rect, true);
        paint_buttons(second_button_rect, false);
    }
}

void scroll_bar::paint_back(const rect& area)
{
    render_context* rc = window() ? window()->context() : nullptr;
    if (!rc)
        return;
    rc->set_fill_color(theme().get_color("scroll_back_color"));
    rc->fill_rect(area);
}

void scroll_bar::paint_bar(const rect& r)
{
    render_context* rc = window() ? window()->context() : nullptr;
    if (!rc)
        return;
    rc->set_fill_color(theme().get_color("scroll_bar_back_color"));
    rc->fill_rect(r);
    rc->set_stroke(render_context::solid, false);
    rc->set_line(theme().get_color("scroll_bar_line_color"), 1.0f);
    for (std::int32_t i = 0; i < 3; ++i) {
        if (is_vertical()) {
            const std::int32_t y = r.y + r.height / 2 + 3 * i - 3;
            rc->draw_line({4, y}, {r.width - 4, y});
        } else {
            const std::int32_t x = r.x + r.width / 2 + 3 * i - 3;
            rc->draw_line({x, 4}, {x, r.height - 4});
        }
    }
}

void scroll_bar::paint_buttons(const rect& b, bool first)
{
    render_context* rc = window() ? window()->context() : nullptr;
    if (!rc)
        return;
    rc->set_fill_color(theme().get_color("scroll_button_back_color"));
    rc->fill_rect(b);
    rc->set_stroke(render_context::solid, false);
    rc->set_line(theme().get_color("scroll_button_line_color"), 1.0f);
    if (is_vertical())
        rc->draw_line({b.x, b.y}, {b.x + b.width, b.y});
    else
        rc->draw_line({b.x, b.y}, {b.x, b.y + b.height});
    if (!arrow_image->is_loaded()) {
        const image_data picture = theme().get_image("scroll_button_arrow_image");
        if (!picture.data || !arrow_image.load(picture))
            return;
    }
    if (is_vertical())
        rc->draw_image_part({b.x + b.width / 2 - 4, b.y + b.height / 2 - 2}, *arrow_image,
                            first ? rect(0, 0, 8, 4) : rect(0, 4, 8, 4), 1.0f);
    else
        rc->draw_image_part({b.x + b.height / 2 - 2, b.y + b.width / 2 - 4}, *arrow_image,
                            first ? rect(0, 0, 4, 8) : rect(4, 0, 4, 8), 1.0f);
}

} // namespace qvsdk::ui
