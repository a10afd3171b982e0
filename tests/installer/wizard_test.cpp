#include "test_folder.h"
#include "widget_host.h"
#include "widget_input.h"
#include "popup_answer.h"
#include "right_click.h"

#include "installer/clipboard_text.h"
#include "installer/install_status.h"
#include "installer/installer_ui.h"
#include "installer/notification_popup.h"

#include "toolkit/event_ids.h"
#include "toolkit/native_window.h"
#include "toolkit/path.h"
#include "toolkit/theme_store.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <thread>

using namespace qvsdk::ui;

namespace {

constexpr int window_x = 30;
constexpr int window_y = 380;

// The installer's theme, which the windows put in place, goes after each test.
struct wizard : ::testing::Test {
    void TearDown() override { global_theme = make_theme_map(); }
};

// Drives an installer window with the real mouse and keyboard.
struct wizard_driver {
    InstallerUI& ui;

    HWND hwnd() const { return ui.handle(); }
    POINT client_to_screen(int x, int y) const
    {
        POINT p{x, y};
        ClientToScreen(hwnd(), &p);
        return p;
    }
    void click_at(int x, int y) const
    {
        widget_input::focus(hwnd());
        const POINT p = client_to_screen(x, y);
        widget_input::click(p.x, p.y);
        widget_input::pump_for(250);
    }
    void click(const widget& w) const
    {
        const unit_box box = window_units_of(w);
        click_at((box.left + box.right) / 2, (box.top + box.bottom) / 2);
    }
    void click_left_of(const widget& w) const
    {
        const unit_box box = window_units_of(w);
        click_at(box.left + 7, (box.top + box.bottom) / 2);
    }
};

constexpr int next_x = 1024 - 210 + 20, footer_y = 610 - 25;

std::wstring clipboard_text(HWND owner)
{
    std::wstring text;
    if (!OpenClipboard(owner))
        return text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        text = static_cast<const wchar_t*>(GlobalLock(data));
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}
constexpr int back_x = 1024 - 380 + 20;
constexpr int cancel_x = 1024 - 520 + 20;

// Megabytes of that many modules of the size the installer carries, with one decimal.
std::string megabytes_of(int modules)
{
    const double mb = double(modules) * double(built_module().size()) / (1024.0 * 1024.0);
    char text[32];
    std::snprintf(text, sizeof(text), "%.1f", mb);
    return text;
}

std::string space_for(int modules)
{
    return "At least " + megabytes_of(modules) + " MB of free disk space is required.";
}

rect rect_of(const unit_box& b) { return rect(b.left, b.top, b.right - b.left, b.bottom - b.top); }

// The installing page's bar full to its right end: the run's last frame.
capture_test full_bar(const InstallerUI& ui)
{
    const unit_box bar = window_units_of(ui.progress());
    return [bar](const test_window::capture& c) { return blue_of(c.at(bar.right - 3, bar.top + 2)) > 120; };
}

// The notice behind a window of this process, or null.
const NotificationPopup* notice_of(HWND popup)
{
    auto* record = reinterpret_cast<native_window*>(GetWindowLongPtrW(popup, GWLP_USERDATA));
    return record ? dynamic_cast<NotificationPopup*>(record->owner) : nullptr;
}

// Shows an installer window at the tests' place on the screen, settled, and a
// driver for it.
wizard_driver place(InstallerUI& ui)
{
    SetWindowPos(ui.handle(), nullptr, window_x, window_y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ShowWindow(ui.handle(), SW_SHOW);
    widget_input::pump_for(600);
    return wizard_driver{ui};
}

} // namespace

TEST_F(wizard, installs_the_module_into_found_and_custom_folders_with_a_retry)
{
    test_folder root(L"wizard");
    const std::wstring cc2018 = root.make(L"AE2018\\Support Files\\Plug-ins");
    const std::wstring y2020 = root.make(L"Adobe After Effects 2020\\Support Files\\Plug-ins");
    const std::wstring custom = root.make(L"Custom Plug-ins");
    const std::wstring app_data = root.make(L"ProgramData");
    // The 2020 and Custom targets fail on the first run: a folder stands where the module goes.
    root.make(L"Adobe After Effects 2020\\Support Files\\Plug-ins\\Quorvane\\QVVesk.aex");
    root.make(L"Custom Plug-ins\\Quorvane\\QVVesk.aex");

    registry_tree catalogue(L"SOFTWARE\\Adobe\\After Effects");
    catalogue.set(L"15.0", L"PluginInstallPath", cc2018);
    catalogue.set(L"17.0", L"PluginInstallPath", y2020);

    InstallerUI ui([&](PluginInstaller& model) {
        model.common_app_data = [&] { return app_data; };
        // The first run fails once CANCEL asks.
        model.before_result = [&, first = true](std::size_t i) mutable {
            const auto asked = [] { return IsWindowVisible(FindWindowW(nullptr, L"Exit Installer")) != FALSE; };
            EXPECT_TRUE(i != 1 || !first || pump_until(asked)) << "the exit question before the 2020 result";
            first = first && i != 1;
        };
    });
    int chooser_calls = 0;
    ui.set_folder_chooser([&](window*, std::string_view title, const std::wstring&) {
        ++chooser_calls;
        EXPECT_EQ(title, "Custom Folder");
        return custom;
    });
    const wizard_driver d = place(ui);

    // Targets: CC2018, the 2020 folder beyond the catalogue, then Custom.
    ASSERT_EQ(ui.install_targets().size(), 3u);
    EXPECT_EQ(ui.install_targets()[0].version, 10);
    EXPECT_EQ(ui.install_targets()[1].version, 12);
    EXPECT_EQ(ui.model().version_names[12], "2020");
    EXPECT_FALSE(ui.install_targets()[2].selected);

    // Welcome.
    test_window::capture c = grab_window(d.hwnd(), "page0_welcome", "the banner's sphere", [](const auto& shot) {
        return blue_of(shot.at(225, 330)) > red_of(shot.at(225, 330)) + 40;
    });
    EXPECT_EQ(ui.page(), 0);
    EXPECT_TRUE(colour_near(c.at(5, 5), 18, 18, 18));               // header
    EXPECT_TRUE(colour_near(c.at(next_x - 10, footer_y), 6, 141, 221, 25)); // NEXT
    EXPECT_TRUE(colour_near(c.at(back_x - 10, footer_y), 23, 23, 23));      // BACK disabled
    EXPECT_EQ(ui.next().text(), "I AGREE");

    // The footer link opens the licence; BACK returns to the welcome page.
    d.click_at(200, 610 - 50 + 17 + 7);
    EXPECT_EQ(ui.page(), 3);
    capture_colours(d.hwnd(), "page3_licence", {{450 + 553, 64 + 200, 255, 255, 255}}); // white page beside the text

    // A right click on the text offers "Copy", which puts the whole text on the
    // clipboard (over a stale text, so that an earlier run's copy cannot pass).
    EXPECT_TRUE(pump_until([&] { return copy_text_to_clipboard(ui.handle(), "stale"); })) << "the clipboard free";
    HWND window_handle = ui.handle();
    std::thread chooser([window_handle] {
        if (!pump_until([] { return open_menu() != nullptr; })) {
            ADD_FAILURE() << "waited for the licence's menu to open";
            return;
        }
        widget_input::key(VK_DOWN);
        widget_input::key(VK_RETURN);
        if (!pump_until([] { return !open_menu(); }))
            PostMessageW(window_handle, WM_CANCELMODE, 0, 0); // never leave a menu open
    });
    right_click(d.client_to_screen(600, 300));
    std::wstring copied;
    EXPECT_TRUE(pump_until([&] { return (copied = clipboard_text(ui.handle())).find(L"10. Contact") != copied.npos; }))
        << "the licence's end on the clipboard";
    chooser.join();
    EXPECT_NE(copied.find(L"Quorvane Software License Agreement"), std::wstring::npos);
    d.click_at(back_x, footer_y);
    EXPECT_EQ(ui.page(), 0);

    // Versions.
    d.click_at(next_x, footer_y);
    ASSERT_EQ(ui.page(), 1);
    EXPECT_EQ(ui.next().text(), "INSTALL");
    EXPECT_EQ(ui.free_space_line().text(), space_for(2));
    ASSERT_EQ(ui.version_boxes().size(), 3u);
    EXPECT_EQ(ui.version_boxes()[0]->text(), "Custom");
    EXPECT_EQ(ui.version_boxes()[0]->bounds().x, 190);
    EXPECT_EQ(ui.version_boxes()[1]->text(), "2020");
    EXPECT_EQ(ui.version_boxes()[1]->bounds().x, 0);
    EXPECT_EQ(ui.version_boxes()[2]->bounds().x, 95);
    EXPECT_FALSE(ui.plugin_path_button().is_enabled(false));

    d.click_left_of(*ui.version_boxes()[0]);
    EXPECT_TRUE(ui.install_targets()[2].selected);
    EXPECT_TRUE(ui.plugin_path_button().is_enabled(false));
    // A Custom target without a folder adds nothing to the space needed, and
    // the install cannot start until it has one.
    EXPECT_EQ(ui.free_space_line().text(), space_for(2));
    EXPECT_FALSE(ui.next().is_enabled(false));
    d.click_at(next_x, footer_y);
    ASSERT_EQ(ui.page(), 1);
    d.click(ui.plugin_path_button());
    EXPECT_EQ(chooser_calls, 1);
    EXPECT_EQ(ui.install_targets()[2].plugin_folder, custom);
    EXPECT_NE(ui.custom_path_line().text().find("Custom Plugin Path: "), std::string::npos);
    EXPECT_EQ(ui.free_space_line().text(), space_for(3));
    EXPECT_TRUE(ui.next().is_enabled(false));
    grab_window(d.hwnd(), "page1_versions", "the custom path's ink", [&](const test_window::capture& c) {
        return ink_box(c, rect_of(window_units_of(ui.custom_path_line())), is_light).width > 0;
    });

    // Install: the 2020 target fails while CANCEL asks, then Custom fails; the
    // notice, which names the last failure, waits for NO, and its YES (Enter)
    // retries both targets after the obstacles are gone.
    bool retried = false;
    std::string message;
    std::thread user = answer_with_key([] { return FindWindowW(nullptr, L"Failed to install"); }, VK_RETURN,
                                       &retried, [&](HWND popup) {
                                           const NotificationPopup* notice = notice_of(popup);
                                           if (notice)
                                               message = notice->message_label().text();
                                           grab_window(popup, "popup_failed", "the notice's message", [&](auto& c) {
                                               return notice && ink_box(c, notice->message_label().bounds(),
                                                                        is_light).width > 0;
                                           });
                                           RemoveDirectoryW(module_in(y2020).c_str());
                                           RemoveDirectoryW(module_in(custom).c_str());
                                       });
    bool failure_under_question = true;
    std::atomic<int> polls{0};
    std::thread no = answer_with_key([] { return FindWindowW(nullptr, L"Exit Installer"); }, VK_ESCAPE, nullptr,
                                     [&](HWND) {
                                         EXPECT_TRUE(pump_until([&] { return ui.model().is_done(); }))
                                             << "the worker done under the question";
                                         const int seen = polls;
                                         EXPECT_TRUE(pump_until([&] { return polls >= seen + 3; }))
                                             << "three polls after the worker was done";
                                         // Shown or not yet, the notice's window must not exist.
                                         failure_under_question = FindWindowW(nullptr, L"Failed to install") != nullptr;
                                     });
    d.click_at(next_x, footer_y);
    EXPECT_EQ(ui.page(), 2);
    event_manager::instance().subscribe(ui.page_title(2).parent(), &ui, timer_event,
                                        [&](const event_info&) { ++polls; });
    d.click_at(cancel_x, footer_y);
    const bool finished = pump_until([&] { return ui.is_finished(); });
    no.join();
    user.join();
    EXPECT_FALSE(failure_under_question);
    EXPECT_TRUE(retried);
    EXPECT_EQ(message.substr(0, message.find('\n')),
              "The installation of QV Vesk Plug-in for After Effects Custom failed!");
    ASSERT_TRUE(finished) << "the run to finish";

    EXPECT_EQ(ui.next().text(), "FINISH");
    EXPECT_EQ(ui.status_line().text(), "QV Vesk Plug-in successfully installed.");
    EXPECT_EQ(ui.page_title(2).text(), "Mission Success!");
    for (const InstallTarget& t : ui.install_targets())
        EXPECT_EQ(t.status, status_installed);
    ASSERT_EQ(ui.result_rows().size(), 3u);
    EXPECT_EQ(ui.result_rows()[1]->text(), "QV Vesk Plug-in for After Effects 2020 installed.");
    EXPECT_TRUE(ui.result_rows()[1]->is_checked());
    EXPECT_NE(ui.progress_text().text().find("100% "), std::string::npos);
    EXPECT_NE(ui.progress_text().text().find("Complete (" + megabytes_of(3) + "MB of " + megabytes_of(3) + "MB)"),
              std::string::npos);

    const std::vector<unsigned char> expected = built_module();
    ASSERT_FALSE(expected.empty());
    for (const std::wstring& folder : {cc2018, y2020, custom}) {
        const std::vector<unsigned char> written = read_file(module_in(folder));
        EXPECT_EQ(written.size(), expected.size());
        EXPECT_TRUE(written == expected);
    }
    EXPECT_TRUE(file_exists(qvsdk::join_path(app_data, L"Quorvane")));

    c = grab_window(d.hwnd(), "page2_finished", "the full bar", full_bar(ui));
    const unit_box bar = window_units_of(ui.progress());
    EXPECT_GT(blue_of(c.at(bar.left + 2, bar.top + 2)), 120); // the bar is full from its left end
    const unit_box first_row = window_units_of(*ui.result_rows()[0]);
    const rect image = ui.result_rows()[0]->image_rect();
    const std::uint32_t mark = c.at(first_row.left + image.x + 5, first_row.top + image.y + 6);
    EXPECT_GT(green_of(mark), red_of(mark) + 30);               // the green check frame

    // FINISH ends the installer: the window hides itself.
    d.click_at(next_x, footer_y);
    EXPECT_FALSE(IsWindowVisible(ui.handle()));
}

namespace {

// Answers the next popup of that title with a key, from another thread.
std::thread answer_popup(const wchar_t* title, WORD key)
{
    return answer_with_key([title] { return FindWindowW(nullptr, title); }, key, nullptr);
}

} // namespace

TEST_F(wizard, with_nothing_selected_the_run_is_no_success_and_cancel_asks_first)
{
    test_folder root(L"empty");
    const std::wstring app_data = root.make(L"ProgramData");
    InstallerUI ui([&](PluginInstaller& model) {
        model.registry_path = L"SOFTWARE\\QvInstallerTests-none";
        model.common_app_data = [&] { return app_data; };
    });
    const wizard_driver d = place(ui);
    ASSERT_EQ(ui.install_targets().size(), 1u); // Custom only

    // CANCEL asks; NO (Escape) keeps the installer where it was.
    std::thread no = answer_popup(L"Exit Installer", VK_ESCAPE);
    d.click_at(cancel_x, footer_y);
    no.join();
    EXPECT_TRUE(IsWindowVisible(ui.handle()));
    EXPECT_EQ(ui.page(), 0);

    d.click_at(next_x, footer_y);
    ASSERT_EQ(ui.page(), 1);
    EXPECT_EQ(ui.free_space_line().text(), "");
    d.click_at(next_x, footer_y);
    ASSERT_TRUE(pump_until([&] { return ui.is_finished(); })) << "the run to finish";
    EXPECT_EQ(ui.status_line().text(), "Some components of QV Vesk Plug-in not correctly installed.");
    EXPECT_NE(ui.page_title(2).text(), "Mission Success!");
    EXPECT_FLOAT_EQ(ui.progress().fraction(), 1.0f);
    EXPECT_EQ(ui.next().text(), "FINISH");
    grab_window(d.hwnd(), "page2_nothing_selected", "the full bar", full_bar(ui));

    // FINISH ends the installer.
    d.click_at(next_x, footer_y);
    EXPECT_FALSE(IsWindowVisible(ui.handle()));
}

TEST_F(wizard, yes_on_the_cancel_question_ends_the_installer)
{
    InstallerUI ui([&](PluginInstaller& model) { model.registry_path = L"SOFTWARE\\QvInstallerTests-none"; });
    const wizard_driver d = place(ui);
    d.click_at(next_x, footer_y);
    ASSERT_EQ(ui.page(), 1);
    std::thread yes = answer_popup(L"Exit Installer", VK_RETURN);
    d.click_at(1024 - 520 + 20, footer_y);
    yes.join();
    EXPECT_FALSE(IsWindowVisible(ui.handle()));
}

TEST(clipboard, copies_unicode_text_and_fails_cleanly_while_another_window_holds_it)
{
    widget_host host(40, 420, 100, 40);
    ASSERT_TRUE(copy_text_to_clipboard(host.handle(), "Licence \xc3\xa9"));
    ASSERT_TRUE(OpenClipboard(host.handle()));
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(std::wstring(static_cast<const wchar_t*>(GlobalLock(data))), L"Licence \u00e9");
    GlobalUnlock(data);
    CloseClipboard();

    // Another thread's window keeps the clipboard open.
    HANDLE opened = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread holder([&] {
        HWND other = CreateWindowExW(0, L"STATIC", L"holder", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        OpenClipboard(other);
        SetEvent(opened);
        WaitForSingleObject(release, 5000);
        CloseClipboard();
        DestroyWindow(other);
    });
    WaitForSingleObject(opened, 5000);
    EXPECT_FALSE(copy_text_to_clipboard(host.handle(), "not copied"));
    SetEvent(release);
    holder.join();
    CloseHandle(opened);
    CloseHandle(release);
}

TEST_F(wizard, a_target_that_fails_while_the_poll_looks_away_is_reported_and_no_ends_the_run)
{
    test_folder root(L"race");
    const std::wstring cc2018 = root.make(L"AE2018\\Support Files\\Plug-ins");
    const std::wstring y2020 = root.make(L"Adobe After Effects 2020\\Support Files\\Plug-ins");
    const std::wstring app_data = root.make(L"ProgramData");
    root.make(L"Adobe After Effects 2020\\Support Files\\Plug-ins\\Quorvane\\QVVesk.aex"); // code 40
    registry_tree catalogue(L"SOFTWARE\\Adobe\\After Effects");
    catalogue.set(L"15.0", L"PluginInstallPath", cc2018);
    catalogue.set(L"17.0", L"PluginInstallPath", y2020);

    // The worker holds the failing target's code until the poll has copied
    // the statuses; the poll then looks away until the worker is done.
    HANDLE copied = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    InstallerUI ui([&](PluginInstaller& model) {
        model.common_app_data = [&] { return app_data; };
        model.before_result = [copied](std::size_t i) {
            if (i == 1)
                WaitForSingleObject(copied, 10000);
        };
    });
    int pauses = 0;
    ui.set_after_status_copy([&] {
        if (pauses++ > 0)
            return;
        SetEvent(copied);
        for (int i = 0; i < 1000 && !ui.model().is_done(); ++i)
            Sleep(10);
    });
    const wizard_driver d = place(ui);
    d.click_at(next_x, footer_y);
    ASSERT_EQ(ui.page(), 1);

    bool declined = false;
    std::string message;
    std::thread user = answer_with_key([] { return FindWindowW(nullptr, L"Failed to install"); }, VK_ESCAPE,
                                       &declined, [&](HWND popup) {
                                           if (const NotificationPopup* notice = notice_of(popup))
                                               message = notice->message_label().text();
                                       });
    d.click_at(next_x, footer_y);
    const bool finished = pump_until([&] { return ui.is_finished(); });
    user.join();
    CloseHandle(copied);
    ASSERT_TRUE(finished) << "the run to finish";
    EXPECT_TRUE(declined);
    EXPECT_GE(pauses, 2);

    EXPECT_EQ(message, "The installation of QV Vesk Plug-in for After Effects 2020 failed!\n\n"
                       "Could not create the plugin file (Error code: 40).\n - Make sure that After Effects is "
                       "closed\n - Make sure you have enough disk space.\n - Make sure you have administrative "
                       "privileges.\n\nPlease contact support if you continue to have trouble.\n\nDo you want to "
                       "retry?");
    EXPECT_EQ(ui.install_targets()[0].status, status_installed);
    EXPECT_EQ(ui.install_targets()[1].status, status_file_not_created);
    EXPECT_EQ(ui.status_line().text(), "Some components of QV Vesk Plug-in not correctly installed.");
    EXPECT_NE(ui.page_title(2).text(), "Mission Success!");
    EXPECT_EQ(ui.next().text(), "FINISH");
    EXPECT_TRUE(ui.next().is_enabled(false));
    EXPECT_FLOAT_EQ(ui.progress().fraction(), 1.0f);
    EXPECT_NE(ui.progress_text().text().find("100% "), std::string::npos);
    ASSERT_EQ(ui.result_rows().size(), 2u);
    EXPECT_EQ(ui.result_rows()[0]->text(), "QV Vesk Plug-in for After Effects CC2018 installed.");
    EXPECT_EQ(ui.result_rows()[1]->text(), "QV Vesk Plug-in for After Effects 2020 not installed.");
    EXPECT_TRUE(ui.result_rows()[1]->is_visible(false));
    EXPECT_FALSE(ui.result_rows()[1]->is_checked());
    grab_window(d.hwnd(), "page2_declined_retry", "the full bar", full_bar(ui));

    d.click_at(next_x, footer_y);
    EXPECT_FALSE(IsWindowVisible(ui.handle()));
}

TEST_F(wizard, the_licence_page_answers_cancel_i_agree_and_back)
{
    InstallerUI ui([&](PluginInstaller& model) { model.registry_path = L"SOFTWARE\\QvInstallerTests-none"; });
    const wizard_driver d = place(ui);

    // The welcome page's own link opens the licence too.
    d.click(ui.welcome_link_button());
    ASSERT_EQ(ui.page(), 3);
    EXPECT_EQ(ui.next().text(), "I AGREE");

    // CANCEL asks there as everywhere; NO keeps the licence page.
    bool asked = false;
    std::thread no = answer_with_key([] { return FindWindowW(nullptr, L"Exit Installer"); }, VK_ESCAPE, &asked);
    d.click_at(cancel_x, footer_y);
    no.join();
    EXPECT_TRUE(asked);
    EXPECT_TRUE(IsWindowVisible(ui.handle()));
    EXPECT_EQ(ui.page(), 3);

    // "I AGREE" returns to the page the licence came from; NEXT then goes on.
    d.click_at(next_x, footer_y);
    EXPECT_EQ(ui.page(), 0);
    d.click_at(next_x, footer_y);
    EXPECT_EQ(ui.page(), 1);

    // YES on the licence page ends the installer.
    d.click_at(200, 610 - 50 + 17 + 7);
    EXPECT_EQ(ui.page(), 1); // the footer link is hidden after page 0
    d.click_at(back_x, footer_y);
    ASSERT_EQ(ui.page(), 0);
    d.click_at(200, 610 - 50 + 17 + 7);
    ASSERT_EQ(ui.page(), 3);
    std::thread yes = answer_with_key([] { return FindWindowW(nullptr, L"Exit Installer"); }, VK_RETURN, nullptr);
    d.click_at(cancel_x, footer_y);
    yes.join();
    EXPECT_FALSE(IsWindowVisible(ui.handle()));
}

TEST_F(wizard, closing_during_an_install_waits_for_the_worker_and_leaves_whole_modules)
{
    test_folder root(L"close");
    const std::wstring cc2017 = root.make(L"AE2017\\Support Files\\Plug-ins");
    const std::wstring cc2018 = root.make(L"AE2018\\Support Files\\Plug-ins");
    const std::wstring y2020 = root.make(L"Adobe After Effects 2020\\Support Files\\Plug-ins");
    const std::wstring app_data = root.make(L"ProgramData");
    for (const std::wstring& folder : {cc2017, cc2018, y2020}) {
        qvsdk::create_folder_tree(qvsdk::join_path(folder, L"Quorvane"));
        write_file(module_in(folder), "old module");
    }
    registry_tree catalogue(L"SOFTWARE\\Adobe\\After Effects");
    catalogue.set(L"14.0", L"PluginInstallPath", cc2017);
    catalogue.set(L"15.0", L"PluginInstallPath", cc2018);
    catalogue.set(L"17.0", L"PluginInstallPath", y2020);

    // The worker is held in the middle target, its new module written beside
    // the old one, until the window has gone.
    const std::vector<unsigned char> fresh = built_module();
    const std::vector<unsigned char> old = {'o', 'l', 'd', ' ', 'm', 'o', 'd', 'u', 'l', 'e'};
    ASSERT_FALSE(fresh.empty());
    const auto whole_modules = [&] {
        bool whole = true;
        for (const std::wstring& folder : {cc2017, cc2018, y2020}) {
            const std::vector<unsigned char> bytes = read_file(module_in(folder));
            whole = whole && (bytes == fresh || bytes == old);
        }
        return whole;
    };
    std::atomic<bool> closed{false};
    std::atomic<bool> held{false};
    {
        InstallerUI ui([&](PluginInstaller& model) {
            model.common_app_data = [&] { return app_data; };
            model.before_rename = [&](std::size_t i) {
                if (i != 1)
                    return;
                held = true;
                for (int k = 0; k < 2000 && !closed; ++k)
                    Sleep(5);
                Sleep(300);
            };
        });
        const wizard_driver d = place(ui);
        d.click_at(next_x, footer_y);
        ASSERT_EQ(ui.page(), 1);
        d.click_at(next_x, footer_y);
        ASSERT_EQ(ui.page(), 2);
        ASSERT_TRUE(pump_until([&] { return held.load(); })) << "the worker held in the middle target";
        EXPECT_FALSE(ui.is_finished());
        EXPECT_TRUE(read_file(module_in(cc2018) + L".new") == fresh);

        // The close box, between the write and the rename; a later timer ends
        // the loop anyway, so that a lost close fails instead of hanging.
        event_manager::instance().subscribe(&ui, &ui, 17, [&](const event_info& e) {
            if (reinterpret_cast<std::uintptr_t>(e.data) == 77)
                ui.end_modal(99);
        });
        ui.native_record().set_timer(&ui, 77, 5000, true);
        PostMessageW(ui.handle(), WM_CLOSE, 0, 0);
        EXPECT_EQ(ui.run_modal(), 0);
        ui.native_record().kill_timer(&ui, 77);
        EXPECT_FALSE(IsWindowVisible(ui.handle()));
        EXPECT_TRUE(whole_modules());
        closed = true;
    }
    // The window's end waited for the worker's last rename.
    EXPECT_TRUE(whole_modules());
    for (const std::wstring& folder : {cc2017, cc2018, y2020})
        EXPECT_FALSE(file_exists(module_in(folder) + L".new"));
}
