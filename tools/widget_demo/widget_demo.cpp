#include "widget_demo.h"

#include "toolkit/event_ids.h"
#include "toolkit/event_manager.h"

#include <string>

using namespace qvsdk::ui;

namespace {

enum : std::int32_t { copy_command = 1, clear_command = 2 };

const char* const licence_text =
    "<html><body><p><b>Scrolled text</b></p>"
    "<p>This label is taller than its view; the bar beside it scrolls it by wheel, thumb and arrows.</p>"
    "<ul><li>first point</li><li>second point</li><li>third point</li></ul>"
    "<p><i>Italic</i>, <u>underlined</u> and <font color=\"#40c040\">green</font> spans.</p>"
    "<p>More lines follow, so that there is something to scroll.</p>"
    "<ul><li>fourth point</li><li>fifth point</li><li>sixth point</li><li>seventh point</li></ul>"
    "<p>The end.</p></body></html>";

} // namespace

WidgetDemo::WidgetDemo()
    : column(flow_panel::vertical, 0, false, false), buttons(flow_panel::horizontal, 0, false, false)
{
}

void WidgetDemo::open(int x, int y, std::uint16_t flags)
{
    create("Widget demo", rect(x, y, width, height), flags);
    build();
}

void WidgetDemo::build()
{
    background.theme().set_value("default_back_color", color(0.118f, 0.122f, 0.137f, 1));
    background.attach(this, &root(), rect(0, 0, width, height));

    column.attach(this, &background, rect(10, 10, width - 20, height - 20));
    title.attach(this, &column, rect(0, 0, width - 20, 20));
    title.theme().set_value("label_font_size", 14.0f);
    title.set_text("Toolkit widgets", false, false);
    column.add_spacing(4);

    html.attach(this, &column, rect(0, 0, width - 20, 40));
    html.theme().set_value("label_text_valign", 1);
    html.set_html("<html><body><b>Bold</b>, <font size=\"4\" color=\"#ff6040\">large red</font> and "
                  "<a href=\"https://example.com/\">a link</a></body></html>",
                  false, false);
    column.add_spacing(6);

    buttons.attach(this, &column, rect(0, 0, width - 20, 28));
    push.set_text("Push");
    push.attach(this, &buttons, rect(0, 0, 90, 28));
    buttons.add_spacing(8);
    toggle.set_text("Toggle");
    toggle.set_toggle_mode(true);
    toggle.attach(this, &buttons, rect(0, 0, 90, 28));
    buttons.add_spacing(8);
    disabled.set_text("Disabled");
    disabled.attach(this, &buttons, rect(0, 0, 90, 28));
    disabled.set_enabled(false);
    buttons.add_stretch();
    buttons.layout();
    column.add_spacing(8);

    check.set_text("Remember this choice");
    check.bind(&remember);
    check.attach(this, &column, rect(0, 0, width - 20, 20));
    check.layout(0);
    check.set_enabled(true);
    column.add_spacing(8);

    view.theme().set_value("default_back_color", color(0.067f, 0.071f, 0.078f, 1));
    view.attach(this, &column, rect(0, 0, width - 36, 180));
    long_text.theme().set_value("label_text_valign", 1);
    long_text.attach(this, &view, rect(0, 0, width - 44, 180));
    long_text.set_html(licence_text, false, true);
    bar.set_arrow_buttons(true);
    bar.attach(this, &background, rect(width - 26, 0, 16, 180));
    column.add_spacing(8);

    status.attach(this, &column, rect(0, 0, width - 20, 20));
    status.set_text("Right-click for the menu", false, false);
    column.layout();

    // The bar stands beside the view, outside the column.
    bar.set_rect(rect(width - 26, 10 + view.bounds().y, 16, view.height()), true);
    bar.set_target(&long_text);

    menu.add_item(copy_command, -1, "Copy the status");
    menu.add_item(clear_command, -1, "Clear \xe2\x80\x94 start again");

    auto& events = event_manager::instance();
    events.subscribe(&push, this, clicked_event, [this](const event_info&) { show_status("Push clicked"); });
    events.subscribe(&toggle, this, clicked_event, [this](const event_info& e) {
        show_status(e.data ? "Toggle on" : "Toggle off");
    });
    events.subscribe(&check, this, value_changed_event, [this](const event_info& e) {
        if (e.a == 2)
            show_status(remember ? "Checked" : "Unchecked");
    });
    events.subscribe(&bar, this, value_changed_event, [this](const event_info& e) {
        show_status("Scrolled to " + std::to_string(reinterpret_cast<std::intptr_t>(e.data)));
    });
    events.subscribe(this, this, button_up_event, [this](const event_info& e) {
        if (reinterpret_cast<std::intptr_t>(e.data) == 2)
            show_menu();
    });
}

void WidgetDemo::show_status(const std::string& text)
{
    status.set_text(text, false, false);
}

void WidgetDemo::show_menu()
{
    POINT at{};
    GetCursorPos(&at);
    const int chosen = TrackPopupMenuEx(menu.handle(), TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN, at.x, at.y,
                                        handle(), nullptr);
    if (chosen == copy_command)
        show_status("Copied: " + status.text());
    else if (chosen == clear_command)
        show_status("Right-click for the menu");
}
