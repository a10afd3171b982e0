#include "input_driver.h"
#include "toolkit_window_helpers.h"

#include "toolkit/event_manager.h"
#include "toolkit/mouse_capture.h"
#include "toolkit/tooltip.h"
#include "toolkit/window.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <atomic>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

using namespace qvsdk::ui;

namespace {

const color grey(0.5f, 0.5f, 0.5f, 1);
const color green(0, 1, 0, 1);
const color blue(0, 0, 1, 1);

// A window at (300, 300) with two side-by-side widgets on a background panel.
struct input_window : ::testing::Test {
    window w;
    colour_widget panel{grey};
    colour_widget a{green};
    colour_widget b{blue};
    event_recorder log;

    void SetUp() override
    {
        w.create("input", rect(300, 300, 240, 120), window_topmost);
        panel.attach(&w, &w.root(), rect(0, 0, 240, 120));
        a.attach(&w, &panel, rect(20, 20, 80, 80));
        b.attach(&w, &panel, rect(140, 20, 80, 80));
        ShowWindow(w.handle(), SW_SHOW);
        UpdateWindow(w.handle());
        focus_window(w.handle());
        // Start from outside, so that the window's first move is a fresh one.
        move_cursor(5, 5);
        grab_window(w.handle(), "input_window", "the green and the blue widget",
                    [](auto& c) { return shows_colours(c, {{60, 60, 0, 255, 0}, {180, 60, 0, 0, 255}}); });
    }
    void TearDown() override
    {
        release_mouse();
        move_cursor(5, 5);
    }
};

// Files offered as CF_HDROP, as the shell offers them.
class file_list_data : public IDataObject {
public:
    explicit file_list_data(std::vector<std::wstring> paths) : files(std::move(paths)) {}
    virtual ~file_list_data() = default;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDataObject)) {
            *out = static_cast<IDataObject*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++count; }
    ULONG STDMETHODCALLTYPE Release() override { return --count; }
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override
    {
        if (format->cfFormat != CF_HDROP || !(format->tymed & TYMED_HGLOBAL))
            return DV_E_FORMATETC;
        std::wstring joined;
        for (const auto& f : files)
            joined += f + L'\0';
        joined += L'\0';
        const SIZE_T bytes = sizeof(DROPFILES) + joined.size() * sizeof(wchar_t);
        HGLOBAL memory = GlobalAlloc(GHND, bytes);
        auto* header = static_cast<DROPFILES*>(GlobalLock(memory));
        header->pFiles = sizeof(DROPFILES);
        header->fWide = TRUE;
        std::memcpy(reinterpret_cast<char*>(header) + sizeof(DROPFILES), joined.data(),
                    joined.size() * sizeof(wchar_t));
        GlobalUnlock(memory);
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = memory;
        medium->pUnkForRelease = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* f) override { return f->cfFormat == CF_HDROP ? S_OK : S_FALSE; }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }

private:
    std::vector<std::wstring> files;
    ULONG count = 1;
};

std::wstring temp_folder()
{
    wchar_t buffer[MAX_PATH]{};
    GetTempPathW(MAX_PATH, buffer);
    return buffer;
}

} // namespace

TEST_F(input_window, TheFirstMoveOnlyStartsTrackingAndHoverFollowsTheCursor)
{
    log.watch(&w, {7});
    log.watch(&a, {5, 6, 7});
    log.watch(&b, {5, 6});
    POINT p{60, 60};
    ClientToScreen(w.handle(), &p);
    move_cursor(p.x, p.y);
    EXPECT_TRUE(log.of(7).empty());
    move_cursor(p.x + 1, p.y);
    EXPECT_FALSE(log.of(7).empty());
    EXPECT_EQ(w.hovered_widget(), &a);
    hover(w.handle(), 180, 60);
    EXPECT_EQ(w.hovered_widget(), &b);
    // a: entered, then left; b: entered.
    std::vector<std::uint32_t> enter_leave;
    for (const auto& e : log.all)
        if (e.id == 5 || e.id == 6)
            enter_leave.push_back(e.id);
    EXPECT_EQ(enter_leave, (std::vector<std::uint32_t>{5, 6, 5}));
    move_cursor(5, 5);
    EXPECT_TRUE(pump_until([&] { return w.hovered_widget() == nullptr; })) << "the hover left";
}

