#include "toolkit/popup_menu.h"

#include "widget_input.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using qvsdk::ui::popup_menu;

namespace {

std::wstring item_text(HMENU menu, UINT command)
{
    wchar_t buffer[64] = {};
    GetMenuStringW(menu, command, buffer, 64, MF_BYCOMMAND);
    return buffer;
}

// A plain owner for the menu, away from the other tests' windows.
struct owner_window {
    HWND hwnd;
    owner_window()
    {
        hwnd = CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"menu owner", WS_POPUP | WS_VISIBLE, 1100, 60, 200, 100,
                               nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        widget_input::focus(hwnd);
    }
    ~owner_window() { DestroyWindow(hwnd); }
};

// Tracks the menu while a helper thread clicks: on the item when choose is
// set, else on the owner beside the menu. Clicks reach the menu whichever
// window has the foreground; a menu still open after a while is cancelled,
// so that a lost click fails the test instead of hanging it.
int track_and_click(const popup_menu& menu, HWND owner, bool choose)
{
    std::atomic<bool> done{false};
    const DWORD tracking_thread = GetCurrentThreadId();
    std::thread clicker([&] {
        // The open menu is a window of the system's menu class; its one item fills it. It takes
        // clicks once its thread is in menu mode.
        HWND shown = nullptr;
        GUITHREADINFO gui{};
        gui.cbSize = sizeof gui;
        EXPECT_TRUE(pump_until([&] {
            shown = FindWindowW(L"#32768", nullptr);
            return shown && IsWindowVisible(shown) && GetGUIThreadInfo(tracking_thread, &gui) && gui.hwndMenuOwner;
        })) << "the menu open and tracked";
        RECT item{};
        if (shown)
            GetWindowRect(shown, &item);
        const int x = choose ? (item.left + item.right) / 2 : 1280;
        const int y = choose ? (item.top + item.bottom) / 2 : 140;
        widget_input::click(x, y);
        if (!pump_until([&] { return done.load(); }, 5000))
            PostMessageW(owner, WM_CANCELMODE, 0, 0);
    });
    const int chosen = TrackPopupMenuEx(menu.handle(), TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN, 1120, 70,
                                        owner, nullptr);
    done = true;
    clicker.join();
    return chosen;
}

} // namespace

TEST(PopupMenu, ItemTextsKeepTheirCharactersBeyondAscii)
{
    popup_menu menu;
    menu.add_item(2, -1, "Copy");
    menu.add_item(3, -1, "Gr\xc3\xbc\xc3\x9f" "e \xe2\x82\xac");
    EXPECT_EQ(GetMenuItemCount(menu.handle()), 2);
    EXPECT_EQ(item_text(menu.handle(), 2), L"Copy");
    EXPECT_EQ(item_text(menu.handle(), 3), L"Gr\u00fc\u00dfe \u20ac");
}

TEST(PopupMenu, ChildItemsGoIntoSubmenusThatDieWithTheMenu)
{
    HMENU root, sub, subsub;
    {
        popup_menu menu;
        menu.add_item(10, -1, "Edit");
        EXPECT_EQ(GetSubMenu(menu.handle(), 0), nullptr); // a root item alone makes no submenu
        menu.add_item(11, 10, "Cut");
        menu.add_item(12, 10, "Paste");
        menu.add_item(13, 11, "Deeper");
        root = menu.handle();
        sub = GetSubMenu(root, 0);
        ASSERT_NE(sub, nullptr);
        EXPECT_EQ(GetMenuItemCount(sub), 2);
        EXPECT_EQ(item_text(sub, 12), L"Paste");
        subsub = GetSubMenu(sub, 0);
        ASSERT_NE(subsub, nullptr);
        EXPECT_EQ(item_text(subsub, 13), L"Deeper");
    }
    EXPECT_FALSE(IsMenu(root));
    EXPECT_FALSE(IsMenu(sub));
    EXPECT_FALSE(IsMenu(subsub));
}

TEST(PopupMenu, TrackingReturnsTheChosenCommandOrZero)
{
    owner_window owner;
    popup_menu menu;
    menu.add_item(2, -1, "Copy");
    EXPECT_EQ(track_and_click(menu, owner.hwnd, true), 2);
    EXPECT_EQ(track_and_click(menu, owner.hwnd, false), 0);
}
