// The effect's own windows under a host with a user interface: the error window
// for failed commands, answered from a helper thread, and the About window.
#include "hostsdk/pf_effect.h"
#include "plugin/error_popup.h"
#include "plugin/product_link.h"
#include "tests/plugin/effect_window_helpers.h"
#include "tests/toolkit/test_window.h"
#include "tests/toolkit/widget_input.h"
#include "tools/qvhost/debug_output.h"
#include "tools/qvhost/test_host.h"
#include "toolkit/qv_exception.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

extern "C" PF_Err PluginMain(PF_Cmd, PF_InData*, PF_OutData*, PF_ParamDef*[], PF_LayerDef*, void*);

namespace {

// What the helper thread saw of the error window.
struct popup_seen {
    bool found = false;
    std::string message;
    bool owner_disabled = false;
    test_window::capture shot;
    qvsdk::ui::rect text;
};

class EffectWindows : public ::testing::Test {
protected:
    void SetUp() override
    {
        host = std::make_unique<qvhost::test_host>(PluginMain);
        host->render_engine = false;
        host->main_window = main_window.handle();
        ASSERT_EQ(host->global_setup(), PF_Err_NONE);
        ASSERT_EQ(host->params_setup(), PF_Err_NONE);
    }
    void TearDown() override
    {
        host->fault = nullptr;
        if (host->global_data())
            host->global_setdown();
        host.reset();
    }

    // Fails the next parameter-visibility update with what `thrower` throws.
    void fail_update_with(std::function<void()> thrower)
    {
        host->fault = [thrower](const std::string& call) {
            if (call == "AEGP_SetDynamicStreamFlag")
                thrower();
        };
    }

    // Fails the next update as `thrower` does and answers the error window with
    // `key`; the command returns 512. What the helper saw of the window, its
    // picture saved under `name`.
    popup_seen answered_failure(std::function<void()> thrower, WPARAM key, const char* name);

