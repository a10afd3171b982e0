#include "plugin/renderer/gl_context.h"

#include <GL/glew.h>
#include <GL/wglew.h>

#include <stdexcept>

namespace qvsdk {

bool meets_required_gl_version(int major, int minor)
{
    return major > 4 || (major == 4 && minor >= 1);
}

gl_context::gl_context()
{
    hidden_window.reset(CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 10, 10, nullptr, nullptr,
                                        GetModuleHandleW(nullptr), nullptr));
    device_context.window = hidden_window.get();
    device_context.dc = GetDC(hidden_window.get());

    PIXELFORMATDESCRIPTOR format{};
    format.nSize = sizeof(format);
    format.nVersion = 1;
    format.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    format.iPixelType = PFD_TYPE_RGBA;
    format.cColorBits = 32;
    format.iLayerType = PFD_MAIN_PLANE;
    const int index = ChoosePixelFormat(device_context.dc, &format);
    if (!SetPixelFormat(device_context.dc, index, &format))
        throw std::runtime_error("failed to set pixel format");

    // The temporary context only gives us wglCreateContextAttribsARB.
    owned_handle<HGLRC, gl_context::delete_context> legacy(wglCreateContext(device_context.dc));
    if (!legacy || !wglMakeCurrent(device_context.dc, legacy.get()))
        throw std::runtime_error("failed to create context");

    auto create_with_attributes = reinterpret_cast<PFNWGLCREATECONTEXTATTRIBSARBPROC>(
        reinterpret_cast<void*>(wglGetProcAddress("wglCreateContextAttribsARB")));
    if (!create_with_attributes)
        throw std::runtime_error("wglCreateContext not available");

    const int attributes[] = {WGL_CONTEXT_MAJOR_VERSION_ARB, 4,
                              WGL_CONTEXT_MINOR_VERSION_ARB, 1,
                              WGL_CONTEXT_FLAGS_ARB, WGL_CONTEXT_FORWARD_COMPATIBLE_BIT_ARB,
                              WGL_CONTEXT_PROFILE_MASK_ARB, WGL_CONTEXT_CORE_PROFILE_BIT_ARB,
                              0};
    opengl_context.reset(create_with_attributes(device_context.dc, nullptr, attributes));
    if (!opengl_context)
        throw std::runtime_error("failed to create OpenGL 4.1 context");

    legacy.reset();
    if (!wglMakeCurrent(device_context.dc, opengl_context.get()))
        throw std::runtime_error("failed to set OpenGL context");

    GLint major = 0;
    GLint minor = 0;
    glGetIntegerv(GL_MAJOR_VERSION, &major);
    glGetIntegerv(GL_MINOR_VERSION, &minor);
    if (!meets_required_gl_version(major, minor))
        throw std::runtime_error("OpenGL context version below required 4.1");

    glewExperimental = GL_TRUE;
    if (glewInit() != GLEW_OK)
        throw std::runtime_error("failed to initialize glew");
    glGetError();  // glewInit's probe leaves an error that core profiles raise
}

bool gl_context::make_current() const
{
    return wglMakeCurrent(device_context.dc, opengl_context.get()) != FALSE;
}

} // namespace qvsdk