TEST_F(input_window, APressFocusesTheWidgetAndReachesItThenTheWindow)
{
    a.set_focusable(true);
    std::vector<event_object*> order;
    widget watcher;
    for (event_object* o : {static_cast<event_object*>(&a), static_cast<event_object*>(&w)})
        event_manager::instance().subscribe(o, &watcher, 2, [&order](const event_info& e) { order.push_back(e.source); });
    log.watch(&a, {1, 42});
    hover(w.handle(), 60, 60);
    click();
    ASSERT_EQ(order.size(), 2u);
    EXPECT_EQ(order[0], &a);
    EXPECT_EQ(order[1], &w);
    EXPECT_EQ(w.focused_widget(), &a);
    EXPECT_EQ(log.of(42).size(), 1u);
    EXPECT_EQ(log.of(42)[0].data, 0u); // by the mouse
    EXPECT_EQ(log.of(1).size(), 1u);
}

TEST_F(input_window, ADisabledWidgetGetsNoPressButTheWindowDoes)
{
    a.set_enabled(false);
    log.watch(&a, {2});
    log.watch(&w, {2});
    hover(w.handle(), 60, 60);
    click();
    EXPECT_TRUE(log.of(2).size() == 1u && w.focused_widget() != &a);
}

TEST_F(input_window, TheCapturedWidgetAloneGetsInputWhereverTheCursorIs)
{
    event_manager::instance().subscribe(&a, &a, 2, [&](const event_info&) { capture_mouse(a); });
    event_manager::instance().subscribe(&a, &a, 1, [&](const event_info&) { release_mouse(); });
    event_recorder on_a, on_b, on_window;
    on_a.watch(&a, {1, 7});
    on_b.watch(&b, {1, 5, 7});
    on_window.watch(&w, {1, 7});
    hover(w.handle(), 60, 60);
    mouse_button(true);
    EXPECT_EQ(captured_widget(), &a);
    const std::size_t window_moves = on_window.of(7).size();
    hover(w.handle(), 180, 60);  // over b
    hover(w.handle(), 400, 300); // outside the window
    EXPECT_EQ(w.hit_test({180, 60}), &a);
    EXPECT_GE(on_a.of(7).size(), 2u);
    mouse_button(false);
    EXPECT_EQ(captured_widget(), nullptr);
    EXPECT_EQ(on_window.of(7).size(), window_moves);
    EXPECT_TRUE(on_b.all.empty()); // b never heard of it
    EXPECT_EQ(on_a.of(1).size(), 1u);
    EXPECT_TRUE(on_window.of(1).empty()); // the release went to a alone
}

TEST_F(input_window, ADoubleClickWithoutAHandlerIsASecondPressAndWithOneSwallowsTheRelease)
{
    log.watch(&a, {1, 2});
    hover(w.handle(), 60, 60);
    double_click();
    EXPECT_EQ(log.of(2).size(), 2u);
    EXPECT_EQ(log.of(1).size(), 2u);

    event_recorder second;
    second.watch(&b, {1, 2, 3});
    Sleep(600); // not a triple click
    hover(w.handle(), 180, 60);
    double_click();
    EXPECT_EQ(second.of(2).size(), 1u);
    EXPECT_EQ(second.of(3).size(), 1u);
    EXPECT_EQ(second.of(1).size(), 1u); // the release after the double click raised nothing
}

TEST_F(input_window, TheWheelReachesTheNearestWidgetWithAHandlerAndThenTheWindow)
{
    double amount = 0;
    event_manager::instance().subscribe(&panel, &panel, 4, [&](const event_info& e) {
        amount += *static_cast<double*>(e.data);
    });
    log.watch(&w, {4});
    hover(w.handle(), 60, 60); // over a, which has no wheel handler
    wheel(120);
    EXPECT_DOUBLE_EQ(amount, 60.0);
    EXPECT_EQ(log.of(4).size(), 1u);
    // Another window with the keyboard focus: the wheel is ignored.
    window other;
    other.create("other", rect(300, 480, 100, 50), window_topmost);
    ShowWindow(other.handle(), SW_SHOW);
    focus_window(other.handle());
    hover(w.handle(), 60, 60);
    wheel(120);
    EXPECT_DOUBLE_EQ(amount, 60.0);
}

