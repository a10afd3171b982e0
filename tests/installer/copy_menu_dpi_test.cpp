#include "widget_input.h"
#include "right_click.h"

#include "installer/installer_ui.h"

#include "toolkit/theme_store.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <thread>

using namespace qvsdk::ui;

TEST(licence_copy_menu, opens_at_the_cursor_on_a_high_dpi_screen)
{
    InstallerUI ui([](PluginInstaller& model) { model.registry_path = L"SOFTWARE\\QvInstallerTests-none"; });
    const int dpi = ui.native_record().dpi_x;
    ASSERT_EQ(dpi, 144) << "run in a 144-dpi prefix";
    SetWindowPos(ui.handle(), nullptr, 20, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ShowWindow(ui.handle(), SW_SHOW);
    widget_input::pump_for(300);
    widget_input::focus(ui.handle());

    // The footer link, in window units scaled to pixels, opens the licence.
    POINT link{MulDiv(200, dpi, 96), MulDiv(610 - 50 + 17 + 7, dpi, 96)};
    ClientToScreen(ui.handle(), &link);
    widget_input::click(link.x, link.y);
    ASSERT_TRUE(pump_until([&] { return ui.page() == 3; })) << "the licence page after its link";

    POINT at{MulDiv(600, dpi, 96), MulDiv(300, dpi, 96)};
    ClientToScreen(ui.handle(), &at);
    std::atomic<bool> seen{false};
    RECT menu{};
    HWND window_handle = ui.handle();
    std::thread watcher([&] {
        HWND m = nullptr;
        if (!pump_until([&] { return (m = open_menu()) != nullptr; }))
            return;
        GetWindowRect(m, &menu);
        seen = true;
        widget_input::key(VK_ESCAPE);
        if (!pump_until([] { return !open_menu(); }))
            PostMessageW(window_handle, WM_CANCELMODE, 0, 0); // never leave a menu open
    });
    right_click(at);
    pump_until([&] { return seen.load(); }); // the menu's loop runs in here
    watcher.join();

    ASSERT_TRUE(seen) << "the copy menu to open";
    EXPECT_LE(std::abs(menu.left - at.x), 2) << "menu at " << menu.left << "," << menu.top << " cursor at " << at.x
                                             << "," << at.y;
    EXPECT_LE(std::abs(menu.top - at.y), 2);
    global_theme = make_theme_map();
}
