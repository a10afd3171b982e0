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
    for (int waited = 0; waited < ms; waited += 100) {
        if (exists(path))
            return true;
        widget_input::pump_for(100);
    }
    return exists(path);
}

} // namespace

TEST(text_label_link, ClickOnTheLinkOpensItsTargetAndShowsTheHand)
{
    // The link's target is a script that leaves a file behind when the shell opens it.
    const std::string marker = temp_path("qv_link_opened.txt");
    const std::string script = temp_path("qv_link_target.cmd");
    DeleteFileA(marker.c_str());
    if (FILE* f = std::fopen(script.c_str(), "w")) {
        std::fprintf(f, "@echo opened> \"%s\"\r\n", marker.c_str());
        std::fclose(f);
    }
    widget_host host(1100, 340, 300, 60);
    text_label label;
    host.add(label, rect(0, 0, 300, 60));
    label.set_html("<p>Read <a href=\"" + script + "\">the licence</a> first</p>", false, false);
    ASSERT_EQ(label.links().size(), 1u);
    const rect link = label.links()[0].area;
    ASSERT_GT(link.width, 10);
    widget_input::focus(host.handle());

    const POINT plain = host.screen_point(link.right() + 40, link.y + link.height / 2);
    widget_input::click(plain.x, plain.y);
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_ARROW));
    EXPECT_FALSE(appears_within(marker, 1500));

    const POINT on_link = host.screen_point(link.x + link.width / 2, link.y + link.height / 2);
    widget_input::move_to(on_link.x, on_link.y);
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_HAND));
    widget_input::click(on_link.x, on_link.y);
    EXPECT_TRUE(appears_within(marker, 10000));
    DeleteFileA(marker.c_str());
    DeleteFileA(script.c_str());
}