TEST_F(input_window, AScrolledParentKeepsTheWheelWhileThePointerBarelyMoves)
{
    std::vector<widget*> turned;
    for (widget* target : {static_cast<widget*>(&panel), static_cast<widget*>(&b)})
        event_manager::instance().subscribe(target, target, 4, [&turned, target](const event_info&) {
            turned.push_back(target);
        });
    hover(w.handle(), 134, 60); // the panel, between a and b
    wheel(-120);
    hover(w.handle(), 142, 60); // b, 8 units away, at once
    wheel(-120);
    Sleep(450);
    wheel(-120); // rested: b takes the wheel
    ASSERT_EQ(turned.size(), 3u);
    EXPECT_EQ(turned[0], &panel);
    EXPECT_EQ(turned[1], &panel);
    EXPECT_EQ(turned[2], &b);
}

TEST_F(input_window, AMoveOfMoreThanTenUnitsHandsTheWheelOn)
{
    std::vector<widget*> turned;
    for (widget* target : {static_cast<widget*>(&panel), static_cast<widget*>(&b)})
        event_manager::instance().subscribe(target, target, 4, [&turned, target](const event_info&) {
            turned.push_back(target);
        });
    hover(w.handle(), 134, 60); // the panel
    wheel(-120);
    hover(w.handle(), 144, 60); // b, exactly 10 units on: the panel keeps the wheel
    wheel(-120);
    hover(w.handle(), 155, 60); // 11 more: b takes it without a rest
    wheel(-120);
    hover(w.handle(), 134, 60); // back over the panel, 21 units: the panel again
    wheel(-120);
    hover(w.handle(), 144, 71); // 10 across and 11 down: over b, which takes it
    wheel(-120);
    EXPECT_EQ(turned, (std::vector<widget*>{&panel, &panel, &b, &panel, &b}));
}

TEST_F(input_window, TabWalksTheFocusableWidgetsAndSkipsOnesUnderADisabledGrandparent)
{
    colour_widget nested_parent{grey}, nested{green};
    nested_parent.attach(&w, &panel, rect(110, 0, 20, 20));
    nested.attach(&w, &nested_parent, rect(0, 0, 10, 10));
    a.set_focusable(true);
    b.set_focusable(true);
    nested.set_focusable(true);
    panel.set_enabled(true);
    nested_parent.set_enabled(false); // nested is unusable through it
    log.watch(&b, {42, 11});
    w.set_focus(&a, 0);
    focus_window(w.handle());
    tap(VK_TAB);
    EXPECT_EQ(w.focused_widget(), &b);
    ASSERT_EQ(log.of(42).size(), 1u);
    EXPECT_EQ(log.of(42)[0].data, 1u);
    tap(VK_TAB);
    EXPECT_EQ(w.focused_widget(), &a); // wrapped past the unusable one
    key(VK_SHIFT, true);
    tap(VK_TAB);
    key(VK_SHIFT, false);
    EXPECT_TRUE(pump_until([&] { return w.focused_widget() == &b; })) << "the focus back on b";
    EXPECT_TRUE(log.of(11).empty()); // the Tab itself reaches only the window
}

TEST_F(input_window, AltF4ClosesAModalWindow)
{
    log.watch(&w, {8}); // no handler for close: the toolkit ends the loop itself
    // Should the keys not close it, the loop still ends, with a result that fails the test.
    event_manager::instance().subscribe(&w, &w, 17, [&](const event_info&) { w.end_modal(-1); });
    w.native_record().set_timer(&w, 1, 20000, true);
    event_manager::instance().subscribe(&w, &w, 48, [&](const event_info&) { focus_window(w.handle()); });
    std::atomic<bool> stop{false};
    std::thread helper([&] {
        // The keys once the window is in front; again should they be lost.
        while (!stop) {
            EXPECT_TRUE(pump_until([&] { return stop || GetForegroundWindow() == w.handle(); }))
                << "the window in front";
            if (stop)
                break;
            key(VK_MENU, true);
            key(VK_F4, true);
            key(VK_F4, false);
            key(VK_MENU, false);
            pump_until([&] { return stop.load(); }, 1000);
        }
    });
    ShowWindow(w.handle(), SW_HIDE);
    const int result = w.run_modal();
    stop = true;
    helper.join();
    EXPECT_EQ(result, 0);
    EXPECT_FALSE(IsWindowVisible(w.handle()));
    bool saw_f4 = false;
    for (const auto& e : log.of(8))
        saw_f4 = saw_f4 || e.data == VK_F4;
    EXPECT_TRUE(saw_f4); // routed before the system handling closed the window
}

