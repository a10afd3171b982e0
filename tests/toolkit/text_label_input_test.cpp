#include "toolkit/text_label.h"

#include "widget_host.h"
#include "widget_input.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

using namespace qvsdk::ui;

namespace {

std::string temp_path(const char* name)
{
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    return std::string(folder) + name;
}

bool exists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool appears_within(const std::string& path, int ms)
{
    return pump_until([&] { return exists(path); }, ms);
}

// A script that leaves a file behind when the shell opens it.
std::string script_leaving(const std::string& marker, const char* name)
{
    const std::string script = temp_path(name);
    DeleteFileA(marker.c_str());
    if (FILE* f = std::fopen(script.c_str(), "w")) {
        std::fprintf(f, "@echo opened> \"%s\"\r\n", marker.c_str());
        std::fclose(f);
    }
    return script;
}

} // namespace

TEST(text_label_link, AClickOpensOnlyTheLinkUnderItAndShowsTheHand)
{
    const std::string first = temp_path("qv_link_first.txt"), second = temp_path("qv_link_second.txt");
    const std::string first_script = script_leaving(first, "qv_link_first.cmd");
    const std::string second_script = script_leaving(second, "qv_link_second.cmd");
    widget_host host(1100, 340, 190, 60);
    text_label label;
    host.add(label, rect(0, 0, 190, 60));
    // The first link (blue) wraps; the second one (red) follows it on its second line.
    label.set_html("<p>Some <a href=\"" + first_script + "\">words of the first link, which wraps</a> <a href=\""
                       + second_script + "\"><font color=\"#ff0000\">two</font></a></p>",
                   false, false);
    const rect all(0, 0, 190, 60);
    const test_window::capture c = host.grab("wrapped_links", "the red second link",
                                             [&](auto& shot) { return ink_box(shot, all, is_red).height > 0; });
    const rect some = ink_box(c, all, is_light), two = ink_box(c, all, is_red);
    const rect wrapped = ink_box(c, rect(0, two.y, 190, two.height), is_blue);
    const rect first_line = ink_box(c, rect(0, 0, 190, some.bottom()), is_blue);
    // Both lie inside the box around the whole first link.
    ASSERT_GT(wrapped.width, 10);
    ASSERT_LT(some.bottom(), two.y);
    ASSERT_LT(two.right(), first_line.right());
    widget_input::focus(host.handle());
    auto centre = [&](const rect& r) { return host.screen_point(r.x + r.width / 2, r.y + r.height / 2); };

    const POINT plain = centre(some), on_two = centre(two), on_wrapped = centre(wrapped);
    widget_input::click(plain.x, plain.y);
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_ARROW));
    widget_input::move_to(on_two.x, on_two.y);
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_HAND));
    widget_input::click(on_two.x, on_two.y);
    EXPECT_TRUE(appears_within(second, 10000));
    EXPECT_FALSE(appears_within(first, 1500));
    widget_input::click(on_wrapped.x, on_wrapped.y);
    EXPECT_TRUE(appears_within(first, 10000));
    // A link whose text lies all below the label keeps an empty region: no click opens it, not even at the corner.
    DeleteFileA(second.c_str());
    label.set_html("<br><br><br><br><br><br><br><br><a href=\"" + second_script + "\">clipped</a>", false, false);
    ASSERT_TRUE(label.links().size() == 1 && label.links()[0].area.is_zero());
    const POINT corner = host.screen_point(0, 0);
    widget_input::click(corner.x, corner.y);
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_ARROW));
    EXPECT_FALSE(appears_within(second, 1500));
    for (const std::string& path : {first, second, first_script, second_script})
        DeleteFileA(path.c_str());
}
