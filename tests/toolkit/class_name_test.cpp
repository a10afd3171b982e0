// Its own process: the toolkit registers its window class once per module.
#include "toolkit/native_window.h"
#include "toolkit/window.h"

#include <gtest/gtest.h>

using namespace qvsdk::ui;

TEST(window_class, ANameTakenInTheModuleGetsAZeroAppended)
{
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&native_window::class_name), &module);
    WNDCLASSEXW other{};
    other.cbSize = sizeof(other);
    other.lpfnWndProc = DefWindowProcW;
    other.hInstance = module;
    other.lpszClassName = L"QVSDK_WINDOW_CLASS";
    ASSERT_NE(RegisterClassExW(&other), 0);

    window w;
    w.create("second module", rect(200, 620, 100, 60), 0);
    wchar_t name[64]{};
    GetClassNameW(w.handle(), name, 64);
    EXPECT_EQ(std::wstring(name), L"QVSDK_WINDOW_CLASS0");
}