TEST_F(input_window, DroppedFilesArriveAsTheDropEventWithoutFolders)
{
    const std::wstring folder = temp_folder();
    const std::wstring first = folder + L"qv_drop_one.txt";
    const std::wstring second = folder + L"qv_drop_two.txt";
    for (const auto& f : {first, second})
        CloseHandle(CreateFileW(f.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    std::wstring second_slashed = second;
    for (auto& ch : second_slashed)
        if (ch == L'\\')
            ch = L'/';
    file_list_data data({first, folder, second_slashed});

    std::vector<std::wstring> received, window_received;
    std::vector<std::uint64_t> kinds;
    event_manager::instance().subscribe(&a, &a, 54, [&](const event_info& e) {
        kinds.push_back(e.extra);
        if (e.extra == 0 && e.data)
            received = *static_cast<std::vector<std::wstring>*>(e.data);
    });
    event_manager::instance().subscribe(&w, &w, 54, [&](const event_info& e) {
        if (e.data)
            window_received = *static_cast<std::vector<std::wstring>*>(e.data);
    });
    IDropTarget& target = w.native_record().drop_target;
    hover(w.handle(), 60, 60);
    DWORD effect = DROPEFFECT_COPY;
    EXPECT_EQ(target.DragOver(0, POINTL{0, 0}, &effect), S_OK);
    EXPECT_EQ(effect, DWORD(DROPEFFECT_MOVE));
    EXPECT_EQ(target.Drop(&data, 0, POINTL{0, 0}, &effect), S_OK);
    ASSERT_EQ(received.size(), 2u);
    EXPECT_EQ(received[0], first);
    EXPECT_EQ(received[1], second); // "/" became "\"
    EXPECT_EQ(window_received, received);
    // Entered, dropped on, then told the drag has left.
    EXPECT_EQ(kinds, (std::vector<std::uint64_t>{1, 0, 2}));
    // Folders alone: the event still comes, with an empty list.
    file_list_data folders_only({folder});
    EXPECT_EQ(target.Drop(&folders_only, 0, POINTL{0, 0}, &effect), S_OK);
    EXPECT_TRUE(received.empty());
    EXPECT_EQ(kinds.size(), 4u);
    for (const auto& f : {first, second})
        DeleteFileW(f.c_str());
}

TEST_F(input_window, ADragMovingBetweenAcceptingWidgetsLeavesOneAndEntersTheOther)
{
    std::vector<std::pair<widget*, std::uint64_t>> seen;
    for (widget* target : {static_cast<widget*>(&a), static_cast<widget*>(&b)})
        event_manager::instance().subscribe(target, target, 54, [&seen, target](const event_info& e) {
            seen.emplace_back(target, e.extra);
        });
    IDropTarget& target = w.native_record().drop_target;
    DWORD effect = 0;
    hover(w.handle(), 60, 60);
    target.DragOver(0, POINTL{0, 0}, &effect);
    target.DragOver(0, POINTL{0, 0}, &effect); // still over a: nothing new
    hover(w.handle(), 180, 60);
    target.DragOver(0, POINTL{0, 0}, &effect);
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0], std::make_pair(static_cast<widget*>(&a), std::uint64_t(1)));
    EXPECT_EQ(seen[1], std::make_pair(static_cast<widget*>(&a), std::uint64_t(2)));
    EXPECT_EQ(seen[2], std::make_pair(static_cast<widget*>(&b), std::uint64_t(1)));
    // Over the panel, which nobody handles, the drag is refused.
    hover(w.handle(), 120, 110);
    target.DragOver(0, POINTL{0, 0}, &effect);
    EXPECT_EQ(effect, DWORD(DROPEFFECT_NONE));
    EXPECT_EQ(seen.back(), std::make_pair(static_cast<widget*>(&b), std::uint64_t(2)));
    EXPECT_EQ(target.Drop(nullptr, 0, POINTL{0, 0}, &effect), E_FAIL);
}