    host_main_window main_window;
    std::unique_ptr<qvhost::test_host> host;
};

bool any_light_pixel(const test_window::capture& c, const qvsdk::ui::rect& area)
{
    for (int y = area.y; y < area.y + area.height && y < c.height; ++y)
        for (int x = area.x; x < area.x + area.width && x < c.width; ++x)
            if (red_of(c.at(x, y)) > 160 && green_of(c.at(x, y)) > 160 && blue_of(c.at(x, y)) > 160)
                return true;
    return false;
}

// The window's picture once its background and the ink the test names show,
// repainted between tries as a window the user uncovers would be.
test_window::capture grab_painted(HWND hwnd, const char* name, std::uint32_t background, const char* what,
                                  const capture_test& ink)
{
    const auto painted = [&](const test_window::capture& c) {
        return c.width > 8 && colour_near(c.at(4, 4), red_of(background), green_of(background), blue_of(background), 6)
               && ink(c);
    };
    return capture_showing(hwnd, name, what, painted, [hwnd] { InvalidateRect(hwnd, nullptr, FALSE); });
}

// Looks at the error window, then answers it with a key.
// Windows that must appear are waited for generously: a crash writes its minidump
// first, which under a loaded machine takes many seconds, and a window left
// unanswered would hold the test forever.
constexpr int window_appears_ms = 120000;

std::thread answer_error_window(popup_seen& seen, HWND owner, WPARAM answer_key, const char* name,
                               int wait_ms = window_appears_ms)
{
    return std::thread([&seen, owner, answer_key, name, wait_ms] {
        HWND popup = wait_for_window(L"QV Vesk Exception", wait_ms);
        if (!popup)
            return;
        seen.found = true;
        seen.owner_disabled = !IsWindowEnabled(owner);
        if (qvsdk::ui::message_popup* p = popup_of(popup)) {
            seen.message = p->message();
            seen.text = p->text_rect();
        }
        seen.shot = grab_painted(popup, name, 0x1d1e22, "the message's ink",
                                 [&](const test_window::capture& c) { return any_light_pixel(c, seen.text); });
        PostMessageW(popup, WM_KEYDOWN, answer_key, 0);
        PostMessageW(popup, WM_KEYUP, answer_key, 0);
    });
}

popup_seen EffectWindows::answered_failure(std::function<void()> thrower, WPARAM key, const char* name)
{
    fail_update_with(thrower);
    popup_seen seen;
    std::thread helper = answer_error_window(seen, main_window.handle(), key, name);
    EXPECT_EQ(host->update_params_ui(), PF_Err_INTERNAL_STRUCT_DAMAGED);
    helper.join();
    host->fault = nullptr;
    return seen;
}

TEST_F(EffectWindows, FailedCommandShowsItsMessageOverTheHostWindowAndReturns512)
{
    const popup_seen seen =
        answered_failure([] { throw qv_exception("failed to create OpenGL 4.1 context"); }, VK_ESCAPE, "error_window");
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(seen.message, "failed to create OpenGL 4.1 context");
    EXPECT_TRUE(seen.owner_disabled);
    EXPECT_TRUE(IsWindowEnabled(main_window.handle()));
    EXPECT_EQ(wait_for_window(L"QV Vesk Exception", 0), nullptr);

    const test_window::capture& shot = seen.shot;
    ASSERT_EQ(shot.width, 500);
    // The warning picture at the margins, the message's place and the centred OK button.
    EXPECT_TRUE(colour_near(shot.at(28, 41), 245, 184, 41, 30));
    EXPECT_EQ(seen.text.x, 20 + 28 + 20);
    const int button_y = shot.height - 20 - 30;
    EXPECT_TRUE(colour_near(shot.at(250, button_y + 4), 44, 45, 49, 8));
    EXPECT_FALSE(colour_near(shot.at(195, button_y + 4), 44, 45, 49, 8));
    EXPECT_TRUE(any_light_pixel(shot, {200, button_y, 100, 30})); // "OK"

    // The effect goes on working.
    EXPECT_EQ(host->update_params_ui(), PF_Err_NONE);
}

TEST_F(EffectWindows, NonStandardExceptionShowsTheUnrecoverableErrorAndEnterCloses)
{
    const popup_seen seen = answered_failure([] { throw 42; }, VK_RETURN, "unrecoverable_error_window");
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(seen.message, "QV Vesk has encountered an unrecoverable error.");
    EXPECT_TRUE(IsWindowEnabled(main_window.handle()));
}

TEST_F(EffectWindows, CrashInACommandShowsTheMessageNamingTheMinidump)
{
    const popup_seen seen = answered_failure([] {
        volatile std::uintptr_t unmapped = 16;
        *reinterpret_cast<volatile int*>(unmapped) = 1;
    }, VK_ESCAPE, "crash_window");
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(seen.message.rfind("Please compress this file", 0), 0u) << seen.message;
    EXPECT_EQ(seen.message.substr(seen.message.size() - 4), ".dmp");
    EXPECT_EQ(host->update_params_ui(), PF_Err_NONE);
}

TEST_F(EffectWindows, OkButtonClosesTheErrorWindow)
{
    fail_update_with([] { throw std::runtime_error("host failure"); });
    bool found = false;
    bool closed_by_ok = false;
    std::thread helper([&found, &closed_by_ok] {
        HWND popup = wait_for_window(L"QV Vesk Exception", window_appears_ms);
        if (!popup)
            return;
        found = true;
        RECT client{};
        GetClientRect(popup, &client);
        grab_painted(popup, "ok_error_window", 0x1d1e22, "the OK button's label", [&](const test_window::capture& c) {
            return any_light_pixel(c, {200, client.bottom - 20 - 30, 100, 30});
        });
        const POINT ok = screen_point(popup, 250, client.bottom - 20 - 15);
        widget_input::move_to(ok.x, ok.y);
        widget_input::click(ok.x, ok.y);
        closed_by_ok = pump_until([popup] { return !IsWindowVisible(popup); });
        if (!closed_by_ok)
            PostMessageW(popup, WM_CLOSE, 0, 0); // fail, but do not hang
    });
    const PF_Err err = host->update_params_ui();
    helper.join();
    EXPECT_TRUE(found);
    EXPECT_TRUE(closed_by_ok) << "the OK button left the window open";
    EXPECT_EQ(err, PF_Err_INTERNAL_STRUCT_DAMAGED);
    EXPECT_TRUE(IsWindowEnabled(main_window.handle()));
}

// The host fails commands on several threads at once, and the About window's
// thread may ask in between: one window is up at a time, and each is shown.
TEST_F(EffectWindows, WindowsAskedForOnSeveralThreadsOpenOneAtATime)
{
    static HWND owner;
    owner = main_window.handle();
    PF_UtilCallbacks utils{};
    utils.get_platform_data = [](PF_ProgPtr, A_long, void* out) -> PF_Err {
        *static_cast<HWND*>(out) = owner;
        return PF_Err_NONE;
    };
    PF_InData in_data{};
    in_data.utils = &utils;
    std::atomic<int> finished{0};
    std::vector<std::string> shown;
    std::thread helper([&finished, &shown] {
        const DWORD end = GetTickCount() + 30000;
        while (finished < 3 && int(end - GetTickCount()) > 0) {
            HWND w = wait_for_window(L"QV Vesk Exception", 50);
            qvsdk::ui::message_popup* popup = w ? popup_of(w) : nullptr;
            if (!w && !(w = wait_for_window(L"QV Vesk", 50)))
                continue;
            Sleep(300); // room for a second window to open, were one let through
            int up = 0;
            for (const wchar_t* title : {L"QV Vesk Exception", L"QV Vesk"})
                for (HWND h = nullptr; (h = FindWindowExW(nullptr, h, nullptr, title));)
                    up += IsWindowVisible(h) ? 1 : 0;
            EXPECT_EQ(up, 1) << "windows up at once";
            shown.push_back(popup ? popup->message() : "About");
            PostMessageW(w, WM_CLOSE, 0, 0);
            pump_until([w] { return !IsWindowVisible(w); });
        }
        if (finished < 3) { // a window that never came or never went: fail, do not hang
            ADD_FAILURE() << "windows left waiting; shown: " << shown.size();
            std::fflush(stdout);
            std::_Exit(1);
        }
    });
    std::vector<std::thread> failing;
    for (const char* text : {"first", "second"})
        failing.emplace_back([&finished, &in_data, text] {
            const std::runtime_error error(text);
            show_error_popup(&error, &in_data);
            ++finished;
        });
    // The owner's thread goes on answering its messages, as the host's would.
    EXPECT_TRUE(pump_until([] { return wait_for_window(L"QV Vesk Exception", 0) != nullptr; }, 30000))
        << "the first error window";
    EXPECT_EQ(host->send(PF_Cmd_ABOUT), PF_Err_NONE);
    ++finished;
    EXPECT_TRUE(pump_until([&finished] { return finished == 3; }, 30000)) << "both failing threads to return";
    for (std::thread& t : failing)
        t.join();
    helper.join();

    std::sort(shown.begin(), shown.end());
    EXPECT_EQ(shown, (std::vector<std::string>{"About", "first", "second"}));
    EXPECT_TRUE(IsWindowEnabled(main_window.handle()));
}

// Without a user interface nobody could close a window: the message goes to the
// debugger output and the command still returns.
// The command fails with 512 and no window opens (one that does is closed, so the
// test fails instead of hanging); what went to the debugger output.
std::vector<std::string> debugger_lines_without_window(HWND owner, const std::function<PF_Err()>& command)
{
    popup_seen seen;
    std::thread watcher = answer_error_window(seen, owner, VK_ESCAPE, "unexpected_error_window", 3000);
    qvhost::debug_output output;
    EXPECT_EQ(command(), PF_Err_INTERNAL_STRUCT_DAMAGED);
    watcher.join();
    EXPECT_FALSE(seen.found);
    return output.lines();
}

TEST_F(EffectWindows, RenderEngineShowsNoWindowAndSendsTheMessageToTheDebugger)
{
    ASSERT_EQ(host->global_setdown(), PF_Err_NONE);
    host->render_engine = true;
    ASSERT_EQ(host->global_setup(), PF_Err_NONE);
    fail_update_with([] { throw std::runtime_error("host failure"); });
    EXPECT_EQ(debugger_lines_without_window(main_window.handle(), [&] { return host->update_params_ui(); }),
              std::vector<std::string>{"QV Vesk Exception: host failure\n"});

    // Also when set-up fails before the flag is read.
    host->fault = nullptr;
    ASSERT_EQ(host->global_setdown(), PF_Err_NONE);
    host->fault = [](const std::string& call) {
        if (call == "AEGP_RegisterWithAEGP")
            throw std::runtime_error("registration failed");
    };
    EXPECT_EQ(debugger_lines_without_window(main_window.handle(), [&] { return host->global_setup(); }),
              std::vector<std::string>{"QV Vesk Exception: registration failed\n"});
}

std::vector<std::string> opened_pages;
void record_page(const std::string& address)
{
    opened_pages.push_back(address);
}

int count_blue(const test_window::capture& c, int top, int bottom)
{
    int n = 0;
    for (int y = top; y < bottom && y < c.height; ++y)
        for (int x = 0; x < c.width; ++x)
            if (blue_of(c.at(x, y)) > 150 && red_of(c.at(x, y)) < 120)
                ++n;
    return n;
}

TEST_F(EffectWindows, AboutWindowShowsTheProductOpensItsPageAndClosesWithOk)
{
    opened_pages.clear();
    set_shell_opener(record_page);
    struct seen_t {
        bool found = false;
        bool owner_disabled = false;
        bool open_after_link = false;
        bool closed_by_ok = false;
        test_window::capture shot, hovered;
    } seen;
    std::thread helper([&seen, owner = main_window.handle()] {
        HWND about = wait_for_window(L"QV Vesk", window_appears_ms);
        if (!about)
            return;
        seen.found = true;
        seen.owner_disabled = !IsWindowEnabled(owner);
        seen.shot = grab_painted(about, "about_window", 0x232323, "the link's blue",
                                 [](const test_window::capture& c) { return count_blue(c, 50, 70) > 0; });
        const POINT link = screen_point(about, 80, 60);
        widget_input::move_to(link.x, link.y);
        seen.hovered = capture_showing(about, "about_window_link_hover", "the hovered link's row",
                                       [&](const auto& c) { return differs_within(seen.shot, c, 0, 50, 160, 20); });
        widget_input::click(link.x, link.y);
        EXPECT_TRUE(pump_until([] { return !opened_pages.empty(); })) << "the link to open the product page";
        seen.open_after_link = IsWindowVisible(about) != FALSE;
        const POINT ok = screen_point(about, 105, 125);
        widget_input::move_to(ok.x, ok.y);
        widget_input::click(ok.x, ok.y);
        seen.closed_by_ok = pump_until([about] { return !IsWindowVisible(about); });
        if (!seen.closed_by_ok)
            PostMessageW(about, WM_CLOSE, 0, 0);
    });
    const PF_Err err = host->send(PF_Cmd_ABOUT);
    helper.join();
    set_shell_opener(nullptr);

    EXPECT_EQ(err, PF_Err_NONE);
    ASSERT_TRUE(seen.found);
    EXPECT_TRUE(seen.owner_disabled);
    EXPECT_TRUE(IsWindowEnabled(main_window.handle()));
    EXPECT_TRUE(seen.open_after_link);
    EXPECT_TRUE(seen.closed_by_ok);
    ASSERT_EQ(opened_pages.size(), 1u);
    EXPECT_EQ(opened_pages[0], "https://www.quorvane.com/vesk/?v=1.0.3.74");

    const test_window::capture& shot = seen.shot;
    ASSERT_EQ(shot.width, 160);
    ASSERT_EQ(shot.height, 150);
    EXPECT_TRUE(colour_near(shot.at(4, 4), 35, 35, 35, 4));
    EXPECT_TRUE(any_light_pixel(shot, {0, 15, 160, 20}));     // product and version
    EXPECT_GT(count_blue(shot, 50, 70), 10);                  // the address in link blue
    EXPECT_TRUE(any_light_pixel(shot, {0, 85, 160, 20}));     // rights notice
    EXPECT_TRUE(colour_near(shot.at(68, 117), 45, 140, 235, 10)); // the OK button
    EXPECT_TRUE(any_light_pixel(shot, {65, 115, 80, 20}));
    // Hovering underlines the address.
    EXPECT_GT(count_blue(seen.hovered, 50, 70), count_blue(shot, 50, 70));
}

} // namespace
