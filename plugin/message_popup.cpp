#include "plugin/message_popup.h"

#include "plugin/message_popup_layout.h"
#include "toolkit/event_ids.h"
#include "toolkit/event_manager.h"
#include "toolkit/render_context.h"

#include <cstring>

namespace qvsdk::ui {

namespace {

bool starts_with(const theme_key& key, const char* prefix)
{
    return key.text && std::strncmp(key.text, prefix, std::strlen(prefix)) == 0;
}

} // namespace

message_popup::message_popup(size requested_size) : requested(requested_size)
{
    check.set_name("check_box");
    check.set_focusable(true);
}

message_popup::~message_popup() = default;

void message_popup::copy_theme_to_buttons()
{
    first_button.theme() = root().theme();
    second_button.theme() = root().theme();
}

void message_popup::show(window* owner_window, const std::string& title, const std::string& message)
{
    if (owner_window)
        set_owner(owner_window);
    create(title, rect(0, 0, requested.width, 200), 0);
    shown_message = given_message = message;
    button_mode = 1;

    event_manager& events = event_manager::instance();
    events.subscribe(&root(), this, paint_event, [this](const event_info&) { paint(); });
    events.subscribe(&root(), this, theme_changed_event, [this](const event_info& e) {
        on_theme_changed(*static_cast<const theme_key*>(e.data));
    });

    const theme_store& t = root().theme();
    const int_pair margins = t.get_int_pair("message_popup_window_margins");
    check.theme() = t;
    copy_theme_to_buttons();

    check.attach(this, &root(), rect(margins.first, 0, root().width() - 2 * margins.first, 20));
    check.set_text("Do not show this again");
    check.layout(0);
    check.set_enabled(true);
    check.set_checked(false);
    check.bind(&do_not_show_again);
    check.layout(2);
    check.set_visible(false);

    text_area.x = margins.first;
    text_area.y = margins.second;

    first_button.attach(this, &root(), rect(0, 0, button_width, button_height));
    first_button.set_text("OK");
    first_button.auto_size();
    first_button.invalidate(false);
    events.subscribe(&first_button, this, clicked_event,
                     [this](const event_info&) { on_button_click(&first_button); });
    first_button.theme() = root().theme();
    set_focus(&first_button, 2);
    if (second_button.is_created())
        events.subscribe(&second_button, this, clicked_event,
                         [this](const event_info&) { on_button_click(&second_button); });

    layout();
    events.subscribe(this, this, key_down_event, [this](const event_info& e) {
        on_key(reinterpret_cast<std::uintptr_t>(e.data));
    });
}

void message_popup::layout()
{
    const theme_store& t = root().theme();
    message_popup_metrics m;
    m.requested = requested;
    const int_pair margins = t.get_int_pair("message_popup_window_margins");
    m.margin_x = margins.first;
    m.margin_y = margins.second;
    m.component_margin = t.get_int("message_popup_component_margins");
    m.check_box_height = check.is_visible(true) ? check.height() : 0;

    const image_data source = t.get_image("message_popup_image");
    if (source.data && source.size > 0 && !picture->is_loaded())
        picture.load(source);
    if (picture->is_loaded())
        m.picture = picture.size();

    render_context* rc = context();
    if (rc && !shown_message.empty()) {
        rc->set_font(t.get_text("message_popup_font_name"), t.get_float("message_popup_font_size"),
                     t.get_int("message_popup_font_weight"), t.get_int("message_popup_font_style"), false);
        rc->set_text_alignment(t.get_int("message_popup_text_align"), 1);
        m.text = rc->measure_text(shown_message, message_text_width_limit(m), 1000, {});
    }
    m.button = first_button.at_least_minimum({button_width, button_height});
    m.button_align = t.get_int("message_popup_button_align");
    m.current_button = first_button.bounds();

    const message_popup_placement p = place_message_popup(m);
    const rect placed = native_record().get_rect();
    native_record().set_rect(rect(placed.x, placed.y, p.window.width, p.window.height));
    text_area = p.text;
    if (button_mode == 1)
        first_button.set_rect(p.button, true);
    native_record().center();
}

void message_popup::paint()
{
    render_context* rc = context();
    if (!rc)
        return;
    const theme_store& t = root().theme();
    rc->set_fill_color(t.get_color("message_popup_back_color"));
    rc->fill_rect(rect(0, 0, root().width(), root().height()));
    const int_pair margins = t.get_int_pair("message_popup_window_margins");
    if (picture->is_loaded()) {
        const size s = picture.size();
        rc->draw_image_in_rect(rect(margins.first, margins.second, s.width, s.height), *picture, 1.0f);
    }
    rc->set_text_color(t.get_color("message_popup_font_color"));
    rc->set_font(t.get_text("message_popup_font_name"), t.get_float("message_popup_font_size"),
                 t.get_int("message_popup_font_weight"), t.get_int("message_popup_font_style"), false);
    rc->set_text_alignment(t.get_int("message_popup_text_align"), 1);
    rc->draw_text(text_area, shown_message, {});
}

void message_popup::on_key(std::uintptr_t virtual_key)
{
    if (virtual_key == VK_RETURN)
        end_modal(button_mode == 1 ? 0 : 1);
    else if (virtual_key == VK_ESCAPE)
        end_modal(0);
}

void message_popup::on_button_click(const generic_button* source)
{
    end_modal(source == &first_button ? 1 : 0);
}

void message_popup::on_theme_changed(const theme_key& key)
{
    if (key == theme_key("message_popup_image")) {
        picture->unload();
        layout();
    } else if (starts_with(key, "checkbox_")) {
        check.theme() = root().theme();
    } else if (starts_with(key, "button_")) {
        copy_theme_to_buttons();
    } else {
        layout();
    }
}

} // namespace qvsdk::ui
