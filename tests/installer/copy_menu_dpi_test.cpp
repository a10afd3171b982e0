#include "widget_input.h"
#include "right_click.h"

#include "installer/installer_ui.h"

#include "toolkit/theme_store.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <thread>

using namespace qvsdk::ui;

namespace {

// The visible popup menu window, if one is open.
HWND open_menu()
{
    HWND found = nullptr;
    EnumWindows(
        [](HWND w, LPARAM out) -> BOOL {
            wchar_t name[16] = {};
            GetClassNameW(w, name, 16);
            if (IsWindowVisible(w) && std::wstring(name) == L"#32768") {
                *reinterpret_cast<HWND*>(out) = w;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

} // namespace

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
    widget_input::pump_for(300);
    ASSERT_EQ(ui.page(), 3);

    POINT at{MulDiv(600, dpi, 96), MulDiv(300, dpi, 96)};
    ClientToScreen(ui.handle(), &at);
    std::atomic<bool> seen{false};
    RECT menu{};
    HWND window_handle = ui.handle();
    std::thread watcher([&] {
        for (int i = 0; i < 250 && !seen; ++i) {
            if (HWND m = open_menu()) {
                GetWindowRect(m, &menu);
                seen = true;
            } else {
                Sleep(20);
            }
        }
        widget_input::key(VK_ESCAPE);
        Sleep(500);
        PostMessageW(window_handle, WM_CANCELMODE, 0, 0); // never leave a menu open
    });
    right_click(at);
    watcher.join();
    widget_input::pump_for(200);

    ASSERT_TRUE(seen);
    EXPECT_LE(std::abs(menu.left - at.x), 2) << "menu at " << menu.left << "," << menu.top << " cursor at " << at.x
                                             << "," << at.y;
    EXPECT_LE(std::abs(menu.top - at.y), 2);
    global_theme = make_theme_map();
}
