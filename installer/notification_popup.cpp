#include "installer/notification_popup.h"

#include "toolkit/event_ids.h"
#include "toolkit/render_context.h"

using namespace qvsdk::ui;

namespace {
constexpr std::intptr_t enter_key = 13;
constexpr std::intptr_t escape_key = 27;
constexpr std::int32_t popup_width = 400;

void redirect_fonts(theme_store& t)
{
    t.set_redirect("button_font_name", "rounded_button_font_name");
    t.set_redirect("button_font_size", "rounded_button_font_size");
}
} // namespace

NotificationPopup::NotificationPopup() : row(flow_panel::horizontal, 0, false, false) {}

NotificationPopup::~NotificationPopup()
{
    picture->unload();
}

void NotificationPopup::show(window* owner, const std::string& title, const std::string& text)
{
    if (owner)
        set_owner(owner);
    create(title, rect(0, 0, popup_width, 200), 0);
    auto& events = event_manager::instance();
    events.subscribe(&root(), this, paint_event, [this](const event_info&) { paint(); });

    const theme_store& t = root().theme();
    const int_pair window_margins = t.get_int_pair("message_popup_window_margins");
    const std::int32_t a = window_margins.first, b = window_margins.second;
    const std::int32_t c = t.get_int_pair("message_popup_component_margins").first;
    const image_data image = t.get_image("message_popup_image");
    size image_size{0, 0};
    if (image.data && picture.load(image))
        image_size = picture.size();
    picture_x = (popup_width - image_size.width) / 2;
    picture_y = b;

    theme_store& m = message.theme();
    m.set_redirect("label_font_size", "notifications_text_font_size");
    m.set_redirect("label_font_color", "notifications_text_font_color");
    m.set_redirect("label_font_name", "notifications_text_font_name");
    m.set_redirect("label_text_align", "notifications_text_alignment");
    message.attach(this, &root(), rect(a, b + image_size.height + c, popup_width - 2 * a, 100));
    message.set_text(text, false, true);

    row.attach(this, &root(), rect(a, message.bounds().bottom() + c, popup_width - 2 * a, 30));
    theme_store& y = yes.theme();
    y.set_redirect("button_color_normal", "rounded_button_next_back_color_normal");
    y.set_redirect("button_color_hover", "rounded_button_next_back_color_hover");
    y.set_redirect("button_font_color", "rounded_button_font_color_hover");
    y.set_redirect("button_font_color_hover", "rounded_button_font_color_hover");
    redirect_fonts(y);
    yes.set_text("YES");
    yes.attach(this, &row, rect(0, 0, 100, 30));
    row.add_spacing(20);
    theme_store& n = no.theme();
    n.set_redirect("button_color_normal", "rounded_button_back_color_normal");
    n.set_redirect("button_color_hover", "rounded_button_back_color_hover");
    n.set_redirect("button_font_color", "rounded_button_font_color_normal");
    n.set_redirect("button_font_color_hover", "rounded_button_font_color_hover");
    redirect_fonts(n);
    no.set_text("NO");
    no.attach(this, &row, rect(0, 0, 100, 30));
    yes.auto_size();
    no.auto_size();
    row.layout();
    set_focus(&yes, 0);

    events.subscribe(&yes, this, clicked_event, [this](const event_info&) { end_modal(1); });
    events.subscribe(&no, this, clicked_event, [this](const event_info&) { end_modal(0); });
    events.subscribe(this, this, key_down_event,
                     [this](const event_info& e) { on_key(reinterpret_cast<std::intptr_t>(e.data)); });

    const rect placed = native_record().get_rect();
    native_record().set_rect(rect(placed.x, placed.y, popup_width, row.bounds().bottom() + c));
    native_record().center();
}

void NotificationPopup::on_key(std::intptr_t key_code)
{
    // A focused button answers Enter itself; the window answers only for the
    // rest, or Enter on NO would end the popup twice, the second time as YES.
    const widget* focus = focused_widget();
    if (key_code == enter_key && focus != &yes && focus != &no)
        end_modal(1);
    else if (key_code == escape_key)
        end_modal(0);
}

void NotificationPopup::paint()
{
    render_context* rc = context();
    if (!rc)
        return;
    rc->set_fill_color(root().theme().get_color("notifications_back_color"));
    rc->fill_rect(rect(0, 0, root().width(), root().height()));
    if (picture->is_loaded())
        rc->draw_image({picture_x, picture_y}, *picture, 1.0f);
}
