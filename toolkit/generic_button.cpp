#include "toolkit/generic_button.h"

#include "toolkit/cursor.h"
#include "toolkit/event_ids.h"
#include "toolkit/mouse_capture.h"
#include "toolkit/render_context.h"
#include "toolkit/window.h"

namespace qvsdk::ui {

namespace {

constexpr std::intptr_t left_button = 0;
constexpr std::intptr_t enter_key = 13;

bool cursor_inside(const widget& w)
{
    const point c = cursor_position(&w);
    return c.x >= 0 && c.y >= 0 && c.x <= w.width() && c.y <= w.height();
}

color usable_or_faded(color c, bool usable)
{
    if (!usable)
        c.a *= 0.5f;
    return c;
}

} // namespace

generic_button::generic_button()
{
    set_focusable(true);
    subscribe_own(paint_event, [this](const event_info&) { paint(); });
    subscribe_own(mouse_enter_event, [this](const event_info&) { set_hovered(true); });
    subscribe_own(mouse_leave_event, [this](const event_info&) { set_hovered(false); });
    subscribe_own(disabled_event, [this](const event_info&) { set_hovered(false); });
    subscribe_own(focus_lost_event, [this](const event_info&) { invalidate(false); });
    subscribe_own(focus_gained_event, [this](const event_info&) { invalidate(false); });
    subscribe_own(button_down_event, [this](const event_info& e) { on_down(e); });
    subscribe_own(button_up_event, [this](const event_info& e) { on_up(e); });
    subscribe_own(key_down_event, [this](const event_info& e) { on_key(e); });
    subscribe_own(theme_changed_event,
                  [this](const event_info& e) { on_theme_changed(*static_cast<const theme_key*>(e.data)); });
}

bool generic_button::is_pressed() const
{
    return captured_widget() == this && cursor_inside(*this);
}

button_state generic_button::state() const
{
    return {is_pressed(), hovered, toggled, is_usable()};
}

void generic_button::set_hovered(bool on)
{
    hovered = on;
    invalidate(false);
}

void generic_button::on_down(const event_info& e)
{
    if (reinterpret_cast<std::intptr_t>(e.data) != left_button)
        return;
    capture_mouse(*this);
    invalidate(true);
}

void generic_button::on_up(const event_info& e)
{
    if (reinterpret_cast<std::intptr_t>(e.data) != left_button || captured_widget() != this)
        return;
    release_mouse();
    if (!cursor_inside(*this))
        return;
    if (toggle_mode)
        toggled = !toggled;
    if (theme().get_bool("button_reset_hover"))
        hovered = false;
    invalidate(false);
    raise(clicked_event, reinterpret_cast<void*>(std::intptr_t(toggled ? 1 : 0)));
}

void generic_button::on_key(const event_info& e)
{
    if (reinterpret_cast<std::intptr_t>(e.data) != enter_key)
        return;
    if (toggle_mode) {
        toggled = !toggled;
        invalidate(false);
    }
    raise(clicked_event, reinterpret_cast<void*>(std::intptr_t(toggled ? 1 : 0)));
}

void generic_button::on_theme_changed(const theme_key& key)
{
    if (key == theme_key("button_image") || key == theme_key("button_image_filter_multiply")) {
        if (sprite->is_loaded())
            sprite->unload();
    } else if (key == theme_key("button_back_image")) {
        if (back_image->is_loaded())
            back_image->unload();
    }
    static const theme_key sizing[] = {"button_auto_size",  "button_auto_size_min_max", "button_text_margins",
                                       "button_font_name",  "button_font_size",         "button_font_weight",
                                       "button_font_style", "button_text_underlined"};
    for (const theme_key& k : sizing)
        if (key == k) {
            auto_size();
            break;
        }
    invalidate(false);
}

void generic_button::auto_size()
{
    if (!theme().get_bool("button_auto_size"))
        return;
    render_context* rc = window() ? window()->context() : nullptr;
    if (!rc)
        return;
    const theme_store& t = theme();
    rc->set_font(t.get_text("button_font_name"), t.get_float("button_font_size"), t.get_int("button_font_weight"),
                 t.get_int("button_font_style"), t.get_bool("button_text_underlined"));
    const std::int32_t margin = t.get_int_pair("button_text_margins").first;
    const std::int32_t measured = label.empty() ? 0 : rc->measure_text(label, 0, 0, {}).width;
    const std::int32_t w = button_auto_width(t.get_int_pair("button_auto_size_min_max"), margin, measured);
    const size s = at_least_minimum({w, height()});
    set_rect({bounds().x, bounds().y, s.width, s.height}, true);
}

std::int32_t generic_button::frame_count(const theme_key& key) const
{
    const std::int32_t n = std::int32_t(theme().get_image(key).frames);
    return n > 0 ? n : 1;
}

void generic_button::paint()
{
    render_context* rc = window() ? window()->context() : nullptr;
    if (!rc)
        return;
    const theme_store& t = theme();
    const button_state s = state();
    const std::int32_t W = width(), H = height();
    const int_pair margins = t.get_int_pair("button_text_margins");
    auto colour = [&](const theme_key& key) { return usable_or_faded(t.get_color(key), s.usable); };

    switch (button_fill_of(s)) {
    case button_fill::pressed: rc->set_fill_color(colour("button_color_pressed")); break;
    case button_fill::hover: rc->set_fill_color(colour("button_color_hover")); break;
    case button_fill::toggle: rc->set_fill_color(colour("button_color_toggle")); break;
    case button_fill::normal: rc->set_fill_color(colour("button_color_normal")); break;
    }
    if (t.get_bool("button_round_edges")) {
        const float radius = t.get_float("button_round_radius");
        rc->fill_rounded_rect({0, 0, W, H}, radius == 0 ? float(H) / 2 : radius);
    } else {
        rc->fill_rect({0, 0, W, H});
    }

    paint_back_image();
    paint_image();

    color text = colour("button_font_color");
    rc->set_stroke(render_context::solid, false);
    rc->set_line(colour("button_border_color_normal"), 1.0f);
    if (window()->focused_widget() == this) {
        rc->set_stroke(render_context::dotted, false);
        rc->set_line(colour("button_border_color_focus"), 1.0f);
    }
    if (s.hovered) {
        rc->set_stroke(render_context::solid, false);
        rc->set_line(colour("button_border_color_hover"), 1.0f);
        text = colour("button_font_color_hover");
    }
    if (s.pressed)
        text = colour("button_font_color_pressed");
    rc->set_text_color(text);
    rc->draw_rect({0, 0, W, H});

    rc->set_font(t.get_text("button_font_name"), t.get_float("button_font_size"), t.get_int("button_font_weight"),
                 t.get_int("button_font_style"), t.get_bool("button_text_underlined"));
    const std::int32_t alignment = t.get_int("button_font_alignment");
    rc->set_text_alignment(alignment, t.get_int("button_font_vertical_alignment"));
    if (label.empty())
        return;
    if (t.get_bool("button_text_clip")) {
        const clipped_text_box box = button_clipped_text_box(alignment, W, H, margins);
        rc->draw_text_clipped(box.layout, box.clip, label);
    } else {
        rc->draw_text({margins.first, margins.second, W - 2 * margins.first, H - 2 * margins.second}, label, {});
    }
}

void generic_button::paint_image()
{
    const image_data picture = theme().get_image("button_image");
    if (!picture.data)
        return;
    render_context* rc = window() ? window()->context() : nullptr;
    if (!rc)
        return;
    const std::int32_t n = frame_count("button_image");
    if (!sprite->is_loaded()) {
        if (!sprite.load(picture))
            return;
        const color filter = theme().get_color("button_image_filter_multiply");
        if (filter != color(1, 1, 1, 1))
            sprite.multiply(filter, theme().get_rect("button_image_filter_multiply_area"));
        const size pixels = sprite->pixel_size();
        const std::int32_t w = std::int32_t(pixels.width / sprite->scale());
        const std::int32_t h = std::int32_t(pixels.height / sprite->scale()) / n;
        image_rect = {(width() - w) / 2, (height() - h) / 2, w, h};
    }
    const rect source(0, button_frame(n, state()) * image_rect.height, image_rect.width, image_rect.height);
    if (theme().get_bool("button_image_strech"))
        rc->draw_image_part_in_rect({0, 0, width(), height()}, *sprite, source, image_opacity);
    else
        rc->draw_image_part({image_rect.x, image_rect.y}, *sprite, source, image_opacity);
}

void generic_button::paint_back_image()
{
    const image_data picture = theme().get_image("button_back_image");
    if (!picture.data)
        return;
    render_context* rc = window() ? window()->context() : nullptr;
    if (!rc || (!back_image->is_loaded() && !back_image.load(picture)))
        return;
    const std::int32_t n = frame_count("button_back_image");
    const size pixels = back_image->pixel_size();
    const std::int32_t full_width = std::int32_t(pixels.width / back_image->scale());
    const std::int32_t s = std::int32_t(pixels.height / back_image->scale()) / n;
    const std::int32_t m = button_frame(n, state()) * s;
    const std::int32_t W = width();
    rc->draw_image_part({0, 0}, *back_image, {0, m, s, s}, 1.0f);
    rc->draw_image_part_in_rect({s, 0, W - 2 * s, s}, *back_image, {s, m, s, s}, 1.0f);
    rc->draw_image_part({W - s, 0}, *back_image, {full_width - s, m, s, s}, 1.0f);
}

} // namespace qvsdk::ui
