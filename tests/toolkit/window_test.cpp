#include "toolkit_window_helpers.h"

#include "toolkit/event_manager.h"
#include "toolkit/folder_dialog.h"
#include "toolkit/ime_context.h"
#include "toolkit/mouse_capture.h"
#include "toolkit/native_window.h"
#include "toolkit/render_context.h"
#include "toolkit/tooltip.h"
#include "toolkit/window.h"

#include <gtest/gtest.h>
#include <imm.h>

#include <atomic>
#include <new>
#include <stdexcept>
#include <string>
#include <thread>

using namespace qvsdk::ui;

namespace {

const color red(1, 0, 0, 1);
const color green(0, 1, 0, 1);
const color blue(0, 0, 1, 1);

// A topmost window at (200, 620), below the input tests' windows, with a red background and two children.
struct painted_window : ::testing::Test, three_colour_window {
    void SetUp() override { open("painted", 200, 620); }
};

} // namespace

TEST(window_create, RegistersTheToolkitClassAndRaisesCreatedOnRootThenWindow)
{
    window w;
    std::vector<event_object*> order;
    widget watcher;
    event_manager::instance().subscribe(&w.root(), &watcher, 20, [&](const event_info& e) { order.push_back(e.source); });
    event_manager::instance().subscribe(&w, &watcher, 20, [&](const event_info& e) { order.push_back(e.source); });
    w.create("created", rect(220, 640, 160, 100), 0);
    wchar_t name[64]{};
    GetClassNameW(w.handle(), name, 64);
    EXPECT_EQ(std::wstring(name), L"QVSDK_WINDOW_CLASS");
    ASSERT_EQ(order.size(), 2u);
    EXPECT_EQ(order[0], &w.root());
    EXPECT_EQ(order[1], &w);
    EXPECT_EQ(w.root().name(), "BaseWidget");
    EXPECT_EQ(w.root().bounds(), rect(0, 0, 160, 100));
    EXPECT_EQ(w.focused_widget(), &w.root());
    char title[64]{};
    GetWindowTextA(w.handle(), title, 64);
    EXPECT_STREQ(title, "created");
}

TEST(window_flags, StylesFollowTheCreateFlags)
{
    EXPECT_EQ(styles_for_flags(0).style, DWORD(WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN));
    EXPECT_EQ(styles_for_flags(0x02).style, DWORD(WS_CAPTION | WS_CLIPCHILDREN));
    const window_styles tip = styles_for_flags(0x21);
    EXPECT_EQ(tip.style, DWORD(WS_POPUP | WS_CLIPCHILDREN));
    EXPECT_EQ(tip.ex_style, DWORD(WS_EX_TOPMOST));
    const window_styles frameless = styles_for_flags(0x45);
    EXPECT_TRUE(frameless.frameless);
    EXPECT_TRUE(frameless.resizable_frameless);
    EXPECT_EQ(styles_for_flags(0x80 | 0x20).style, DWORD(WS_CHILD | WS_CLIPCHILDREN));
    EXPECT_EQ(styles_for_flags(0x80 | 0x20).ex_style, 0u);
}

TEST(window_centre, AWindowLargerThanTheWorkAreaStartsOnePixelInside)
{
    const RECT screen{0, 0, 1920, 1080};
    const RECT work{0, 0, 1920, 1040};
    const point big = centred_position(screen, {2500, 1500}, {2516, 1539}, work);
    EXPECT_EQ(big.x, 1);
    EXPECT_EQ(big.y, 1);
    const point small = centred_position(screen, {400, 200}, {416, 239}, work);
    EXPECT_EQ(small.x, 760);
    EXPECT_EQ(small.y, 440);
}

TEST(window_modal, EndModalFromAHandlerReturnsItsResultAndHiddenIsRaisedTwice)
{
    window w;
    w.create("modal", rect(240, 660, 160, 100), window_topmost);
    event_recorder log;
    log.watch(&w, {46, 47, 48, 17});
    event_manager::instance().subscribe(&w, &w, 17, [&](const event_info&) { w.end_modal(1); });
    w.native_record().set_timer(&w, 7, 50, true);
    EXPECT_EQ(w.run_modal(), 1);
    EXPECT_EQ(log.of(46).size(), 1u);
    EXPECT_EQ(log.of(48).size(), 1u);
    EXPECT_EQ(log.of(47).size(), 2u);
    ASSERT_EQ(log.of(17).size(), 1u);
    EXPECT_EQ(log.of(17)[0].data, 7u);
    EXPECT_FALSE(IsWindowVisible(w.handle()));
}

