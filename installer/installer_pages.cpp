#include "installer/installer_ui.h"

#include "installer/install_progress.h"

#include "embedded/installer_data.h"
#include "toolkit/event_ids.h"
#include "toolkit/path.h"
#include "toolkit/text_encoding.h"

#include <algorithm>

using namespace qvsdk::ui;

namespace {

const char* const page_title_text = "QV Vesk Plug-in for After Effects Installer";
const char* const product_for_host = "QV Vesk Plug-in for After Effects";
const char* const version_text = "1.0.3 ";
constexpr color transparent(0, 0, 0, 0);

void intro_style(theme_store& t)
{
    t.set_redirect("label_text_valign", "label_intro_text_valign");
    t.set_redirect("label_font_size", "intro_font_size");
    t.set_redirect("label_font_name", "intro_font_name");
    t.set_redirect("label_font_color", "intro_font_color");
}

std::int32_t below(const widget& w) { return w.bounds().bottom() + 15; }

} // namespace

void InstallerUI::build_targets()
{
    const std::vector<std::wstring> folders = installer.find_versions();
    targets.clear();
    for (std::size_t i = 0; i < folders.size(); ++i)
        if (!folders[i].empty())
            targets.push_back({std::int32_t(i), folders[i], true, 0});
    targets.push_back({custom_slot, L"", false, 0});
}

void InstallerUI::make_page(std::int32_t index)
{
    const theme_store& t = root().theme();
    const std::int32_t header = t.get_int("header_size");
    const std::int32_t footer = t.get_int("footer_size");
    const std::int32_t B = t.get_int_pair("banner_size").first;
    generic_panel& page = pages[index];
    page.theme().set_value("default_back_color", transparent);
    page.attach(this, &root(), rect(B, header, root().width() - B, root().height() - footer - header));
    page.set_visible(false);
}

void InstallerUI::make_title(std::int32_t index, const std::string& text)
{
    text_label& title = titles[index];
    theme_store& t = title.theme();
    t.set_redirect("label_font_size", "title_font_size");
    t.set_redirect("label_font_weight", "title_font_weight");
    t.set_redirect("label_font_color", "title_font_color");
    t.set_redirect("label_font_name", "title_font_name");
    title.attach(this, &pages[index], rect(0, 0, content_width() - 140, 60));
    title.set_text(text, false, index == 0);
}

void InstallerUI::centre_page(std::int32_t index, std::int32_t content_height)
{
    const theme_store& t = root().theme();
    const std::int32_t header = t.get_int("header_size");
    const std::int32_t area = root().height() - t.get_int("footer_size") - header;
    generic_panel& page = pages[index];
    const size s = page.at_least_minimum({page.width(), content_height});
    page.set_rect(rect(page.bounds().x, header + (area - s.height) / 2, s.width, s.height), true);
}

void InstallerUI::build_welcome_page()
{
    make_page(0);
    const std::int32_t label_width = content_width() - 150;
    make_title(0, std::string("Welcome to the ") + "QV Vesk Plug-in Installer" + " for " + "After Effects" + "!");

    intro_style(intro_label.theme());
    intro_label.attach(this, &pages[0], rect(0, below(titles[0]), label_width, 20));
    intro_label.set_text(std::string("This will install ") + "QV Vesk Plug-in" + " " + version_text +
                             " on your computer!\n\n" +
                             "It is recommended that you close all other applications before continuing.\n",
                         false, true);

    theme_store& a = agreement_label.theme();
    a.set_redirect("label_font_size", "intro_font_size");
    a.set_redirect("label_font_name", "intro_font_name");
    a.set_redirect("label_font_color", "intro_font_color");
    a.set_value("label_font_weight", 0);
    agreement_label.attach(this, &pages[0], rect(0, below(intro_label), label_width, 60));
    agreement_label.set_text("By installing you agree to the ", true, false);

    theme_store& l = welcome_link.theme();
    l.set_redirect("button_font_name", "intro_font_name");
    l.set_redirect("button_font_size", "intro_font_size");
    l.set_redirect("button_font_color", "intro_font_color");
    l.set_value("button_font_alignment", 0);
    for (const theme_key& k : {theme_key("button_color_normal"), theme_key("button_color_hover"),
                               theme_key("button_border_color_normal"), theme_key("button_border_color_hover"),
                               theme_key("button_border_color_focus")})
        l.set_value(k, transparent);
    welcome_link.set_text("Quorvane Software License Agreement");
    welcome_link.attach(this, &pages[0],
                        rect(agreement_label.bounds().right(), agreement_label.bounds().y, 250, 60));
    welcome_link.auto_size();
    event_manager::instance().subscribe(&welcome_link, this, clicked_event,
                                        [this](const event_info& e) { on_button_click(e); });

    theme_store& v = version_label.theme();
    intro_style(v);
    v.set_redirect("label_font_size", "intro_version_font_size");
    v.set_redirect("label_font_color", "intro_version_font_color");
    v.set_redirect("label_font_style", "intro_version_font_style");
    version_label.attach(this, &pages[0], rect(0, below(agreement_label), label_width, 20));
    version_label.set_text(std::string("Version: ") + version_text, false, true);

    centre_page(0, titles[0].height() + intro_label.height() + agreement_label.height() + version_label.height() + 45);
}

