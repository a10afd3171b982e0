#include "installer/installer_ui.h"

#include "installer/clipboard_text.h"
#include "installer/installer_theme.h"
#include "installer/notification_popup.h"

#include "toolkit/event_ids.h"
#include "toolkit/folder_dialog.h"
#include "toolkit/popup_menu.h"
#include "toolkit/render_context.h"

using namespace qvsdk::ui;

namespace {

enum : std::int32_t { copy_command = 2 };
constexpr std::intptr_t right_button = 2;

const char* const product_for_host = "QV Vesk Plug-in for After Effects";

void redirect_footer_button(theme_store& t, bool forward)
{
    if (forward) {
        t.set_redirect("button_color_normal", "rounded_button_next_back_color_normal");
        t.set_redirect("button_color_hover", "rounded_button_next_back_color_hover");
        t.set_redirect("button_font_color", "rounded_button_font_color_hover");
        t.set_redirect("button_font_color_hover", "rounded_button_font_color_hover");
    } else {
        t.set_redirect("button_color_normal", "rounded_button_back_color_normal");
        t.set_redirect("button_color_hover", "rounded_button_back_color_hover");
        t.set_redirect("button_font_color", "rounded_button_font_color_normal");
        t.set_redirect("button_font_color_hover", "rounded_button_font_color_hover");
    }
    t.set_redirect("button_font_name", "rounded_button_font_name");
    t.set_redirect("button_font_size", "rounded_button_font_size");
}

void set_label(generic_button& b, const char* text)
{
    b.set_text(text);
    b.auto_size();
    b.invalidate(false);
}

} // namespace

InstallerUI::InstallerUI(const std::function<void(PluginInstaller&)>& configure)
    : version_flow(flow_panel::vertical, 0, true, true),
      choose_folder([](window* owner, std::string_view title, const std::wstring& start) {
          return folder_dialog(owner, title, start);
      })
{
    if (configure)
        configure(installer);
    module_mb = installer.module_megabytes();
    create("QV Vesk Plug-in for After Effects Installer", rect(600, 200, 1024, 610), 0);
    apply_installer_theme();
    event_manager::instance().subscribe(&root(), this, paint_event, [this](const event_info&) { on_paint(); });
    build_targets();
    build_welcome_page();
    build_versions_page();
    build_license_page();
    build_footer();
    show_page(0);
    native_record().center();
    header_line = "Quorvane Visual Effects";
}

InstallerUI::~InstallerUI()
{
    if (worker.joinable())
        worker.join();
}

std::int32_t InstallerUI::content_width()
{
    return root().width() - root().theme().get_int_pair("banner_size").first;
}

void InstallerUI::build_footer()
{
    const theme_store& t = root().theme();
    const std::int32_t W = root().width(), H = root().height();
    const std::int32_t F = t.get_int("footer_size");
    const std::int32_t button_y = H - F + (F - 30) / 2;
    auto& events = event_manager::instance();
    auto subscribe_click = [&](widget& w) {
        events.subscribe(&w, this, clicked_event, [this](const event_info& e) { on_button_click(e); });
    };

    theme_store& link = footer_link.theme();
    link.set_redirect("button_font_name", "footer_text_font_name");
    link.set_redirect("button_font_size", "footer_text_font_size");
    link.set_redirect("button_font_color", "title_font_color");
    link.set_value("button_font_weight", 1);
    link.set_value("button_font_alignment", 0);
    for (const theme_key& k : {theme_key("button_color_normal"), theme_key("button_color_hover"),
                               theme_key("button_border_color_normal"), theme_key("button_border_color_hover"),
                               theme_key("button_border_color_focus")})
        link.set_value(k, color(0, 0, 0, 0));
    footer_link.set_text("Quorvane Software License Agreement");
    footer_link.attach(this, &root(), rect(180, H - F + (F - 15) / 2, 210, 15));
    subscribe_click(footer_link);

    redirect_footer_button(cancel_button.theme(), false);
    cancel_button.attach(this, &root(), rect(W - 520, button_y, 110, 30));
    set_label(cancel_button, "CANCEL");
    subscribe_click(cancel_button);

    redirect_footer_button(back_button.theme(), false);
    back_button.attach(this, &root(), rect(W - 380, button_y, 110, 30));
    set_label(back_button, "BACK");
    subscribe_click(back_button);

    redirect_footer_button(next_button.theme(), true);
    next_button.attach(this, &root(), rect(W - 210, button_y, 170, 30));
    set_label(next_button, "NEXT");
    subscribe_click(next_button);
}

