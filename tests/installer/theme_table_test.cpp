#include "installer/installer_theme.h"

#include "toolkit/color.h"
#include "toolkit/image_data.h"
#include "toolkit/int_pair.h"
#include "toolkit/theme_value.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

using namespace qvsdk::ui;

namespace {

// One row of the installer's look as its designers tabled it; numbers holds
// the int, the float, the pair, the colour, or for a picture its pixel width,
// pixel height, frame count and scale.
struct row {
    enum kind_t { int32, real, pair, colour, text, picture };
    const char* key;
    kind_t kind;
    float numbers[4];
    const char* words = "";
};

const row table[] = {
        {"header_size", row::int32, {64}},
        {"footer_size", row::int32, {50}},
        {"banner_size", row::pair, {450, 500}},
        {"banner_image", row::picture, {900, 1000, 1, 1.0f}},
        {"background_image", row::picture, {576, 494, 1, 1.0f}},
        {"logo_image", row::picture, {236, 72, 1, 2.0f}},
        {"main_back_color", row::colour, {0.071f, 0.071f, 0.071f, 1.0f}},
        {"main_back_gradient_color1", row::colour, {0.11f, 0.11f, 0.11f, 1.0f}},
        {"main_back_gradient_color2", row::colour, {0.078f, 0.078f, 0.078f, 1.0f}},
        {"label_font_color", row::colour, {0.784f, 0.784f, 0.784f, 1.0f}},
        {"label_font_name", row::text, {}, "verdana"},
        {"checkbox_font_color", row::colour, {0.784f, 0.784f, 0.784f, 1.0f}},
        {"checkbox_font_name", row::text, {}, "verdana"},
        {"checkbox_image", row::picture, {14, 28, 2, 1.0f}},
        {"title_font_size", row::real, {29.0f}},
        {"title_font_name", row::text, {}, "tahoma"},
        {"title_font_weight", row::int32, {0}},
        {"title_font_color", row::colour, {1.0f, 1.0f, 1.0f, 1.0f}},
        {"intro_font_size", row::real, {13.0f}},
        {"intro_font_name", row::text, {}, "tahoma"},
        {"intro_font_color", row::colour, {0.575f, 0.575f, 0.575f, 1.0f}},
        {"intro_version_font_size", row::real, {12.0f}},
        {"intro_version_font_color", row::colour, {0.394f, 0.394f, 0.394f, 1.0f}},
        {"intro_version_font_style", row::int32, {1}},
        {"label_intro_text_valign", row::int32, {1}},
        {"label_path_text_valign", row::int32, {1}},
        {"label_path_font_size", row::real, {11.0f}},
        {"label_adobe_version_weight", row::int32, {2}},
        {"label_assets_weight", row::int32, {2}},
        {"label_install_weight", row::int32, {2}},
        {"license_label_font_name", row::text, {}, "Arial"},
        {"license_label_font_size", row::real, {15.0f}},
        {"license_label_font_color", row::colour, {0.0f, 0.0f, 0.0f, 1.0f}},
        {"header_text_font_name", row::text, {}, "tahoma"},
        {"header_text_font_size", row::real, {11.0f}},
        {"header_text_font_color", row::colour, {0.325f, 0.325f, 0.325f, 1.0f}},
        {"footer_text_font_name", row::text, {}, "tahoma"},
        {"footer_text_font_size", row::real, {11.0f}},
        {"footer_text_font_color", row::colour, {0.494f, 0.494f, 0.494f, 1.0f}},
        {"rounded_button_back_color_normal", row::colour, {0.141f, 0.141f, 0.141f, 1.0f}},
        {"rounded_button_back_color_hover", row::colour, {0.216f, 0.216f, 0.216f, 1.0f}},
        {"rounded_button_back_color_disabled", row::colour, {0.09f, 0.09f, 0.09f, 1.0f}},
        {"rounded_button_font_name", row::text, {}, "tahoma"},
        {"rounded_button_font_size", row::real, {11.0f}},
        {"rounded_button_font_color_normal", row::colour, {0.4f, 0.4f, 0.4f, 1.0f}},
        {"rounded_button_font_color_hover", row::colour, {1.0f, 1.0f, 1.0f, 1.0f}},
        {"rounded_button_font_color_disabled", row::colour, {0.4f, 0.4f, 0.4f, 1.0f}},
        {"rounded_button_next_back_color_normal", row::colour, {0.024f, 0.553f, 0.867f, 1.0f}},
        {"rounded_button_next_back_color_hover", row::colour, {0.015f, 0.496f, 0.659f, 1.0f}},
        {"button_color_normal", row::colour, {0.071f, 0.071f, 0.071f, 1.0f}},
        {"button_color_hover", row::colour, {0.141f, 0.141f, 0.141f, 1.0f}},
        {"button_border_color_normal", row::colour, {0.4f, 0.4f, 0.4f, 1.0f}},
        {"button_border_color_hover", row::colour, {0.784f, 0.784f, 0.784f, 1.0f}},
        {"button_font_name", row::text, {}, "tahoma"},
        {"button_font_weight", row::int32, {0}},
        {"button_font_size", row::real, {11.0f}},
        {"button_font_color", row::colour, {0.5f, 0.5f, 0.5f, 1.0f}},
        {"button_font_color_hover", row::colour, {0.884f, 0.884f, 0.884f, 1.0f}},
        {"breakline_color", row::colour, {0.204f, 0.204f, 0.204f, 1.0f}},
        {"summary_back_color", row::colour, {0.071f, 0.071f, 0.071f, 1.0f}},
        {"summary_scroll_color", row::colour, {0.0f, 0.0f, 0.0f, 1.0f}},
        {"summary_font_size", row::real, {10.0f}},
        {"summary_font_color", row::colour, {0.575f, 0.575f, 0.575f, 1.0f}},
        {"progress_label_font_size", row::real, {11.0f}},
        {"progress_bar_back_color", row::colour, {0.0f, 0.0f, 0.0f, 1.0f}},
        {"progress_bar_color1", row::colour, {0.023f, 0.535f, 0.838f, 1.0f}},
        {"progress_bar_color2", row::colour, {0.012f, 0.287f, 0.445f, 1.0f}},
        {"installing_label_font_style", row::int32, {1}},
        {"installing_label_font_color", row::colour, {0.784f, 0.784f, 0.784f, 1.0f}},
        {"installed_check_font_name", row::text, {}, "tahoma"},
        {"installed_check_font_color", row::colour, {0.729f, 0.729f, 0.729f, 1.0f}},
        {"installed_check_font_size", row::real, {12.0f}},
        {"installed_check_font_wight", row::int32, {2}},
        {"installed_check_image", row::picture, {38, 72, 2, 2.0f}},
        {"notifications_text_font_name", row::text, {}, "tahoma"},
        {"notifications_text_font_size", row::real, {12.0f}},
        {"notifications_text_font_color", row::colour, {0.784f, 0.784f, 0.784f, 1.0f}},
        {"notifications_text_alignment", row::int32, {1}},
        {"notifications_window_margins", row::pair, {70, 20}},
        {"notifications_component_margins", row::pair, {20, 20}},
        {"notifications_error_window_margins", row::pair, {40, 20}},
        {"notifications_error_component_margins", row::pair, {20, 20}},
        {"notifications_back_color", row::colour, {0.071f, 0.071f, 0.071f, 1.0f}},
};

std::uint32_t big_endian(const unsigned char* p)
{
    return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) | (std::uint32_t(p[2]) << 8) | p[3];
}