TEST_F(input_window, ATooltipShowsAfterRestingAndAPressHidesItForThatHover)
{
    w.set_tooltip(&a, rect(), "Title", "Help text");
    tooltip* tip = w.tooltip_window();
    ASSERT_NE(tip, nullptr);
    hover(w.handle(), 60, 60);
    ASSERT_TRUE(pump_until([&] { return IsWindowVisible(tip->handle()); })) << "the tooltip shown";
    // Its text is light grey and white: not the widgets it may cover before it is drawn.
    capture_showing(tip->handle(), "tooltip_shown", "the tooltip's text", [](auto& c) {
        return std::any_of(c.pixels.begin(), c.pixels.end(),
                           [](std::uint32_t p) { return colour_near(p, 200, 200, 200, 50); });
    });
    RECT r{};
    GetWindowRect(tip->handle(), &r);
    POINT cursor{};
    GetCursorPos(&cursor);
    EXPECT_EQ(r.left, cursor.x + 5);
    EXPECT_EQ(r.top, cursor.y + 20);
    click();
    EXPECT_FALSE(IsWindowVisible(tip->handle()));
    pump_for(1300);
    EXPECT_FALSE(IsWindowVisible(tip->handle()));
    // Another widget, then back: shown again.
    hover(w.handle(), 180, 60);
    EXPECT_TRUE(pump_until([&] { return w.hovered_widget() == &b; })) << "b hovered";
    hover(w.handle(), 60, 60);
    EXPECT_TRUE(pump_until([&] { return IsWindowVisible(tip->handle()); })) << "the tooltip shown again";
}

