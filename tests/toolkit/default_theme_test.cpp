#include "toolkit/image.h"
#include "toolkit/theme_store.h"

#include <gtest/gtest.h>

#include <iterator>
#include <set>
#include <string_view>

using namespace qvsdk::ui;

TEST(DefaultTheme, HoldsEveryKeyOnceWithTheFirstRowOfARepeatedKey)
{
    EXPECT_EQ(default_theme.size(), 530u);
    const theme_store store;
    EXPECT_EQ(store.get_color("color_select_dialog_back_color"), color(0.09f, 0.098f, 0.11f, 1));
    EXPECT_EQ(store.get_color("color_select_dialog_button_border_color_hover"), color(1, 1, 1, 1));
    EXPECT_EQ(store.get_int_pair("params_node_panel_port_input_size"), (int_pair{14, 20}));
}

TEST(DefaultTheme, ImageKeysWithoutPictureCarryFramesAndScale)
{
    const theme_store store;
    const image_data icon = store.get_image("dropdown_icon_image");
    EXPECT_EQ(icon.data, nullptr);
    EXPECT_EQ(icon.frames, 0u);
    EXPECT_EQ(icon.scale, 0.0f);
    EXPECT_EQ(store.get_image("dropdown_back_image").frames, 2u);
}

namespace {

struct picture_row {
    const char* key;
    int width, height, frames;
    float scale;
    bool alpha;
};

theme_key key_of(const char* text)
{
    theme_key key("x");
    key.text = text;
    key.length = std::char_traits<char>::length(text) + 1;
    key.hash = theme_key_hash(text, key.length);
    return key;
}

} // namespace

TEST(DefaultTheme, EveryPictureDecodesToItsListedSizeAndLayout)
{
    const picture_row rows[] = {
        {"checkbox_image", 14, 28, 2, 1, false},
        {"message_popup_image", 28, 24, 1, 1, true},
        {"color_select_hue_mark", 40, 9, 1, 1, true},
        {"dropdown_button_image", 8, 5, 1, 1, true},
        {"multicontrol_lock_image", 18, 144, 8, 1, true},
        {"scroll_button_arrow_image", 8, 8, 1, 1, true},
        {"browser_expand_image", 12, 96, 8, 1, true},
        {"browser_folder_image", 20, 20, 1, 1, true},
        {"browser_pack_image", 20, 20, 1, 1, true},
        {"browser_stared_image", 20, 20, 1, 1, true},
        {"browser_alien_image", 20, 20, 1, 1, true},
        {"browser_virtual_image", 20, 20, 1, 1, true},
        {"editparam_button_drives_image", 20, 180, 9, 1, true},
        {"editparam_image_default_image", 256, 256, 1, 1, true},
        {"multiwindow_button_image", 5, 10, 1, 1, true},
        {"node_expand_button_image", 12, 96, 8, 1, true},
        {"node_port_output_image", 40, 80, 2, 4, true},
        {"node_port_input_image", 40, 80, 2, 4, true},
        {"timeline_indicator_image", 28, 40, 1, 4, true},
        {"timeline_key_mark_image", 36, 72, 2, 4, true},
        {"timeline_work_area_mark_image", 64, 32, 1, 4, true},
        {"curve_editor_mark_image", 44, 132, 3, 4, true},
        {"curve_editor_mark_control_image", 44, 132, 3, 4, true},
    };
    const theme_store store;
    std::set<const void*> distinct;
    for (const picture_row& row : rows) {
        SCOPED_TRACE(row.key);
        const image_data picture = store.get_image(key_of(row.key));
        ASSERT_NE(picture.data, nullptr);
        ASSERT_GT(picture.size, 33u);
        distinct.insert(picture.data);
        EXPECT_EQ(picture.frames, static_cast<std::uint32_t>(row.frames));
        EXPECT_EQ(picture.scale, row.scale);
        // PNG colour type: 2 RGB, 6 RGBA; 8 bits per channel.
        const auto* bytes = static_cast<const unsigned char*>(picture.data);
        EXPECT_EQ(bytes[24], 8);
        EXPECT_EQ(bytes[25], row.alpha ? 6 : 2);

        image decoded;
        ASSERT_TRUE(decoded.load(picture.data, picture.size, picture.scale));
        EXPECT_EQ(decoded.pixel_size(), (size{row.width, row.height}));
        EXPECT_EQ(row.height % row.frames, 0);
    }
    EXPECT_EQ(distinct.size(), 21u);
}