void InstallerUI::build_versions_page()
{
    make_page(1);
    const std::int32_t label_width = content_width() - 150;
    make_title(1, page_title_text);
    intro_style(subtitle_label.theme());
    subtitle_label.attach(this, &pages[1], rect(0, below(titles[1]), label_width, 20));
    subtitle_label.set_text("Select which versions of Adobe After Effects to install.", false, true);

    const std::int32_t first_row = below(subtitle_label);
    std::int32_t last_bottom = first_row + 14;
    std::int32_t placed = 0;
    auto& events = event_manager::instance();
    for (std::size_t i = targets.size(); i-- > 0;) {
        InstallTarget& target = targets[i];
        rect r(190, first_row, 85, 14);
        if (target.version != custom_slot) {
            r = rect(placed % 2 == 0 ? 0 : 95, first_row + (placed / 2) * 20, 85, 14);
            ++placed;
        }
        auto box = std::make_unique<check_box>();
        box->set_text(installer.version_names[std::size_t(target.version)]);
        box->bind(&target.selected);
        box->attach(this, &pages[1], r);
        box->layout(0);
        box->set_enabled(true);
        set_tooltip(box.get(), rect(), "",
                    "[Plugin] " + qvsdk::wide_to_utf8(qvsdk::join_path(target.plugin_folder, L"Quorvane")));
        events.subscribe(box.get(), this, value_changed_event, [this](const event_info& e) { on_versions_event(e); });
        last_bottom = std::max(last_bottom, r.bottom());
        boxes.push_back(std::move(box));
    }

    version_flow.attach(this, &pages[1], rect(0, last_bottom + 15, label_width, 10));
    events.subscribe(&version_flow, this, resized_event, [this](const event_info& e) { on_versions_event(e); });

    path_button.set_text("Plugin Path");
    path_button.attach(this, &pages[1], rect(285, first_row - 5, 110, 25));
    path_button.auto_size();
    path_button.set_enabled(false);
    events.subscribe(&path_button, this, button_up_event, [this](const event_info& e) { on_versions_event(e); });

    theme_store& p = custom_path_label.theme();
    p.set_value("default_back_color", transparent);
    p.set_redirect("label_font_size", "label_path_font_size");
    p.set_redirect("label_text_valign", "label_path_text_valign");
    p.set_redirect("label_font_name", "intro_font_name");
    p.set_redirect("label_font_color", "intro_font_color");
    custom_path_label.attach(this, &version_flow, rect(0, 0, label_width, 20));
    custom_path_label.set_visible(false);
    version_flow.add_spacing(20);

    theme_store& f = free_space_label.theme();
    f.set_redirect("label_text_valign", "label_intro_text_valign");
    f.set_redirect("label_font_size", "intro_version_font_size");
    f.set_redirect("label_font_name", "intro_font_name");
    f.set_redirect("label_font_color", "intro_version_font_color");
    f.set_redirect("label_font_style", "intro_version_font_style");
    free_space_label.attach(this, &version_flow, rect(0, 0, label_width, 60));
    free_space_label.set_text(free_space_text(module_mb), false, false);
    version_flow.layout();

    centre_page(1, version_flow.bounds().bottom() + 15);
}

void InstallerUI::on_versions_event(const event_info& e)
{
    InstallTarget& custom = targets.back();
    if (e.source == &path_button && e.id == button_up_event) {
        const std::wstring chosen = choose_folder(this, "Custom Folder", custom.plugin_folder);
        if (!chosen.empty()) {
            custom.plugin_folder = chosen;
            custom_path_label.set_text("\nCustom Plugin Path: " + qvsdk::wide_to_utf8(chosen), false, true);
            version_flow.layout();
        }
    } else if (!boxes.empty() && e.source == boxes.front().get() && e.id == value_changed_event) {
        if (e.a != 2)
            return;
        path_button.set_enabled(custom.selected);
        custom_path_label.set_visible(custom.selected);
        version_flow.layout();
    } else if (e.source == &version_flow && e.id == resized_event) {
        generic_panel& page = pages[1];
        const size s = page.at_least_minimum({page.width(), version_flow.bounds().bottom() + 15});
        page.set_rect(rect(page.bounds().x, page.bounds().y, s.width, s.height), true);
    }
    if (free_space_label.is_created())
        free_space_label.set_text(free_space_text(pending_megabytes(targets, module_mb)), false, false);
    update_install_button();
}

