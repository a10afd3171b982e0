#pragma once

#include "plugin/renderer/owned_handle.h"

#include <windows.h>

namespace qvsdk {

// True for an OpenGL version of at least 4.1.
bool meets_required_gl_version(int major, int minor);

// A hidden window and an OpenGL 4.1 core context, current on the thread that made
// it, with GLEW loaded. Released context first, then device context, then window.
class gl_context {
public:
    gl_context();
    gl_context(const gl_context&) = delete;
    gl_context& operator=(const gl_context&) = delete;
    ~gl_context() = default;

    HDC device() const { return device_context.dc; }
    HGLRC context() const { return opengl_context.get(); }
    // Makes the context current on the calling thread again.
    bool make_current() const;

private:
    struct window_dc {
        HWND window = nullptr;
        HDC dc = nullptr;
        window_dc() = default;
        window_dc(const window_dc&) = delete;
        window_dc& operator=(const window_dc&) = delete;
        ~window_dc()
        {
            if (dc)
                ReleaseDC(window, dc);
            dc = nullptr;
        }
    };
    static void destroy_window(HWND window) { DestroyWindow(window); }
    static void delete_context(HGLRC context)
    {
        wglMakeCurrent(nullptr, nullptr);
        wglDeleteContext(context);
    }

    owned_handle<HWND, destroy_window> hidden_window;
    window_dc device_context;
    owned_handle<HGLRC, delete_context> opengl_context;
};

} // namespace qvsdk