template <typename T>
T read(const theme_value& value)
{
    T result{};
    std::memcpy(&result, value.data(), sizeof(T));
    return result;
}

} // namespace

TEST(installer_theme, holds_every_row_of_the_table_in_order_with_its_kind_and_value)
{
    const std::vector<theme_entry> entries = installer_theme_entries();
    constexpr std::size_t rows = sizeof(table) / sizeof(table[0]);
    static_assert(rows == 83);
    ASSERT_EQ(entries.size(), rows);
    for (std::size_t i = 0; i < rows; ++i) {
        const row& r = table[i];
        SCOPED_TRACE(std::to_string(i) + " " + r.key);
        EXPECT_EQ(entries[i].key.hash, theme_key_hash(r.key, std::strlen(r.key) + 1));
        const theme_value& v = entries[i].value;
        switch (r.kind) {
        case row::int32:
            ASSERT_EQ(v.size(), 4u);
            EXPECT_EQ(read<std::int32_t>(v), std::int32_t(r.numbers[0]));
            break;
        case row::real:
            ASSERT_EQ(v.size(), 4u);
            EXPECT_EQ(read<float>(v), r.numbers[0]);
            break;
        case row::pair:
            ASSERT_EQ(v.size(), 8u);
            EXPECT_EQ(read<int_pair>(v).first, std::int32_t(r.numbers[0]));
            EXPECT_EQ(read<int_pair>(v).second, std::int32_t(r.numbers[1]));
            break;
        case row::colour:
            ASSERT_EQ(v.size(), 16u);
            EXPECT_EQ(read<color>(v), color(r.numbers[0], r.numbers[1], r.numbers[2], r.numbers[3]));
            break;
        case row::text:
            EXPECT_EQ(std::string(v.begin(), v.end()), r.words);
            break;
        case row::picture: {
            ASSERT_EQ(v.size(), 24u);
            const image_data picture = read<image_data>(v);
            EXPECT_EQ(picture.frames, std::uint32_t(r.numbers[2]));
            EXPECT_EQ(picture.scale, r.numbers[3]);
            // The picture's own size, from its header.
            ASSERT_GT(picture.size, 24u);
            const auto* bytes = static_cast<const unsigned char*>(picture.data);
            ASSERT_EQ(std::memcmp(bytes, "\x89PNG\r\n\x1a\n", 8), 0);
            EXPECT_EQ(big_endian(bytes + 16), std::uint32_t(r.numbers[0]));
            EXPECT_EQ(big_endian(bytes + 20), std::uint32_t(r.numbers[1]));
            break;
        }
        }
    }
}