void InstallerUI::update_install_button()
{
    if (current_page != 1 || targets.empty())
        return;
    const InstallTarget& custom = targets.back();
    const bool usable = !(custom.selected && custom.plugin_folder.empty());
    if (next_button.is_enabled(false) != usable) {
        next_button.set_enabled(usable);
        next_button.invalidate(false);
    }
}

void InstallerUI::build_license_page()
{
    make_page(3);
    const qvsdk::embedded_file source = installer_data::license();
    license_text.assign(reinterpret_cast<const char*>(source.data), source.size);
    const rect area(0, 0, pages[3].width(), pages[3].height());
    license_view.theme().set_value("default_back_color", color(1, 1, 1, 1));
    license_view.attach(this, &pages[3], area);

    license_bar.theme().set_value("default_back_color", color(0.208f, 0.208f, 0.208f, 1.0f));
    license_bar.set_step(30);
    license_bar.attach(this, &pages[3], rect(area.width - 15, 0, 15, area.height));

    theme_store& t = license_label.theme();
    t.set_value("default_back_color", color(1, 1, 1, 1));
    t.set_redirect("label_text_valign", "label_intro_text_valign");
    t.set_redirect("label_font_name", "license_label_font_name");
    t.set_redirect("label_font_size", "license_label_font_size");
    t.set_redirect("label_font_color", "license_label_font_color");
    license_label.attach(this, &license_view, rect(10, 0, area.width - 35, area.height));
    license_label.set_html(license_text, false, true);
    event_manager::instance().subscribe(&license_label, this, button_up_event,
                                        [this](const event_info& e) { on_license_menu(e); });
    license_bar.set_target(&license_label);
}

void InstallerUI::build_installing_page()
{
    if (installing_page_built)
        return;
    installing_page_built = true;
    make_page(2);
    const std::int32_t label_width = content_width() - 150;
    make_title(2, page_title_text);

    intro_style(status_label.theme());
    status_label.attach(this, &pages[2], rect(0, below(titles[2]), label_width, 20));
    status_label.set_text(std::string("Installing ") + product_for_host + ", please wait...", false, true);

    separator.attach(this, &pages[2], rect(0, below(status_label), label_width, 20));
    progress_bar.attach(this, &pages[2], rect(0, separator.bounds().bottom(), label_width, 15));

    const std::int32_t row_y = below(progress_bar);
    theme_store& i = installing_label.theme();
    i.set_redirect("label_text_valign", "label_intro_text_valign");
    i.set_redirect("label_font_size", "intro_font_size");
    i.set_redirect("label_font_name", "intro_font_name");
    i.set_redirect("label_font_color", "installing_label_font_color");
    i.set_redirect("label_font_style", "installing_label_font_style");
    i.set_value("default_back_color", color(0.5f, 0.5f, 0.5f, 0));
    installing_label.attach(this, &pages[2], rect(0, row_y, 100, 20));
    installing_label.set_text("Installing...", false, false);

    theme_store& p = progress_label.theme();
    p.set_value("default_back_color", color(0.5f, 0.5f, 0.5f, 0));
    p.set_redirect("label_text_valign", "label_intro_text_valign");
    p.set_redirect("label_font_size", "progress_label_font_size");
    p.set_redirect("label_font_name", "intro_font_name");
    p.set_redirect("label_font_color", "intro_font_color");
    p.set_value("label_text_align", 2);
    progress_label.attach(this, &pages[2], rect(0, row_y, label_width, 20));
    progress_label.set_html_mode(true);

    std::int32_t y = row_y + 20 + 15;
    for (const InstallTarget& target : targets) {
        if (!target.selected)
            continue;
        auto row = std::make_unique<InstalledCheckbox>();
        theme_store& r = row->theme();
        r.set_redirect("checkbox_font_name", "installed_check_font_name");
        r.set_redirect("checkbox_font_weight", "installed_check_font_wight");
        r.set_redirect("checkbox_font_color", "installed_check_font_color");
        r.set_redirect("checkbox_font_size", "installed_check_font_size");
        r.set_redirect("checkbox_image", "installed_check_image");
        r.set_value("default_back_color", transparent);
        r.set_value("checkbox_text_gap", 10);
        row->set_text(std::string(product_for_host) + " " + installer.version_names[std::size_t(target.version)]);
        row->attach(this, &pages[2], rect(0, y, label_width, 20));
        row->layout(0);
        row->set_visible(false);
        y += 25;
        rows.push_back(std::move(row));
    }

    intro_style(finish_hint.theme());
    finish_hint.attach(this, &pages[2], rect(0, y - 25 + 20 + 20, label_width, 60));
    finish_hint.set_text("Click Finish to close installer.", false, false);
    finish_hint.set_visible(false);
}