void InstallerUI::on_paint()
{
    render_context* rc = context();
    if (!rc)
        return;
    const theme_store& t = root().theme();
    const std::int32_t W = root().width(), H = root().height();
    const std::int32_t header = t.get_int("header_size");
    const std::int32_t footer = t.get_int("footer_size");
    const int_pair banner_size = t.get_int_pair("banner_size");
    const color back = t.get_color("main_back_color");

    rc->set_fill_color(back);
    rc->fill_rect(rect(0, 0, W, header));
    if (!logo->is_loaded() && logo.load(t.get_image("logo_image")))
        logo_size = logo.size();
    if (logo->is_loaded())
        rc->draw_image_in_rect(rect(28, (header - logo_size.height) / 2, logo_size.width, logo_size.height), *logo,
                               1.0f);
    rc->set_font(t.get_text("header_text_font_name"), t.get_float("header_text_font_size"), 0, 1, false);
    rc->set_text_color(t.get_color("header_text_font_color"));
    rc->set_text_alignment(0, 0);
    rc->draw_text(rect(W - 260, 0, 260, header), header_line, {});

    if (!banner->is_loaded())
        banner.load(t.get_image("banner_image"));
    if (banner->is_loaded())
        rc->draw_image_in_rect(rect(0, header, banner_size.first, banner_size.second), *banner, 1.0f);
    if (!background->is_loaded())
        background.load(t.get_image("background_image"));
    if (background->is_loaded())
        rc->draw_image_in_rect(rect(banner_size.first, header, W - banner_size.first, H - footer - header),
                               *background, 1.0f);

    rc->set_fill_color(back);
    rc->fill_rect(rect(0, H - footer, W, footer));
    if (current_page == 0) {
        rc->set_font(t.get_text("footer_text_font_name"), t.get_float("footer_text_font_size"), 0, 0, false);
        rc->set_text_color(t.get_color("footer_text_font_color"));
        rc->set_text_alignment(0, 0);
        rc->draw_text(rect(28, H - footer, 180, footer), "By installing, you agree to the", {});
    }
}

void InstallerUI::show_page(std::int32_t n)
{
    switch (n) {
    case 0:
    case 1:
    case 3:
        back_button.set_enabled(n != 0);
        back_button.set_visible(true);
        cancel_button.set_enabled(true);
        cancel_button.set_visible(true);
        set_label(cancel_button, "CANCEL");
        set_label(next_button, n == 1 ? "INSTALL" : "I AGREE");
        footer_link.set_visible(n == 0);
        footer_link.set_enabled(n == 0);
        next_button.set_enabled(true);
        break;
    case 2:
        build_installing_page();
        back_button.set_enabled(false);
        set_label(cancel_button, "CANCEL");
        set_label(next_button, "INSTALL");
        next_button.set_enabled(false);
        footer_link.set_visible(false);
        footer_link.set_enabled(false);
        break;
    default:
        return;
    }
    root().invalidate(false);
    pages[current_page].set_visible(false);
    pages[n].set_visible(true);
    previous_page = current_page;
    current_page = n;
    if (n == 1)
        update_install_button();
    if (n == 2)
        start_install();
}

void InstallerUI::on_button_click(const event_info& e)
{
    const event_object* source = e.source;
    std::int32_t target = -1;
    if (source == &cancel_button) {
        confirm_cancel();
        return;
    }
    if (current_page == 3) {
        if (source == &back_button || source == &next_button)
            target = previous_page;
    } else if (source == &footer_link || source == &welcome_link) {
        target = 3;
    } else if (source == &back_button) {
        target = current_page - 1;
    } else if (source == &next_button) {
        if (finished) {
            end_modal(1);
            return;
        }
        target = current_page + 1;
    }
    if (target >= 0)
        show_page(target);
}

void InstallerUI::confirm_cancel()
{
    NotificationPopup popup;
    theme_store& t = popup.root().theme();
    t.set_redirect("message_popup_window_margins", "notifications_window_margins");
    t.set_redirect("message_popup_component_margins", "notifications_component_margins");
    popup.show(this, "Exit Installer",
               std::string("Are you sure you want to cancel ") + product_for_host + " installation?");
    asking_to_exit = true;
    const int result = popup.run_modal();
    asking_to_exit = false;
    // YES ends the installer; after NO, a run that ended while the question
    // was up is reported by the next poll.
    if (result != 0)
        end_modal(result);
}

void InstallerUI::on_license_menu(const event_info& e)
{
    if (reinterpret_cast<std::intptr_t>(e.data) != right_button)
        return;
    popup_menu menu;
    menu.add_item(copy_command, -1, "Copy");
    // The cursor position is in screen pixels already, as the menu wants it.
    POINT at{};
    GetCursorPos(&at);
    const int chosen = TrackPopupMenuEx(menu.handle(), TPM_RETURNCMD, at.x, at.y, handle(), nullptr);
    if (chosen == copy_command)
        copy_text_to_clipboard(handle(), license_label.text());
}