namespace {

enum class kind { colour, real, integer, boolean, pair, four, text, picture };

// One key that the toolkit reads, with its kind and default. Pictures: f[0]
// is the scale, n[0] 1 when a PNG is embedded (0: no picture), n[1] the frames.
struct read_row {
    const char* key;
    kind k;
    float f[4];
    int n[4];
    const char* text;
};

const read_row read_keys[] = {
        {"default_back_color", kind::colour, {0.0f, 0.0f, 0.0f, 0.0f}, {}, nullptr},
        {"default_border_color", kind::colour, {0.0f, 0.0f, 0.0f, 0.0f}, {}, nullptr},
        {"default_border_width", kind::real, {1.0f}, {}, nullptr},
        {"checkbox_back_color", kind::colour, {0.0f, 0.0f, 0.0f, 0.0f}, {}, nullptr},
        {"checkbox_border_color_focus", kind::colour, {0.255f, 0.584f, 0.753f, 1.0f}, {}, nullptr},
        {"checkbox_font_name", kind::text, {}, {}, "Tahoma"},
        {"checkbox_font_style", kind::integer, {}, {0}, nullptr},
        {"checkbox_font_weight", kind::integer, {}, {0}, nullptr},
        {"checkbox_font_color", kind::colour, {1.0f, 1.0f, 1.0f, 1.0f}, {}, nullptr},
        {"checkbox_font_size", kind::real, {11.0f}, {}, nullptr},
        {"checkbox_text_gap", kind::integer, {}, {5}, nullptr},
        {"checkbox_image", kind::picture, {1.0f}, {1, 2}, nullptr},
        {"message_popup_back_color", kind::colour, {0.114f, 0.118f, 0.133f, 1.0f}, {}, nullptr},
        {"message_popup_font_name", kind::text, {}, {}, "Tahoma"},
        {"message_popup_font_style", kind::integer, {}, {0}, nullptr},
        {"message_popup_font_weight", kind::integer, {}, {0}, nullptr},
        {"message_popup_font_color", kind::colour, {1.0f, 1.0f, 1.0f, 1.0f}, {}, nullptr},
        {"message_popup_font_size", kind::real, {11.0f}, {}, nullptr},
        {"message_popup_text_align", kind::integer, {}, {1}, nullptr},
        {"message_popup_button_align", kind::integer, {}, {1}, nullptr},
        {"message_popup_image", kind::picture, {1.0f}, {1, 1}, nullptr},
        {"message_popup_window_margins", kind::pair, {}, {20, 20}, nullptr},
        {"message_popup_component_margins", kind::integer, {}, {10}, nullptr},
        {"button_color_normal", kind::colour, {0.173f, 0.176f, 0.192f, 1.0f}, {}, nullptr},
        {"button_color_hover", kind::colour, {0.239f, 0.247f, 0.263f, 1.0f}, {}, nullptr},
        {"button_color_toggle", kind::colour, {0.188f, 0.29f, 0.506f, 1.0f}, {}, nullptr},
        {"button_color_pressed", kind::colour, {0.0f, 0.0f, 0.0f, 0.0f}, {}, nullptr},
        {"button_round_edges", kind::boolean, {}, {0}, nullptr},
        {"button_round_radius", kind::real, {0.0f}, {}, nullptr},
        {"button_border_color_normal", kind::colour, {0.0f, 0.0f, 0.0f, 0.0f}, {}, nullptr},
        {"button_border_color_hover", kind::colour, {1.0f, 1.0f, 1.0f, 1.0f}, {}, nullptr},
        {"button_border_color_focus", kind::colour, {0.6f, 0.6f, 0.6f, 1.0f}, {}, nullptr},
        {"button_font_name", kind::text, {}, {}, "Tahoma"},
        {"button_font_style", kind::integer, {}, {0}, nullptr},
        {"button_font_weight", kind::integer, {}, {2}, nullptr},
        {"button_font_color", kind::colour, {1.0f, 1.0f, 1.0f, 1.0f}, {}, nullptr},
        {"button_font_color_hover", kind::colour, {1.0f, 1.0f, 1.0f, 1.0f}, {}, nullptr},
        {"button_font_color_pressed", kind::colour, {1.0f, 1.0f, 1.0f, 1.0f}, {}, nullptr},
        {"button_font_size", kind::real, {11.0f}, {}, nullptr},
        {"button_font_alignment", kind::integer, {}, {1}, nullptr},
        {"button_font_vertical_alignment", kind::integer, {}, {0}, nullptr},
        {"button_text_underlined", kind::boolean, {}, {0}, nullptr},
        {"button_text_clip", kind::boolean, {}, {0}, nullptr},
        {"button_text_margins", kind::pair, {}, {0, 0}, nullptr},
        {"button_image", kind::picture, {1.0f}, {0, 1}, nullptr},
        {"button_image_filter_multiply", kind::colour, {1.0f, 1.0f, 1.0f, 1.0f}, {}, nullptr},
        {"button_image_filter_multiply_area", kind::four, {}, {0, 0, 0, 0}, nullptr},
        {"button_image_strech", kind::boolean, {}, {0}, nullptr},
        {"button_back_image", kind::picture, {1.0f}, {0, 1}, nullptr},
        {"button_auto_size", kind::boolean, {}, {0}, nullptr},
        {"button_auto_size_min_max", kind::pair, {}, {65, 0}, nullptr},
        {"button_reset_hover", kind::boolean, {}, {0}, nullptr},
        {"tooltip_back_color", kind::colour, {0.106f, 0.106f, 0.11f, 1.0f}, {}, nullptr},
        {"tooltip_border_color", kind::colour, {0.29f, 0.31f, 0.325f, 1.0f}, {}, nullptr},
        {"tooltip_border_color_1", kind::colour, {0.0f, 0.0f, 0.0f, 1.0f}, {}, nullptr},
        {"tooltip_font_name", kind::text, {}, {}, "Tahoma"},
        {"tooltip_font_style", kind::integer, {}, {0}, nullptr},
        {"tooltip_font_weight", kind::integer, {}, {0}, nullptr},
        {"tooltip_font_color", kind::colour, {0.655f, 0.655f, 0.655f, 1.0f}, {}, nullptr},
        {"tooltip_font_size", kind::real, {11.0f}, {}, nullptr},
        {"tooltip_title_font_name", kind::text, {}, {}, "Tahoma"},
        {"tooltip_title_font_style", kind::integer, {}, {0}, nullptr},
        {"tooltip_title_font_weight", kind::integer, {}, {2}, nullptr},
        {"tooltip_title_font_color", kind::colour, {1.0f, 1.0f, 1.0f, 1.0f}, {}, nullptr},
        {"tooltip_title_font_size", kind::real, {11.0f}, {}, nullptr},
        {"scroll_button_back_color", kind::colour, {0.22f, 0.235f, 0.251f, 1.0f}, {}, nullptr},
        {"scroll_button_line_color", kind::colour, {0.325f, 0.325f, 0.325f, 1.0f}, {}, nullptr},
        {"scroll_button_arrow_image", kind::picture, {1.0f}, {1, 1}, nullptr},
        {"scroll_bar_back_color", kind::colour, {0.145f, 0.149f, 0.165f, 1.0f}, {}, nullptr},
        {"scroll_bar_line_color", kind::colour, {0.314f, 0.314f, 0.314f, 1.0f}, {}, nullptr},
        {"scroll_back_color", kind::colour, {0.067f, 0.071f, 0.078f, 1.0f}, {}, nullptr},
        {"scroll_min_size", kind::integer, {}, {50}, nullptr},
        {"scroll_speed_multiplier", kind::integer, {}, {2}, nullptr},
        {"scroll_auto_hide", kind::boolean, {}, {0}, nullptr},
        {"label_font_name", kind::text, {}, {}, "Tahoma"},
        {"label_font_style", kind::integer, {}, {0}, nullptr},
        {"label_font_weight", kind::integer, {}, {0}, nullptr},
        {"label_font_size", kind::real, {11.0f}, {}, nullptr},
        {"label_font_color", kind::colour, {1.0f, 1.0f, 1.0f, 1.0f}, {}, nullptr},
        {"label_text_align", kind::integer, {}, {0}, nullptr},
        {"label_text_valign", kind::integer, {}, {0}, nullptr},
        {"label_text_underlined", kind::boolean, {}, {0}, nullptr},
};

// The table's other keys, which nothing reads.
const char* const other_keys[] = {
        // default
        "default_back_color_disabled",
        // checkbox
        "checkbox_border_color_normal", "checkbox_border_color_hover", "checkbox_border_width",
        // colorcontrol
        "colorcontrol_gradient_1", "colorcontrol_gradient_2", "colorcontrol_border_color_normal",
        "colorcontrol_border_color_hover", "colorcontrol_border_color_focus", "colorcontrol_back_color_disabled",
        // color_select_dialog
        "color_select_dialog_margins", "color_select_dialog_back_color", "color_select_dialog_button_round_edges",
        "color_select_dialog_button_back_color_normal", "color_select_dialog_button_back_color_hover",
        "color_select_dialog_button_back_color_pressed", "color_select_dialog_button_border_color_normal",
        "color_select_dialog_button_border_color_hover", "color_select_dialog_borders_color",
        "color_select_dialog_text_color", "color_select_dialog_button_back_image",
        // color_select
        "color_select_hue_margins", "color_select_hue_mark", "color_select_hex_round_edges",
        "color_select_hex_round_edges_radius", "color_select_hex_back_color", "color_select_hex_border_color_normal",
        "color_select_hex_border_color_hover", "color_select_hex_font_color",
        // dropdown
        "dropdown_text_part_color", "dropdown_text_part_color_hover", "dropdown_text_part_color_disabled",
        "dropdown_gradient_text", "dropdown_gradient_text_1", "dropdown_gradient_text_2",
        "dropdown_button_part_color", "dropdown_button_part_color_hover", "dropdown_gradient_button",
        "dropdown_gradient_button_1", "dropdown_gradient_button_2", "dropdown_button_image",
        "dropdown_border_color_normal", "dropdown_border_color_hover", "dropdown_border_color_focus",
        "dropdown_font_name", "dropdown_font_style", "dropdown_font_weight", "dropdown_font_color",
        "dropdown_font_color_hover", "dropdown_font_color_disabled", "dropdown_font_color_extra",
        "dropdown_font_size", "dropdown_font_size_extra", "dropdown_text_align", "dropdown_text_margins",
        "dropdown_back_image", "dropdown_change_on_mouse_wheel", "dropdown_change_on_mouse_wheel_ctrl",
        "dropdown_round_edges", "dropdown_round_radius", "dropdown_icon_offset", "dropdown_icon_image",
        // menubar
        "menubar_back_color_selected", "menubar_back_color_highlight", "menubar_font_name", "menubar_font_style",
        "menubar_font_weight", "menubar_font_color", "menubar_font_color_selected", "menubar_font_color_highlight",
        "menubar_font_size",
        // splitpanel
        "splitpanel_back_color", "splitpanel_border_color_1", "splitpanel_border_color_2", "splitpanel_mark_color",
        "splitpanel_split_thickness", "splitpanel_split_area",
        // multicolumn_header
        "multicolumn_header_color", "multicolumn_header_divider_color", "multicolumn_header_font_name",
        "multicolumn_header_font_style", "multicolumn_header_font_weight", "multicolumn_header_font_color",
        "multicolumn_header_font_size",
        // multicolumn
        "multicolumn_font_name", "multicolumn_font_style", "multicolumn_font_weight", "multicolumn_font_size",
        "multicolumn_font_color", "multicolumn_font_color_selected", "multicolumn_font_color_disabled",
        "multicolumn_back_color_selected", "multicolumn_font_color_highlighted", "multicolumn_divider_color",
        "multicolumn_line_color",
        // tabcontainer
        "tabcontainer_line_color",
        // tabbutton
        "tabbutton_gradient_1", "tabbutton_gradient_2", "tabbutton_gradient_1_selected",
        "tabbutton_gradient_2_selected", "tabbutton_gradient_1_hover", "tabbutton_font_name", "tabbutton_font_style",
        "tabbutton_font_weight", "tabbutton_font_size", "tabbutton_font_color", "tabbutton_font_color_selected",
        // float
        "float_font_name", "float_font_style", "float_font_weight", "float_text_align", "float_text_valign",
        "float_text_valign_offset", "float_font_size", "float_font_color", "float_font_color_disabled",
        "float_input_back_color", "float_input_font_color", "float_input_font_default_text_color",
        "float_input_size_extra", "float_input_margins", "float_input_round_edges", "float_input_round_radius",
        "float_precision", "float_underline", "float_round_edges", "float_round_radius", "float_min_width",
        "float_margins", "float_size_auto", "float_border_color_normal", "float_border_color_hover",
        "float_border_color_pressed", "float_border_style", "float_border_width", "float_scale_bar_color_normal",
        "float_scale_bar_color_hover", "float_angle_watch", "float_angle_watch_back_color",
        "float_angle_watch_back_color_hover", "float_angle_watch_fill_color", "float_angle_watch_fill_color_hover",
        "float_angle_watch_border_color", "float_angle_watch_border_color_hover",
        // float_units
        "float_units_font_name", "float_units_font_style", "float_units_font_weight", "float_units_font_size",
        "float_units_font_color", "float_units_font_color_disabled",
        // float_label
        "float_label_font_name", "float_label_font_style", "float_label_font_weight", "float_label_font_size",
        "float_label_font_color", "float_label_font_color_disabled", "float_label_margins",
        // multicontrol
        "multicontrol_font_name", "multicontrol_font_size", "multicontrol_font_weight", "multicontrol_font_style",
        "multicontrol_font_color", "multicontrol_lock_image",
        // input
        "input_border_color", "input_border_color_hover", "input_round_edges", "input_round_radius",
        "input_selection_color", "input_ime_cursor_color", "input_ime_block_color", "input_font_name",
        "input_font_style", "input_font_weight", "input_font_size", "input_font_color", "input_font_color_selected",
        "input_inside_margins", "input_font_default_text_color",
        // label
        "label_text_clip_width", "label_text_clip_height",
        // browser
        "browser_back_color", "browser_back_color_hover", "browser_back_color_selected", "browser_font_color",
        "browser_font_color_hover", "browser_font_color_selected", "browser_font_name", "browser_font_style",
        "browser_font_weight", "browser_font_weight_selected", "browser_font_size", "browser_scroll_width",
        "browser_expand_image", "browser_folder_image", "browser_pack_image", "browser_stared_image",
        "browser_alien_image", "browser_virtual_image",
        // editparam
        "editparam_height", "editparam_margins", "editparam_flex_param", "editparam_param_offset",
        "editparam_text_offset", "editparam_back_color", "editparam_back_color_hover", "editparam_back_color_flash",
        "editparam_text_align", "editparam_font_color", "editparam_font_color_disabled", "editparam_font_name",
        "editparam_font_style", "editparam_font_weight", "editparam_font_size", "editparam_button_drives_image",
        "editparam_title_height", "editparam_title_back_color", "editparam_title_font_weight",
        "editparam_title_font_color", "editparam_title_font_color_hover", "editparam_null_height",
        "editparam_icon_image", "editparam_combo_size", "editparam_combo_size_auto", "editparam_combo_size_auto_max",
        "editparam_colorcontrol_size", "editparam_colorcontrol_border_color_hover", "editparam_button_size",
        "editparam_button_auto_size", "editparam_button_auto_size_min_max", "editparam_checkbox_border_color_normal",
        "editparam_checkbox_border_color_hover", "editparam_keyframe_color", "editparam_keyframe_color_active",
        "editparam_keyframe_color_inactive", "editparam_keyframe_color_available", "editparam_keyframe_size",
        "editparam_keyframe_button_size", "editparam_keyframe_span", "editparam_curve_size",
        "editparam_curve_size_auto", "editparam_curve_size_auto_max", "editparam_curve_grid_color",
        "editparam_curve_back_color", "editparam_curve_border_color", "editparam_curve_line_color",
        "editparam_curve_timeline_color",
        // editparam_inputbox
        "editparam_inputbox_size", "editparam_inputbox_size_auto", "editparam_inputbox_size_auto_max",
        "editparam_inputbox_back_color", "editparam_inputbox_border_color_normal",
        "editparam_inputbox_border_color_hover", "editparam_inputbox_round_edges", "editparam_inputbox_round_radius",
        "editparam_inputbox_inside_margins", "editparam_inputbox_font_size", "editparam_inputbox_font_name",
        // editparam_dropdown
        "editparam_dropdown_border_color_hover", "editparam_dropdown_font_color_hover",
        "editparam_dropdown_font_size", "editparam_dropdown_round_edges", "editparam_dropdown_round_radius",
        "editparam_dropdown_back_color_normal", "editparam_dropdown_back_color_hover",
        "editparam_dropdown_back_color_disabled", "editparam_dropdown_text_margins", "editparam_dropdown_icon_offset",
        "editparam_dropdown_icon_image",
        // editparam_float
        "editparam_float_size", "editparam_float_round_edges", "editparam_float_round_radius",
        "editparam_float_back_color", "editparam_float_back_color_disabled", "editparam_float_border_color_normal",
        "editparam_float_border_color_hover", "editparam_float_border_color_pressed", "editparam_float_min_width",
        "editparam_float_margins", "editparam_float_input_margins", "editparam_float_input_round_edges",
        "editparam_float_input_round_radius", "editparam_float_divider", "editparam_float_size_fit",
        "editparam_float_size_fit_max", "editparam_float_font_color", "editparam_float_font_color_driven",
        "editparam_float_units_font_color", "editparam_float_units_font_size", "editparam_float_font_size",
        "editparam_float_lock_span", "editparam_float_lock_size", "editparam_float_label_inclusive",
        "editparam_float_label_font_size", "editparam_float_label_font_color",
        "editparam_float_label_font_color_disabled", "editparam_float_label_margins",
        "editparam_float_scale_bar_color_normal", "editparam_float_scale_bar_color_hover",
        "editparam_float_precision_int", "editparam_float_precision_float", "editparam_float_precision_angle",
        "editparam_float_precision_percent", "editparam_float_precision_cm", "editparam_float_angle_watch",
        "editparam_float_angle_watch_back_color", "editparam_float_angle_watch_back_color_hover",
        "editparam_float_angle_watch_fill_color", "editparam_float_angle_watch_fill_color_hover",
        "editparam_float_angle_watch_border_color", "editparam_float_angle_watch_border_color_hover",
        // editparam_image
        "editparam_image_full_area", "editparam_image_max_image_height", "editparam_image_text_alignment",
        "editparam_image_browse_button_background", "editparam_image_browse_button_image",
        "editparam_image_expand_button_background", "editparam_image_expand_button_image",
        "editparam_image_expandable", "editparam_image_expanded_default", "editparam_image_full_highlight",
        "editparam_image_default_image",
        // multiwindow
        "multiwindow_back_color", "multiwindow_border_width", "multiwindow_gap_size", "multiwindow_border_color",
        "multiwindow_title_back_color", "multiwindow_tab_color", "multiwindow_tab_color_selected",
        "multiwindow_tab_gradient", "multiwindow_tab_gradient_1", "multiwindow_tab_gradient_2",
        "multiwindow_tab_gradient_1_selected", "multiwindow_tab_gradient_2_selected", "multiwindow_tab_round_edges",
        "multiwindow_tab_round_radius", "multiwindow_tab_line_color", "multiwindow_tab_line_color_selected",
        "multiwindow_tab_split_line_color", "multiwindow_tab_font_name", "multiwindow_tab_font_style",
        "multiwindow_tab_font_weight", "multiwindow_tab_font_size", "multiwindow_tab_font_color",
        "multiwindow_tab_font_color_selected", "multiwindow_tab_height", "multiwindow_button_color",
        "multiwindow_button_color_hover", "multiwindow_button_color_pressed", "multiwindow_button_image",
        "multiwindow_button_border_color_hover", "multiwindow_button_border_color_focus",
        // node
        "node_back_color", "node_expand_button_image", "node_border_color_normal", "node_border_color_hover",
        "node_border_color_hover_link", "node_border_color_selected", "node_border_color_focus",
        "node_port_back_color_normal", "node_port_back_color_hover", "node_port_border_color_normal",
        "node_port_border_color_hover", "node_port_output_image", "node_port_input_image",
        "node_port_image_filter_multiply", "node_port_image_filter_multiply_area", "node_link_color_normal",
        "node_link_color_hover", "node_link_color_selected", "node_link_color_selected_hover",
        "node_link_color_invalid", "node_link_color_ghost", "node_link_glow", "node_link_thickness",
        "node_canvas_grid_color", "node_canvas_selection_back_color", "node_canvas_selection_border_color",
        "node_canvas_relink_on_duplicate", "node_canvas_grid_snap", "node_canvas_back_color",
        // params_node_panel
        "params_node_panel_size", "params_node_panel_expanded_extra_height", "params_node_panel_new_distance",
        "params_node_panel_new_offset", "params_node_panel_port_output_size", "params_node_panel_port_input_size",
        "params_node_panel_font_color", "params_node_panel_font_name", "params_node_panel_font_size",
        "params_node_panel_font_weight", "params_node_panel_font_style",
        // timeline
        "timeline_back_color", "timeline_margins", "timeline_max_height", "timeline_mark_min_span",
        "timeline_mark_height", "timeline_mark_color", "timeline_mark_align", "timeline_mark_first_last_height",
        "timeline_half_marks", "timeline_half_mark_color", "timeline_indicator_width", "timeline_indicator_line_rect",
        "timeline_indicator_line_color_normal", "timeline_indicator_line_color_hover", "timeline_indicator_image",
        "timeline_label_margins", "timeline_label_align", "timeline_show_labels", "timeline_label_precision",
        "timeline_label_units", "timeline_font_name", "timeline_font_style", "timeline_font_weight",
        "timeline_font_size", "timeline_font_color", "timeline_key_mark_size", "timeline_key_mark_color_normal",
        "timeline_key_mark_color_hover", "timeline_key_mark_image", "timeline_work_area_mark_image",
        "timeline_work_area_mark_color", "timeline_work_area_back_color", "timeline_work_area_resize_margin",
        "timeline_work_area_offset", "timeline_grid_back_color", "timeline_grid_line_color",
        // curve_editor
        "curve_editor_mark_color_normal", "curve_editor_mark_color_hover", "curve_editor_mark_image",
        "curve_editor_mark_control_image", "curve_editor_mark_control_color", "curve_editor_curve_thickness",
        "curve_editor_grid_back_color", "curve_editor_grid_color", "curve_editor_guide_thickness",
        "curve_editor_guide_style",
        // keyframe_editor
        "keyframe_editor_grid_color", "keyframe_editor_axis_color",
        // list
        "list_back_color", "list_item_back_color_normal", "list_item_back_color_hover",
        "list_item_back_color_selected", "list_item_font_name", "list_item_font_style", "list_item_font_weight",
        "list_item_font_weight_selected", "list_item_font_size",
};

std::size_t value_size(const char* key)
{
    const auto it = default_theme.find(key_of(key));
    return it == default_theme.end() ? 0 : it->second.size();
}

bool ends_with(std::string_view text, std::string_view suffix)
{
    return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

} // namespace

TEST(DefaultTheme, EveryReadKeyHasItsKindAndDefault)
{
    ASSERT_EQ(std::size(read_keys), 82u);
    const theme_store store;
    for (const read_row& row : read_keys) {
        SCOPED_TRACE(row.key);
        const theme_key key = key_of(row.key);
        ASSERT_NE(default_theme.find(key), default_theme.end());
        const std::size_t bytes = value_size(row.key);
        switch (row.k) {
        case kind::colour:
            EXPECT_EQ(bytes, 16u);
            EXPECT_EQ(store.get_color(key), color(row.f[0], row.f[1], row.f[2], row.f[3]));
            break;
        case kind::real:
            EXPECT_EQ(bytes, 4u);
            EXPECT_EQ(store.get_float(key), row.f[0]);
            break;
        case kind::integer:
            EXPECT_EQ(bytes, 4u);
            EXPECT_EQ(store.get_int(key), row.n[0]);
            break;
        case kind::boolean:
            EXPECT_EQ(bytes, 1u);
            EXPECT_EQ(store.get_bool(key), row.n[0] != 0);
            break;
        case kind::pair:
            EXPECT_EQ(bytes, 8u);
            EXPECT_EQ(store.get_int_pair(key), (int_pair{row.n[0], row.n[1]}));
            break;
        case kind::four:
            EXPECT_EQ(bytes, 16u);
            EXPECT_EQ(store.get_rect(key), rect(row.n[0], row.n[1], row.n[2], row.n[3]));
            break;
        case kind::text:
            EXPECT_EQ(store.get_text(key), row.text);
            break;
        case kind::picture: {
            EXPECT_EQ(bytes, 24u);
            const image_data picture = store.get_image(key);
            EXPECT_EQ(picture.data != nullptr, row.n[0] != 0);
            EXPECT_EQ(picture.size > 0, row.n[0] != 0);
            EXPECT_EQ(picture.frames, static_cast<std::uint32_t>(row.n[1]));
            EXPECT_EQ(picture.scale, row.f[0]);
            break;
        }
        }
    }
}

TEST(DefaultTheme, EveryOtherKeyIsListedAndNamedForItsKind)
{
    ASSERT_EQ(std::size(other_keys), 448u);
    std::set<std::string_view> listed;
    for (const read_row& row : read_keys)
        listed.insert(row.key);
    for (const char* key : other_keys)
        EXPECT_TRUE(listed.insert(key).second) << key << " listed twice";
    // The table holds exactly the listed keys: a misspelt one shows here.
    EXPECT_EQ(listed.size(), default_theme.size());
    for (const auto& [key, value] : default_theme)
        EXPECT_TRUE(listed.count(std::string_view(key.text))) << key.text << " is not a listed key";

    const theme_store store;
    for (const char* key : other_keys) {
        SCOPED_TRACE(key);
        const std::string_view name(key);
        const std::size_t bytes = value_size(key);
        ASSERT_GT(bytes, 0u);
        if (ends_with(name, "_color") || name.find("_color_") != std::string_view::npos) {
            EXPECT_EQ(bytes, 16u);
            const color c = store.get_color(key_of(key));
            for (float channel : {c.r, c.g, c.b, c.a}) {
                EXPECT_GE(channel, 0.0f);
                EXPECT_LE(channel, 1.0f);
            }
        } else if (ends_with(name, "_font_name")) {
            EXPECT_EQ(store.get_text(key_of(key)), "Tahoma");
        } else if (ends_with(name, "_font_size")) {
            EXPECT_EQ(bytes, 4u);
            const float size = store.get_float(key_of(key)); // an int here would read as a tiny float
            EXPECT_GE(size, 1.0f);
            EXPECT_LE(size, 100.0f);
        } else if (ends_with(name, "_image")) {
            EXPECT_EQ(bytes, 24u);
        } else if (ends_with(name, "_round_edges")) {
            EXPECT_EQ(bytes, 1u);
        } else if (ends_with(name, "_margins")) {
            EXPECT_TRUE(bytes == 8u || bytes == 16u) << bytes;
        } else {
            EXPECT_TRUE(bytes == 1u || bytes == 4u || bytes == 8u || bytes == 16u || bytes == 24u) << bytes;
        }
    }
}
