// Run with the driver limited to OpenGL 4.0 (MESA_GL_VERSION_OVERRIDE=4.0).
#include "plugin/renderer/gl_context.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <stdexcept>

TEST(GlContext, DriverWithOnly40FailsTo41Context)
{
    try {
        qvsdk::gl_context context;
        FAIL() << "a 4.1 context was made on a 4.0 driver";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "failed to create OpenGL 4.1 context");
    }
    // Nothing is left behind: no current context, no hidden window.
    EXPECT_EQ(wglGetCurrentContext(), nullptr);
    int windows = 0;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND, LPARAM count) {
            ++*reinterpret_cast<int*>(count);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&windows));
    EXPECT_EQ(windows, 0);
}