TEST(window_modal, ClosingWithoutAHandlerReturnsZero)
{
    window w;
    w.create("close box", rect(240, 660, 160, 100), window_topmost);
    PostMessageW(w.handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(w.run_modal(), 0);
}

TEST(window_modal, AHandlerForCloseDecides)
{
    window w;
    w.create("close handler", rect(240, 660, 160, 100), window_topmost);
    int asked = 0;
    event_manager::instance().subscribe(&w, &w, 19, [&](const event_info&) {
        if (++asked == 2)
            w.end_modal(5);
    });
    PostMessageW(w.handle(), WM_CLOSE, 0, 0);
    PostMessageW(w.handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(w.run_modal(), 5);
    EXPECT_EQ(asked, 2);
}

TEST(window_modal, AQuitEndsTheLoopAndIsPostedAgainForTheLoopOutside)
{
    window w;
    w.create("quit", rect(240, 660, 160, 100), window_topmost);
    // The quit comes from a timer handler; a later timer ends the loop anyway,
    // so that a lost quit fails the test instead of hanging it.
    event_manager::instance().subscribe(&w, &w, 17, [&](const event_info& e) {
        if (reinterpret_cast<std::uintptr_t>(e.data) == 1)
            PostQuitMessage(7);
        else
            w.end_modal(99);
    });
    w.native_record().set_timer(&w, 1, 50, true);
    w.native_record().set_timer(&w, 2, 1500, true);
    EXPECT_EQ(w.run_modal(), 0);
    EXPECT_FALSE(w.is_modal_running());
    EXPECT_FALSE(IsWindowVisible(w.handle()));
    MSG msg{};
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 7u);
    w.native_record().kill_timer(&w, 2);
}

TEST(window_modal, NestedLoopsAreAnsweredFromAHelperThread)
{
    window outer, inner;
    outer.create("outer", rect(240, 660, 200, 120), window_topmost);
    inner.set_owner(&outer);
    inner.create("inner", rect(260, 680, 160, 100), window_topmost);
    // Each window ends its loop on Enter with a result of its own.
    event_manager::instance().subscribe(&inner, &inner, 8, [&](const event_info& e) {
        if (reinterpret_cast<std::uintptr_t>(e.data) == VK_RETURN)
            inner.end_modal(2);
    });
    int inner_result = -1;
    bool owner_disabled_meanwhile = false;
    bool owner_enabled_after = false;
    event_manager::instance().subscribe(&inner, &inner, 48, [&](const event_info&) {
        owner_disabled_meanwhile = !IsWindowEnabled(outer.handle());
    });
    event_manager::instance().subscribe(&outer, &outer, 48, [&](const event_info&) {
        inner_result = inner.run_modal();
        owner_enabled_after = IsWindowEnabled(outer.handle()) != FALSE;
    });
    event_manager::instance().subscribe(&outer, &outer, 8, [&](const event_info& e) {
        if (reinterpret_cast<std::uintptr_t>(e.data) == VK_RETURN)
            outer.end_modal(inner_result + 1);
    });
    std::thread helper([&] {
        // Answer the inner loop, then the outer one once the inner one is over (the outer loop runs
        // throughout), as a user pressing Enter would.
        EXPECT_TRUE(pump_until([&] { return inner.is_modal_running(); })) << "the inner loop";
        PostMessageW(inner.handle(), WM_KEYDOWN, VK_RETURN, 0x001c0001);
        EXPECT_TRUE(pump_until([&] { return !inner.is_modal_running(); })) << "the inner loop's end";
        PostMessageW(outer.handle(), WM_KEYDOWN, VK_RETURN, 0x001c0001);
    });
    const int result = outer.run_modal();
    helper.join();
    EXPECT_EQ(inner_result, 2);
    EXPECT_EQ(result, 3);
    EXPECT_TRUE(owner_disabled_meanwhile);
    EXPECT_TRUE(owner_enabled_after);
}

TEST(window_modal, APopupLeavesItsOwnerAsItFoundIt)
{
    window owner, outer, inner;
    owner.create("owner", rect(240, 660, 200, 120), window_topmost);
    outer.set_owner(&owner);
    inner.set_owner(&owner);
    outer.create("outer", rect(260, 680, 160, 100), window_topmost);
    inner.create("inner", rect(280, 700, 160, 100), window_topmost);
    // The inner popup opens from the outer one's loop and ends on a timer; the owner stays held by
    // whichever popup is still up, also when the user answers the outer one first.
    bool outer_first = false, disabled_while_inner_up = false, disabled_after_inner = false;
    event_manager::instance().subscribe(&inner, &inner, 17, [&](const event_info&) {
        if (outer_first)
            outer.end_modal(2);
        disabled_while_inner_up = !IsWindowEnabled(owner.handle());
        inner.end_modal(1);
    });
    event_manager::instance().subscribe(&outer, &outer, 48, [&](const event_info&) {
        inner.native_record().set_timer(&inner, 1, 50, true);
        inner.run_modal();
        disabled_after_inner = !IsWindowEnabled(owner.handle());
        outer.end_modal(2);
    });
    for (const bool first : {false, true}) {
        SCOPED_TRACE(first ? "outer ends first" : "inner ends first");
        outer_first = first;
        disabled_while_inner_up = false;
        EXPECT_EQ(outer.run_modal(), 2);
        EXPECT_TRUE(disabled_while_inner_up);
        EXPECT_EQ(disabled_after_inner, !first);
        EXPECT_TRUE(IsWindowEnabled(owner.handle()));
    }
    // A popup destroyed while it holds the owner gives the owner back before its handle goes.
    static HWND held;
    static bool enabled_as_it_went;
    held = owner.handle();
    HHOOK hook = nullptr;
    {
        window popup;
        popup.set_owner(&owner);
        popup.create("popup", rect(260, 680, 160, 100), window_topmost);
        popup.native_record().hold_owner();
        ASSERT_FALSE(IsWindowEnabled(owner.handle()));
        hook = SetWindowsHookExW(WH_CBT, [](int code, WPARAM wp, LPARAM lp) -> LRESULT {
            if (code == HCBT_DESTROYWND && GetWindow(HWND(wp), GW_OWNER) == held)
                enabled_as_it_went = IsWindowEnabled(held) != FALSE;
            return CallNextHookEx(nullptr, code, wp, lp);
        }, nullptr, GetCurrentThreadId());
    }
    UnhookWindowsHookEx(hook);
    EXPECT_TRUE(enabled_as_it_went);
    // An owner disabled beforehand (a host's own dialog is up) stays disabled, also once the popup is gone.
    EnableWindow(owner.handle(), FALSE);
    {
        window popup;
        popup.set_owner(&owner);
        popup.create("popup", rect(260, 680, 160, 100), window_topmost);
        event_manager::instance().subscribe(&popup, &popup, 17, [&](const event_info&) { popup.end_modal(1); });
        popup.native_record().set_timer(&popup, 1, 50, true);
        EXPECT_EQ(popup.run_modal(), 1);
        EXPECT_FALSE(IsWindowEnabled(owner.handle()));
    }
    EXPECT_FALSE(IsWindowEnabled(owner.handle()));
}

TEST(window_modal, DestroyingTheOwnerEndsTheLoop)
{
    window owner, popup, guard;
    owner.create("owner", rect(240, 660, 200, 120), window_topmost);
    popup.set_owner(&owner);
    popup.create("popup", rect(260, 680, 160, 100), window_topmost);
    guard.create("guard", rect(240, 820, 100, 60), 0);
    // The owner goes as a host would destroy its window; the guard ends a loop that missed it.
    event_manager::instance().subscribe(&popup, &popup, 17, [&](const event_info&) { DestroyWindow(owner.handle()); });
    event_manager::instance().subscribe(&guard, &guard, 17, [&](const event_info&) { popup.end_modal(99); });
    popup.native_record().set_timer(&popup, 1, 50, true);
    guard.native_record().set_timer(&guard, 1, 3000, true);
    EXPECT_EQ(popup.run_modal(), 0);
}

TEST(window_timers, TheSameTimerTwiceKeepsTheFirstAndAOneShotIsKilledBeforeItsEvent)
{
    window w;
    w.create("timers", rect(240, 660, 160, 100), window_topmost);
    widget owner;
    std::size_t timers_inside_the_handler = 99;
    int ticks = 0;
    DWORD tick_after_ms = 0;
    const DWORD armed = GetTickCount();
    event_manager::instance().subscribe(&owner, &owner, 17, [&](const event_info& e) {
        if (reinterpret_cast<std::uintptr_t>(e.data) == 3) {
            ++ticks;
            tick_after_ms = GetTickCount() - armed;
            timers_inside_the_handler = w.native_record().timers.size();
        }
    });
    w.native_record().set_timer(&owner, 3, 30, true);
    w.native_record().set_timer(&owner, 3, 5000, false); // ignored
    EXPECT_EQ(w.native_record().timers.size(), 1u);
    EXPECT_TRUE(w.native_record().timers.begin()->second.one_shot);
    EXPECT_TRUE(pump_until([&] { return ticks > 0; })) << "the one-shot tick";
    // On the first call's 30 ms period, not the second's 5 s, with room for a busy machine.
    EXPECT_LT(tick_after_ms, 2000u);
    EXPECT_EQ(timers_inside_the_handler, 0u);
    w.native_record().set_timer(&owner, 4, 1000, false);
    w.native_record().kill_timer(&owner, 4);
    EXPECT_TRUE(w.native_record().timers.empty());
    // A periodic timer goes with its owner: a widget made later at the same address hears no tick.
    alignas(widget) unsigned char place[sizeof(widget)];
    widget* gone = new (place) widget;
    w.native_record().set_timer(gone, 5, 20, false);
    gone->~widget();
    EXPECT_TRUE(w.native_record().timers.empty());
    widget* later = new (place) widget;
    int later_ticks = 0;
    event_manager::instance().subscribe(later, later, 17, [&](const event_info&) { ++later_ticks; });
    pump_for(200);
    later->~widget();
    EXPECT_EQ(later_ticks, 0);
    EXPECT_EQ(ticks, 1); // one-shot
}

TEST_F(painted_window, PaintsTheTreeParentsBeforeChildren)
{
    capture_colours(w.handle(), "window_tree",
                    {{5, 5, 255, 0, 0}, {50, 50, 0, 255, 0}, {150, 50, 0, 0, 255}, {100, 100, 255, 0, 0}});
}

TEST_F(painted_window, AThrowingPaintHandlerLeavesThePaintBalanced)
{
    bool fail = true;
    widget subscriber;
    event_manager::instance().subscribe(&left, &subscriber, 12, [&](const event_info&) {
        if (fail)
            throw std::runtime_error("paint failed");
    });
    left.fill = blue;
    EXPECT_THROW(w.paint_tree(w.root(), unit_box{0, 0, 200, 120}), std::runtime_error);
    EXPECT_EQ(w.context()->paint_depth(), 0u);
    // The window paints on as before: the frame and its clips were ended.
    fail = false;
    right.fill = green;
    InvalidateRect(w.handle(), nullptr, FALSE);
    UpdateWindow(w.handle());
    capture_colours(w.handle(), "window_after_throwing_paint",
                    {{5, 5, 255, 0, 0}, {50, 50, 0, 0, 255}, {150, 50, 0, 255, 0}});
}

TEST_F(painted_window, InvalidatingOneWidgetRepaintsOnlyItsArea)
{
    const int left_paints = left.paints;
    // Both change colour, but only the right one asks to be repainted.
    left.fill = blue;
    right.fill = green;
    right.invalidate(true);
    capture_colours(w.handle(), "window_partial_repaint",
                    {{50, 50, 0, 255, 0}, {150, 50, 0, 255, 0}, {121, 21, 0, 255, 0}, {178, 78, 0, 255, 0}});
    EXPECT_EQ(left.paints, left_paints);
}

TEST_F(painted_window, AHiddenWidgetLeavesItsParentShowing)
{
    left.set_visible(false);
    capture_colours(w.handle(), "window_hidden_widget", {{50, 50, 255, 0, 0}});
    EXPECT_EQ(w.hit_test({50, 50}), &background);
    EXPECT_EQ(w.hit_test({150, 50}), &right);
    EXPECT_EQ(w.hit_test({179, 79}), &right);
    EXPECT_EQ(w.hit_test({180, 80}), &background);
    EXPECT_EQ(w.hit_test({200, 10}), nullptr);
}

TEST_F(painted_window, ResizingTheClientAreaResizesTheRoot)
{
    w.native_record().set_rect(rect(300, 700, 260, 150));
    pump_until([&] { return w.root().bounds() == rect(0, 0, 260, 150); });
    EXPECT_EQ(w.root().bounds(), rect(0, 0, 260, 150));
    const rect r = w.native_record().get_rect();
    EXPECT_EQ(r.width, 260);
    EXPECT_EQ(r.height, 150);
}

TEST_F(painted_window, TabWithNothingFocusableKeepsTheFocus)
{
    w.set_focus(&left, 0);
    w.route_input(11, reinterpret_cast<void*>(std::uintptr_t(9)), 0);
    EXPECT_EQ(w.focused_widget(), &left);
    right.set_focusable(true);
    w.route_input(11, reinterpret_cast<void*>(std::uintptr_t(9)), 0);
    EXPECT_EQ(w.focused_widget(), &right);
    right.set_visible(false);
    w.route_input(11, reinterpret_cast<void*>(std::uintptr_t(9)), 0);
    EXPECT_EQ(w.focused_widget(), &right); // no other stop to go to
}

TEST_F(painted_window, LosingTheSystemCaptureClearsTheCapturedWidget)
{
    capture_mouse(left);
    EXPECT_EQ(GetCapture(), w.handle());
    window other;
    other.create("other", rect(240, 820, 100, 60), window_topmost);
    SetCapture(other.handle());
    EXPECT_EQ(captured_widget(), nullptr);
    ReleaseCapture();
}

TEST_F(painted_window, DestroyingAWidgetClearsTheWindowsPointersToIt)
{
    auto extra = std::make_unique<colour_widget>(green);
    extra->attach(&w, &background, rect(0, 0, 10, 10));
    extra->set_focusable(true);
    w.set_focus(extra.get(), 0);
    w.set_caption_widget(extra.get());
    w.set_tooltip(extra.get(), rect(), "title", "text");
    ASSERT_EQ(w.focused_widget(), extra.get());
    const std::size_t count = w.widgets().size();
    extra.reset();
    EXPECT_EQ(w.focused_widget(), nullptr);
    EXPECT_EQ(w.caption_widget(), nullptr);
    EXPECT_EQ(w.widgets().size(), count - 1);
}

TEST_F(painted_window, TooltipsWithNothingToSayAreNotRegistered)
{
    w.set_tooltip(&left, rect(), "", "");
    EXPECT_EQ(w.tooltip_count(&left), 0u);
    EXPECT_EQ(w.tooltip_window(), nullptr);
    w.set_tooltip(&left, rect(), "", "text");
    w.set_tooltip(&left, rect(0, 0, 10, 10), "title", "");
    EXPECT_EQ(w.tooltip_count(&left), 2u);
    tooltip* first = w.tooltip_window();
    ASSERT_NE(first, nullptr);
    w.remove_tooltip(&left);
    EXPECT_EQ(w.tooltip_count(&left), 0u);
    w.set_tooltip(&right, rect(), "again", "");
    EXPECT_NE(w.tooltip_window(), nullptr);
}

TEST_F(painted_window, InputMethodMessagesReachTheFocusedWidgetAlone)
{
    event_recorder on_left, on_window;
    on_left.watch(&left, {55});
    on_window.watch(&w, {55});
    w.set_focus(&left, 0);
    // The window is made without a context; give it one, as an input method would.
    HIMC own = ImmCreateContext();
    HIMC kept = ImmAssociateContext(w.handle(), own);
    auto kinds = [&] {
        std::vector<std::uintptr_t> out;
        for (const auto& e : on_left.of(55))
            out.push_back(e.data);
        return out;
    };
    SendMessageW(w.handle(), WM_IME_STARTCOMPOSITION, 0, 0);
    EXPECT_TRUE(w.ime()->is_composing());
    SendMessageW(w.handle(), WM_IME_STARTCOMPOSITION, 0, 0); // already composing: nothing
    SendMessageW(w.handle(), WM_IME_COMPOSITION, 0, GCS_COMPSTR);
    SendMessageW(w.handle(), WM_IME_COMPOSITION, 0, 0); // no composition string: nothing
    SendMessageW(w.handle(), WM_IME_ENDCOMPOSITION, 0, 0);
    EXPECT_FALSE(w.ime()->is_composing());
    SendMessageW(w.handle(), WM_IME_ENDCOMPOSITION, 0, 0); // not composing: nothing
    // Start (0), the composition string (1), the result (2).
    EXPECT_EQ(kinds(), (std::vector<std::uintptr_t>{0, 1, 2}));
    EXPECT_TRUE(on_window.all.empty());
    // A disabled focused widget hears nothing.
    left.set_enabled(false);
    SendMessageW(w.handle(), WM_IME_STARTCOMPOSITION, 0, 0);
    SendMessageW(w.handle(), WM_IME_ENDCOMPOSITION, 0, 0);
    EXPECT_EQ(kinds().size(), 3u);
    left.set_enabled(true);
    ImmAssociateContext(w.handle(), kept);
    ImmDestroyContext(own);
}

TEST_F(painted_window, ADpiChangeRescalesTheDrawingAndTheRoot)
{
    event_recorder log;
    log.watch(&w, {14, 57, 58});
    RECT outer{};
    GetWindowRect(w.handle(), &outer);
    RECT suggested{outer.left, outer.top, outer.left + (outer.right - outer.left) * 3 / 2,
                   outer.top + (outer.bottom - outer.top) * 3 / 2};
    SendMessageW(w.handle(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(w.native_record().dpi_x, 144);
    RECT client{};
    GetClientRect(w.handle(), &client);
    EXPECT_EQ(w.root().width(), MulDiv(client.right, 96, 144));
    EXPECT_EQ(log.of(14).size(), 1u);
    // Session notifications arrive as their own events.
    SendMessageW(w.handle(), WM_WTSSESSION_CHANGE, 7, 0);
    SendMessageW(w.handle(), WM_WTSSESSION_CHANGE, 8, 0);
    EXPECT_EQ(log.of(57).size(), 1u);
    EXPECT_EQ(log.of(58).size(), 1u);
}

namespace {

struct message_window : window {
    std::uint64_t last_l = 0;
    std::uintptr_t last_w = 0;
    void on_user_message(std::uint64_t l, std::uintptr_t w) override
    {
        last_l = l;
        last_w = w;
    }
};

} // namespace

TEST(window_messages, UserMessagesReachTheWindowClass)
{
    message_window w;
    w.create("user", rect(240, 660, 100, 60), 0);
    SendMessageW(w.handle(), WM_USER, 5, 9);
    EXPECT_EQ(w.last_l, 9u);
    EXPECT_EQ(w.last_w, 5u);
}

TEST(tooltip_layout, ATextAloneHasNoGapAndTheBoxIsPaddedAroundIt)
{
    window owner;
    owner.create("owner", rect(240, 660, 100, 60), window_topmost);
    tooltip tip;
    tip.set_owner(&owner);
    tip.create("", rect(0, 0, 400, 200), window_popup | window_topmost);
    event_manager::instance().subscribe(&tip.root(), &tip, 12, [&](const event_info&) { tip.paint(); });
    tip.set_content({400, 900}, "", "Some help", nullptr);
    EXPECT_EQ(tip.gap(), 0);
    EXPECT_GT(tip.content().width, 20);
    EXPECT_GT(tip.content().height, 5);
    pump_until([&] { return tip.root().width() == tip.content().width + 16; });
    EXPECT_EQ(tip.root().width(), tip.content().width + 16);
    EXPECT_EQ(tip.root().height(), tip.content().height + 8);
    tip.set_content({400, 900}, "Title", "Some help", nullptr);
    EXPECT_EQ(tip.gap(), 2);
    const auto c = capture_showing(tip.handle(), "tooltip", "the white title", [](auto& shot) {
        return std::any_of(shot.pixels.begin(), shot.pixels.end(),
                           [](std::uint32_t p) { return colour_near(p, 255, 255, 255, 25); });
    });
    // Outer border, then the inner black one, then the background.
    EXPECT_TRUE(shows_colours(c, {{0, 5, 74, 79, 83}, {1, 5, 0, 0, 0}, {3, 3, 27, 27, 28}}));
}

TEST(tooltip_layout, KeptInsideTheWorkArea)
{
    const RECT work{0, 0, 1920, 1040};
    const point right_edge = kept_in_work_area(RECT{1900, 100, 2000, 140}, work);
    EXPECT_EQ(right_edge.x, 1820);
    EXPECT_EQ(right_edge.y, 100);
    const point bottom_left = kept_in_work_area(RECT{-20, 1030, 80, 1070}, work);
    EXPECT_EQ(bottom_left.x, 0);
    EXPECT_EQ(bottom_left.y, 1000);
}

TEST(folder_dialog_box, CancellingGivesAnEmptyPath)
{
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    std::atomic<bool> stop{false};
    std::thread closer([&] {
        // Cancel the dialog as soon as it shows.
        while (!stop) {
            if (HWND dialog = FindWindowW(nullptr, L"Pick a test folder")) {
                PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
            }
            Sleep(100);
        }
    });
    std::wstring chosen = L"unchanged";
    EXPECT_NO_THROW(chosen = folder_dialog(nullptr, "Pick a test folder", L"C:\\no\\such\\folder"));
    stop = true;
    closer.join();
    EXPECT_TRUE(chosen.empty());
}
