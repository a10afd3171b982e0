#include "installer/installer_theme.h"

#include "embedded/installer_data.h"
#include "toolkit/theme_store.h"

using namespace qvsdk::ui;

namespace {

image_data picture(qvsdk::embedded_file file, std::uint32_t frames, float scale)
{
    return image_data{file.data, file.size, frames, scale};
}

color grey(float v) { return color(v, v, v, 1); }

} // namespace

std::vector<theme_entry> installer_theme_entries()
{
    return {
        {"header_size", 64},
        {"footer_size", 50},
        {"banner_size", int_pair{450, 500}},
        {"banner_image", picture(installer_data::banner(), 1, 1.0f)},
        {"background_image", picture(installer_data::background(), 1, 1.0f)},
        {"logo_image", picture(installer_data::logo(), 1, 2.0f)},
        {"main_back_color", grey(0.071f)},
        {"main_back_gradient_color1", grey(0.11f)},
        {"main_back_gradient_color2", grey(0.078f)},
        {"label_font_color", grey(0.784f)},
        {"label_font_name", "verdana"},
        {"checkbox_font_color", grey(0.784f)},
        {"checkbox_font_name", "verdana"},
        {"checkbox_image", picture(installer_data::checkbox(), 2, 1.0f)},
        {"title_font_size", 29.0f},
        {"title_font_name", "tahoma"},
        {"title_font_weight", 0},
        {"title_font_color", grey(1.0f)},
        {"intro_font_size", 13.0f},
        {"intro_font_name", "tahoma"},
        {"intro_font_color", grey(0.575f)},
        {"intro_version_font_size", 12.0f},
        {"intro_version_font_color", grey(0.394f)},
        {"intro_version_font_style", 1},
        {"label_intro_text_valign", 1},
        {"label_path_text_valign", 1},
        {"label_path_font_size", 11.0f},
        {"label_adobe_version_weight", 2},
        {"label_assets_weight", 2},
        {"label_install_weight", 2},
        {"license_label_font_name", "Arial"},
        {"license_label_font_size", 15.0f},
        {"license_label_font_color", grey(0.0f)},
        {"header_text_font_name", "tahoma"},
        {"header_text_font_size", 11.0f},
        {"header_text_font_color", grey(0.325f)},
        {"footer_text_font_name", "tahoma"},
        {"footer_text_font_size", 11.0f},
        {"footer_text_font_color", grey(0.494f)},
        {"rounded_button_back_color_normal", grey(0.141f)},
        {"rounded_button_back_color_hover", grey(0.216f)},
        {"rounded_button_back_color_disabled", grey(0.09f)},
        {"rounded_button_font_name", "tahoma"},
        {"rounded_button_font_size", 11.0f},
        {"rounded_button_font_color_normal", grey(0.4f)},
        {"rounded_button_font_color_hover", grey(1.0f)},
        {"rounded_button_font_color_disabled", grey(0.4f)},
        {"rounded_button_next_back_color_normal", color(0.024f, 0.553f, 0.867f, 1)},
        {"rounded_button_next_back_color_hover", color(0.015f, 0.496f, 0.659f, 1)},
        {"button_color_normal", grey(0.071f)},
        {"button_color_hover", grey(0.141f)},
        {"button_border_color_normal", grey(0.4f)},
        {"button_border_color_hover", grey(0.784f)},
        {"button_font_name", "tahoma"},
        {"button_font_weight", 0},
        {"button_font_size", 11.0f},
        {"button_font_color", grey(0.5f)},
        {"button_font_color_hover", grey(0.884f)},
        {"breakline_color", grey(0.204f)},
        {"summary_back_color", grey(0.071f)},
        {"summary_scroll_color", grey(0.0f)},
        {"summary_font_size", 10.0f},
        {"summary_font_color", grey(0.575f)},
        {"progress_label_font_size", 11.0f},
        {"progress_bar_back_color", grey(0.0f)},
        {"progress_bar_color1", color(0.023f, 0.535f, 0.838f, 1)},
        {"progress_bar_color2", color(0.012f, 0.287f, 0.445f, 1)},
        {"installing_label_font_style", 1},
        {"installing_label_font_color", grey(0.784f)},
        {"installed_check_font_name", "tahoma"},
        {"installed_check_font_color", grey(0.729f)},
        {"installed_check_font_size", 12.0f},
        {"installed_check_font_wight", 2},
        {"installed_check_image", picture(installer_data::installed_check(), 2, 2.0f)},
        {"notifications_text_font_name", "tahoma"},
        {"notifications_text_font_size", 12.0f},
        {"notifications_text_font_color", grey(0.784f)},
        {"notifications_text_alignment", 1},
        {"notifications_window_margins", int_pair{70, 20}},
        {"notifications_component_margins", int_pair{20, 20}},
        {"notifications_error_window_margins", int_pair{40, 20}},
        {"notifications_error_component_margins", int_pair{20, 20}},
        {"notifications_back_color", grey(0.071f)},
    };
}

void apply_installer_theme()
{
    const theme_map installer = build_theme_map(installer_theme_entries());
    global_theme = installer;
}
