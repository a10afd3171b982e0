#include "toolkit/check_box.h"

#include "toolkit/event_ids.h"
#include "toolkit/render_context.h"
#include "toolkit/window.h"

namespace qvsdk::ui {

check_box::check_box()
{
    set_name("check_box");
    set_focusable(true);
    subscribe_own(created_event, [this](const event_info&) { on_created(); });
}

void check_box::on_created()
{
    subscribe_own(paint_event, [this](const event_info&) { paint(); });
    subscribe_own(button_down_event, [](const event_info&) {});
    subscribe_own(button_up_event, [this](const event_info&) { toggle(); });
    subscribe_own(mouse_enter_event, [this](const event_info&) { set_hover(true); });
    subscribe_own(mouse_leave_event, [this](const event_info&) { set_hover(false); });
    subscribe_own(focus_lost_event, [this](const event_info&) { invalidate(false); });
    subscribe_own(focus_gained_event, [this](const event_info&) { invalidate(false); });
    subscribe_own(theme_changed_event,
                  [this](const event_info& e) { on_theme_changed(*static_cast<const theme_key*>(e.data)); });
    layout(2);
    set_enabled(false);
}

void check_box::toggle()
{
    event_manager::instance().dispatch(this, value_changed_event, 0, 0);
    checked = !is_checked();
    if (bound)
        *bound = checked;
    invalidate(false);
    event_manager::instance().dispatch(this, value_changed_event, 2, 0);
}

void check_box::set_hover(bool on)
{
    hovered = on;
    invalidate(false);
}

void check_box::on_theme_changed(const theme_key& key)
{
    if (key == theme_key("checkbox_image"))
        sprite->unload();
    layout(alignment);
    invalidate(false);
}

void check_box::set_font_from_theme()
{
    render_context* rc = window()->context();
    rc->set_font(theme().get_text("checkbox_font_name"), theme().get_float("checkbox_font_size"),
                 theme().get_int("checkbox_font_weight"), theme().get_int("checkbox_font_style"), false);
}

void check_box::layout(std::int32_t a)
{
    text_gap = theme().get_int("checkbox_text_gap");
    size text_size{0, 0};
    render_context* rc = window() ? window()->context() : nullptr;
    if (rc && !label.empty()) {
        set_font_from_theme();
        rc->set_text_alignment(0, 1);
        text_size = rc->measure_text(label, 0, 0, {});
    }
    const image_data picture = theme().get_image("checkbox_image");
    if (picture.data && !sprite->is_loaded() && sprite.load(picture)) {
        const size pixels = sprite->pixel_size();
        const std::int32_t n = picture.frames > 0 ? std::int32_t(picture.frames) : 1;
        frame = {std::int32_t(pixels.width / sprite->scale()), std::int32_t(pixels.height / sprite->scale()) / n};
    }
    places = check_box_layout(a, {width(), height()}, frame, text_size, text_gap, places);
    alignment = a;
    invalidate(false);
}

void check_box::paint()
{
    render_context* rc = window() ? window()->context() : nullptr;
    if (!rc)
        return;
    if (bound)
        checked = *bound;
    const bool usable = is_usable();
    rc->set_fill_color(theme().get_color("checkbox_back_color"));
    rc->fill_rect({0, 0, width(), height()});

    const std::int32_t n = std::int32_t(theme().get_image("checkbox_image").frames);
    const std::int32_t offset = check_box_frame_offset(frame.height, n, hovered, usable, checked);
    if (sprite->is_loaded())
        rc->draw_image_part({places.image.x, places.image.y}, *sprite, {0, offset, frame.width, frame.height}, 1.0f);

    if (window()->focused_widget() == this && !hovered) {
        rc->set_stroke(render_context::dotted, false);
        rc->set_line(theme().get_color("checkbox_border_color_focus"), 1.0f);
        rc->draw_rect(places.image);
    }
    color text = theme().get_color("checkbox_font_color");
    text.a = usable ? 1.0f : 0.5f;
    rc->set_text_color(text);
    set_font_from_theme();
    rc->set_text_alignment(0, 0);
    if (!label.empty())
        rc->draw_text(places.text, label, {});
}

} // namespace qvsdk::ui
