#include "toolkit/image.h"
#include "toolkit/theme_store.h"

#include <gtest/gtest.h>

#include <set>

using namespace qvsdk::ui;

TEST(DefaultTheme, HoldsEveryKeyOnceWithTheFirstRowOfARepeatedKey)
{
    EXPECT_EQ(default_theme.size(), 530u);
    const theme_store store;
    EXPECT_EQ(store.get_color("color_select_dialog_back_color"), color(0.09f, 0.098f, 0.11f, 1));
    EXPECT_EQ(store.get_color("color_select_dialog_button_border_color_hover"), color(1, 1, 1, 1));
    EXPECT_EQ(store.get_int_pair("params_node_panel_port_input_size"), (int_pair{14, 20}));
}

TEST(DefaultTheme, ReadKeysHaveTheirFixedValues)
{
    const theme_store store;
    EXPECT_EQ(store.get_int("button_font_weight"), 2);
    EXPECT_EQ(store.get_int("label_font_weight"), 0);
    EXPECT_EQ(store.get_float("default_border_width"), 1.0f);
    EXPECT_EQ(store.get_color("checkbox_border_color_focus"), color(0.255f, 0.584f, 0.753f, 1));
    EXPECT_EQ(store.get_text("checkbox_font_name"), "Tahoma");
    EXPECT_EQ(store.get_int("checkbox_text_gap"), 5);
    EXPECT_EQ(store.get_int_pair("message_popup_window_margins"), (int_pair{20, 20}));
    EXPECT_EQ(store.get_int("message_popup_component_margins"), 10);
    EXPECT_EQ(store.get_int_pair("button_auto_size_min_max"), (int_pair{65, 0}));
    EXPECT_EQ(store.get_rect("button_image_filter_multiply_area"), rect());
    EXPECT_EQ(store.get_color("tooltip_font_color"), color(0.655f, 0.655f, 0.655f, 1));
    EXPECT_EQ(store.get_int("scroll_min_size"), 50);
    EXPECT_EQ(store.get_int("scroll_speed_multiplier"), 2);
    EXPECT_FALSE(store.get_bool("scroll_auto_hide"));
    EXPECT_EQ(store.get_float("label_font_size"), 11.0f);

    // Every value of the table is exactly one kind's size, or a text.
    const std::set<std::size_t> sizes{1, 4, 8, 16, 24};
    for (const auto& [key, value] : default_theme) {
        const std::string_view name(key.text);
        if (name.size() > 10 && name.substr(name.size() - 10) == "_font_name")
            EXPECT_EQ(std::string_view(reinterpret_cast<const char*>(value.data()), value.size()), "Tahoma");
        else
            EXPECT_TRUE(sizes.count(value.size())) << key.text;
    }
}

TEST(DefaultTheme, ImageKeysWithoutPictureCarryFramesAndScale)
{
    const theme_store store;
    const image_data button = store.get_image("button_image");
    EXPECT_EQ(button.data, nullptr);
    EXPECT_EQ(button.size, 0u);
    EXPECT_EQ(button.frames, 1u);
    EXPECT_EQ(button.scale, 1.0f);
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
