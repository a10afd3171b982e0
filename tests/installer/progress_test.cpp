#include "installer/install_progress.h"
#include "installer/installer_theme.h"
#include "installer/progress_bar.h"
#include "installer/rounded_button.h"

#include "embedded/installer_data.h"
#include "toolkit/html_text.h"
#include "toolkit/theme_store.h"

#include <gtest/gtest.h>

TEST(progress, fraction_counts_installed_over_selected_and_is_guarded_when_nothing_is_selected)
{
    EXPECT_FLOAT_EQ(progress_fraction(1, 2, false), 0.5f);
    EXPECT_FLOAT_EQ(progress_fraction(0, 0, false), 0.0f);
    EXPECT_FLOAT_EQ(progress_fraction(0, 0, true), 1.0f);
    EXPECT_EQ(progress_fill_width(300, 0.5f), 150);
    EXPECT_EQ(progress_fill_width(300, 0.0f), 0);
    EXPECT_EQ(progress_fill_width(300, 2.0f), 300);
}

TEST(progress, megabytes_leave_out_unselected_and_empty_custom_targets)
{
    std::vector<InstallTarget> targets = {
        {10, L"C:\\A", true, 2}, {7, L"C:\\B", true, 40}, {6, L"C:\\C", false, 0}, {custom_slot, L"", true, 0}};
    // Each target receives one module of the given size.
    const float module_mb = 5.37f;
    EXPECT_FLOAT_EQ(selected_megabytes(targets, module_mb), 2 * module_mb);
    EXPECT_FLOAT_EQ(pending_megabytes(targets, module_mb), module_mb);
    EXPECT_EQ(installed_count(targets), 1);
    targets.back().plugin_folder = L"D:\\Mine";
    EXPECT_EQ(free_space_text(pending_megabytes(targets, module_mb)), "At least 10.7 MB of free disk space is required.");
    EXPECT_EQ(free_space_text(0), "");
    EXPECT_EQ(float_to_text(module_mb), "5.4");
}

TEST(progress, the_progress_line_is_valid_html_for_the_label)
{
    const std::string line = progress_html(0.5f, 5.37f, 2 * 5.37f);
    EXPECT_EQ(line, "<html><body><font color = \"#1b6936\">50% </font> Complete (5.4MB of 10.7MB)</body></html>");
    const qvsdk::ui::html_text parsed = qvsdk::ui::parse_html(line, {});
    EXPECT_EQ(parsed.text, "50%  Complete (5.4MB of 10.7MB)");
}

TEST(installer_look, the_licence_parses_and_the_theme_replaces_the_global_values)
{
    const qvsdk::embedded_file licence = installer_data::license();
    const qvsdk::ui::html_text parsed =
        qvsdk::ui::parse_html(std::string_view(reinterpret_cast<const char*>(licence.data), licence.size), {});
    EXPECT_NE(parsed.text.find("Quorvane Software License Agreement"), std::string::npos);
    EXPECT_EQ(parsed.text.find('<'), std::string::npos);

    EXPECT_EQ(installer_theme_entries().size(), 83u);
    apply_installer_theme();
    qvsdk::ui::theme_store own;
    EXPECT_EQ(own.get_text("label_font_name"), "verdana");
    EXPECT_EQ(own.get_image("checkbox_image").frames, 2u);
    own.set_redirect("checkbox_image", "installed_check_image");
    EXPECT_EQ(own.get_image("checkbox_image").scale, 2.0f);
    EXPECT_EQ(own.get_int("installed_check_font_wight"), 2);
    qvsdk::ui::global_theme = qvsdk::ui::make_theme_map();
}

TEST(installer_look, a_30_unit_pill_has_end_discs_of_radius_14_centred_15_from_each_end)
{
    const pill_shape p = pill_of(110, 30);
    EXPECT_EQ(p.left_centre.x, 15);
    EXPECT_EQ(p.left_centre.y, 15);
    EXPECT_EQ(p.right_centre.x, 95);
    EXPECT_FLOAT_EQ(p.radius, 14.0f);
}
