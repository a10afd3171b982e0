#include "toolkit/ime_context.h"
#include "toolkit/native_drop_target.h"
#include "toolkit/window_procedure.h"

#include <gtest/gtest.h>

using namespace qvsdk::ui;

TEST(ime_cursor, KeysMoveTheCaretInsideAConvertedComposition)
{
    EXPECT_EQ(converting_cursor(2, 5, VK_END), 5);
    EXPECT_EQ(converting_cursor(2, 5, VK_HOME), 5);
    EXPECT_EQ(converting_cursor(2, 5, VK_LEFT), 1);
    EXPECT_EQ(converting_cursor(0, 5, VK_LEFT), 0);
    EXPECT_EQ(converting_cursor(4, 5, VK_RIGHT), 5);
    EXPECT_EQ(converting_cursor(5, 5, VK_RIGHT), 5);
    EXPECT_EQ(converting_cursor(3, 5, 'A'), 3);
}

TEST(frameless_frame, BordersGiveResizeCodesInTheirOrder)
{
    const RECT r{100, 100, 500, 400};
    EXPECT_EQ(frameless_border_hit(r, {101, 101}, 8, 8), HTTOPLEFT);
    EXPECT_EQ(frameless_border_hit(r, {499, 101}, 8, 8), HTTOPRIGHT);
    EXPECT_EQ(frameless_border_hit(r, {499, 399}, 8, 8), HTBOTTOMRIGHT);
    EXPECT_EQ(frameless_border_hit(r, {101, 399}, 8, 8), HTBOTTOMLEFT);
    EXPECT_EQ(frameless_border_hit(r, {101, 250}, 8, 8), HTLEFT);
    EXPECT_EQ(frameless_border_hit(r, {300, 101}, 8, 8), HTTOP);
    EXPECT_EQ(frameless_border_hit(r, {499, 250}, 8, 8), HTRIGHT);
    EXPECT_EQ(frameless_border_hit(r, {300, 399}, 8, 8), HTBOTTOM);
    EXPECT_EQ(frameless_border_hit(r, {300, 250}, 8, 8), HTCLIENT);
}

TEST(drop_target, AnswersOnlyForItsTwoInterfaces)
{
    native_drop_target target;
    void* out = reinterpret_cast<void*>(0x1234);
    EXPECT_EQ(target.QueryInterface(IID_IDataObject, &out), E_FAIL);
    EXPECT_EQ(out, reinterpret_cast<void*>(0x1234)); // untouched
    EXPECT_EQ(target.QueryInterface(IID_IDropTarget, nullptr), E_FAIL);
    EXPECT_EQ(target.QueryInterface(IID_IDropTarget, &out), S_OK);
    EXPECT_EQ(out, static_cast<IDropTarget*>(&target));
    EXPECT_EQ(target.reference_count(), 2);
    EXPECT_EQ(target.Release(), 1u);
    // IUnknown is answered with the same object, and counted like any other.
    out = nullptr;
    EXPECT_EQ(target.QueryInterface(IID_IUnknown, &out), S_OK);
    EXPECT_EQ(out, static_cast<IDropTarget*>(&target));
    EXPECT_EQ(target.reference_count(), 2);
    EXPECT_EQ(target.AddRef(), 3u);
    EXPECT_EQ(target.Release(), 2u);
    EXPECT_EQ(target.Release(), 1u);
    // A refused interface leaves the count alone.
    target.QueryInterface(IID_IClassFactory, &out);
    EXPECT_EQ(target.reference_count(), 1);
    // Not attached to a window: a drag is simply let pass.
    DWORD effect = DROPEFFECT_COPY;
    EXPECT_EQ(target.DragOver(0, POINTL{0, 0}, &effect), S_OK);
}

TEST(drop_target, PathsUseBackslashes)
{
    EXPECT_EQ(with_backslashes(L"C:/a/b\\c.txt"), L"C:\\a\\b\\c.txt");
}
