#include "plugin/about_dialog.h"

#include "plugin/product.h"
#include "plugin/product_link.h"
#include "toolkit/color.h"
#include "toolkit/cursor.h"
#include "toolkit/event_ids.h"

namespace {

using qvsdk::ui::color;
using qvsdk::ui::rect;

using qvsdk::ui::button_up_event;
using qvsdk::ui::clicked_event;
using qvsdk::ui::mouse_enter_event;
using qvsdk::ui::mouse_leave_event;

constexpr char maker_address[] = "www.quorvane.com";
constexpr char rights_notice[] = "\xC2\xA9 2026 Quorvane";

const color panel_back{0.137f, 0.137f, 0.137f, 1.0f};
const color clear{0.0f, 0.0f, 0.0f, 0.0f};
const color light_grey{0.725f, 0.725f, 0.725f, 1.0f};
const color link_blue{0.176f, 0.549f, 0.922f, 1.0f};
const color white{1.0f, 1.0f, 1.0f, 1.0f};
const color black{0.0f, 0.0f, 0.0f, 1.0f};

void set_up_label(qvsdk::ui::text_label& label, qvsdk::ui::widget& panel, const rect& r,
                  const color& text_colour, const std::string& text)
{
    label.attach(panel.window(), &panel, r);
    label.theme().set_value("default_back_color", clear);
    label.theme().set_value("label_text_align", std::int32_t(1));
    label.theme().set_value("label_font_color", text_colour);
    label.set_text(text, false, false);
}

} // namespace

std::string about_title_text()
{
    return std::string(product_name) + " v" + std::to_string(product_version_major) + "." +
           std::to_string(product_version_minor) + "." + std::to_string(product_version_patch) +
           " (" + std::to_string(product_build) + ")";
}

AboutDialog::AboutDialog(qvsdk::ui::window* owner_window)
{
    set_owner(owner_window);
    create(product_name, rect(0, 0, 160, 150), 0);

    content_panel.attach(this, &root(), rect(0, 0, 160, 150));
    content_panel.theme().set_value("default_back_color", panel_back);

    set_up_label(title_label, content_panel, rect(0, 15, 160, 20), light_grey, about_title_text());
    set_up_label(link_label, content_panel, rect(0, 50, 160, 20), link_blue, maker_address);
    set_up_label(notice_label, content_panel, rect(0, 85, 160, 20), light_grey, rights_notice);

    link_label.subscribe_to(&link_label, button_up_event, [this](const qvsdk::ui::event_info&) { open_link(); });
    link_label.subscribe_to(&link_label, mouse_enter_event,
                            [this](const qvsdk::ui::event_info&) { set_link_hover(true); });
    link_label.subscribe_to(&link_label, mouse_leave_event,
                            [this](const qvsdk::ui::event_info&) { set_link_hover(false); });

    ok_button.attach(this, &content_panel, rect(65, 115, 80, 20));
    qvsdk::ui::theme_store& t = ok_button.theme();
    t.set_value("button_color_normal", link_blue);
    t.set_value("button_color_hover", link_blue);
    t.set_value("button_color_pressed", light_grey);
    t.set_value("button_border_color_normal", clear);
    t.set_value("button_border_color_hover", clear);
    t.set_value("button_border_color_focus", clear);
    t.set_value("button_font_color", white);
    t.set_value("button_font_color_hover", white);
    t.set_value("button_font_color_pressed", black);
    ok_button.set_text("OK");
    ok_button.subscribe_to(&ok_button, clicked_event, [this](const qvsdk::ui::event_info&) { end_modal(1); });

    native_record().center();
    link = product_page_url(product_version_text());
}

AboutDialog::~AboutDialog() = default;

void AboutDialog::open_link()
{
    open_in_shell(link);
}

void AboutDialog::set_link_hover(bool on)
{
    // The label's theme raises the change on the label, which repaints it.
    link_label.theme().set_value("label_text_underlined", on);
    qvsdk::ui::set_cursor(on ? 6 : 0);
}