TEST_F(input_window, ATooltipGoesWithTheWidgetItShowsFor)
{
    auto doomed = std::make_unique<colour_widget>(green);
    doomed->attach(&w, &panel, rect(20, 20, 80, 80));
    w.set_tooltip(doomed.get(), rect(), "Title", "Help text");
    // Another widget keeps a tooltip entry, so the tooltip window itself stays.
    w.set_tooltip(&b, rect(), "Other", "");
    tooltip* tip = w.tooltip_window();
    ASSERT_NE(tip, nullptr);
    hover(w.handle(), 60, 60);
    ASSERT_TRUE(pump_until([&] { return IsWindowVisible(tip->handle()); })) << "the tooltip shown";
    ASSERT_EQ(tip->styled_by(), doomed.get());
    doomed.reset();
    // A repaint of the tooltip must not reach the destroyed widget's theme.
    RedrawWindow(tip->handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_TRUE(pump_until([&] { return !IsWindowVisible(tip->handle()); })) << "the tooltip hidden";
    EXPECT_EQ(tip->styled_by(), nullptr);

    // Removing the entries of the widget it shows for hides it as well.
    hover(w.handle(), 180, 60);
    ASSERT_TRUE(pump_until([&] { return IsWindowVisible(tip->handle()); })) << "the tooltip shown for b";
    w.remove_tooltip(&b);
    EXPECT_FALSE(IsWindowVisible(tip->handle()));
    EXPECT_EQ(tip->styled_by(), nullptr);
}

TEST_F(input_window, AHiddenOrDisabledWidgetKeepsNoTooltipUnderARestingCursor)
{
    w.set_tooltip(&a, rect(), "Title", "Help text");
    tooltip* tip = w.tooltip_window();
    ASSERT_NE(tip, nullptr);
    hover(w.handle(), 60, 60);
    ASSERT_TRUE(pump_until([&] { return IsWindowVisible(tip->handle()); })) << "the tooltip shown";
    // The page holding the widget goes; the cursor does not move.
    panel.set_visible(false);
    EXPECT_FALSE(IsWindowVisible(tip->handle()));
    pump_for(1300);
    EXPECT_FALSE(IsWindowVisible(tip->handle()));
    panel.set_visible(true);
    ASSERT_TRUE(pump_until([&] { return IsWindowVisible(tip->handle()); })) << "the tooltip shown again";
    a.set_enabled(false);
    EXPECT_FALSE(IsWindowVisible(tip->handle()));
    pump_for(1300);
    EXPECT_FALSE(IsWindowVisible(tip->handle()));
}

TEST_F(input_window, TheDragTargetHearsTheDragLeaveTheWindowAndEndInADrop)
{
    std::vector<std::uint64_t> kinds;
    event_manager::instance().subscribe(&a, &a, 54, [&](const event_info& e) { kinds.push_back(e.extra); });
    IDropTarget& target = w.native_record().drop_target;
    DWORD effect = 0;
    hover(w.handle(), 60, 60);
    target.DragEnter(nullptr, 0, POINTL{0, 0}, &effect);
    target.DragOver(0, POINTL{0, 0}, &effect);
    ASSERT_EQ(w.drag_target_widget(), &a);
    // The drag goes off the window (or is cancelled over it).
    EXPECT_EQ(target.DragLeave(), S_OK);
    EXPECT_EQ(kinds, (std::vector<std::uint64_t>{1, 2}));
    EXPECT_EQ(w.drag_target_widget(), nullptr);
    // Coming back enters again; a drop then ends the drag with a leave.
    target.DragOver(0, POINTL{0, 0}, &effect);
    file_list_data nothing({});
    EXPECT_EQ(target.Drop(&nothing, 0, POINTL{0, 0}, &effect), S_OK);
    EXPECT_EQ(kinds, (std::vector<std::uint64_t>{1, 2, 1, 0, 2}));
    EXPECT_EQ(w.drag_target_widget(), nullptr);
    // Leaving with no drag target raises nothing.
    target.DragLeave();
    EXPECT_EQ(kinds.size(), 5u);
}

TEST_F(input_window, ATooltipWaitsOutItsDelayAndAfterALongRestIsNotShownAgain)
{
    // Ticks driven by hand: each adds 0.1 s of rest; the tooltip shows once the
    // rest in one area is above 0.75 s, and is not shown again after 6 s.
    w.set_tooltips_enabled(false);
    w.set_tooltip(&a, rect(), "Title", "Help text");
    tooltip* tip = w.tooltip_window();
    ASSERT_NE(tip, nullptr);
    hover(w.handle(), 60, 60);
    // The first tick takes the hovered widget, the second the area the cursor
    // is in; both start the rest again at 0.
    float rest = 0.1f;
    int ticks_to_show = 2;
    while (!(rest > 0.75f)) {
        rest += 0.1f;
        ++ticks_to_show;
    }
    ++ticks_to_show;
    for (int i = 1; i < ticks_to_show; ++i) {
        w.on_hover_tick();
        EXPECT_FALSE(IsWindowVisible(tip->handle())) << "tick " << i;
    }
    w.on_hover_tick();
    EXPECT_TRUE(IsWindowVisible(tip->handle()));
    rest += 0.1f;

    // A press hides it; passing over another widget and back (with no tick
    // between) clears the press, and the next tick shows it again.
    auto press_and_come_back = [&] {
        click();
        EXPECT_FALSE(IsWindowVisible(tip->handle()));
        w.on_hover_tick();
        rest += 0.1f;
        EXPECT_FALSE(IsWindowVisible(tip->handle()));
        hover(w.handle(), 180, 60);
        hover(w.handle(), 60, 60);
        w.on_hover_tick();
        rest += 0.1f;
    };
    press_and_come_back();
    EXPECT_TRUE(IsWindowVisible(tip->handle()));
    while (rest < 6.0f) {
        w.on_hover_tick();
        rest += 0.1f;
    }
    EXPECT_TRUE(IsWindowVisible(tip->handle())); // shown, it stays
    press_and_come_back();
    EXPECT_FALSE(IsWindowVisible(tip->handle()));
    for (int i = 0; i < 5; ++i)
        w.on_hover_tick();
    EXPECT_FALSE(IsWindowVisible(tip->handle()));
}
