// Proves the harness before the renderer stands on it: a 4.1 core context through
// WGL with GLEW loaded, the extensions the renderer needs, and an OpenCL device.
#include <GL/glew.h>
#include <GL/wglew.h>

#include <CL/cl.h>

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

struct hidden_gl_window {
    HWND window = nullptr;
    HDC dc = nullptr;
    HGLRC legacy = nullptr;
    HGLRC core = nullptr;

    ~hidden_gl_window()
    {
        wglMakeCurrent(nullptr, nullptr);
        if (core)
            wglDeleteContext(core);
        if (legacy)
            wglDeleteContext(legacy);
        if (dc)
            ReleaseDC(window, dc);
        if (window)
            DestroyWindow(window);
    }
};

} // namespace

TEST(GpuSmoke, CoreContext41WithGlewAndExtensions)
{
    hidden_gl_window w;
    w.window = CreateWindowExW(0, L"STATIC", L"gl", WS_POPUP, 0, 0, 16, 16, nullptr, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(w.window, nullptr);
    w.dc = GetDC(w.window);
    ASSERT_NE(w.dc, nullptr);

    PIXELFORMATDESCRIPTOR pfd{};
    pfd.nSize = sizeof(pfd);
    pfd.nVersion = 1;
    pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    pfd.iPixelType = PFD_TYPE_RGBA;
    pfd.cColorBits = 32;
    pfd.cDepthBits = 24;
    const int format = ChoosePixelFormat(w.dc, &pfd);
    ASSERT_GT(format, 0);
    ASSERT_TRUE(SetPixelFormat(w.dc, format, &pfd));

    w.legacy = wglCreateContext(w.dc);
    ASSERT_NE(w.legacy, nullptr);
    ASSERT_TRUE(wglMakeCurrent(w.dc, w.legacy));

    auto create_attribs = reinterpret_cast<PFNWGLCREATECONTEXTATTRIBSARBPROC>(
        reinterpret_cast<void*>(wglGetProcAddress("wglCreateContextAttribsARB")));
    ASSERT_NE(create_attribs, nullptr);
    const int attribs[] = {WGL_CONTEXT_MAJOR_VERSION_ARB, 4, WGL_CONTEXT_MINOR_VERSION_ARB, 1,
                           WGL_CONTEXT_PROFILE_MASK_ARB, WGL_CONTEXT_CORE_PROFILE_BIT_ARB, 0};
    w.core = create_attribs(w.dc, nullptr, attribs);
    ASSERT_NE(w.core, nullptr);
    ASSERT_TRUE(wglMakeCurrent(w.dc, w.core));

    glewExperimental = GL_TRUE;
    ASSERT_EQ(glewInit(), static_cast<GLenum>(GLEW_OK));
    glGetError();  // glewInit probes with a call that core profiles reject

    const auto* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    const auto* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    ASSERT_NE(version, nullptr);
    std::printf("GL_VERSION: %s\nGL_RENDERER: %s\n", version, renderer ? renderer : "?");

    GLint major = 0, minor = 0;
    glGetIntegerv(GL_MAJOR_VERSION, &major);
    glGetIntegerv(GL_MINOR_VERSION, &minor);
    EXPECT_TRUE(major > 4 || (major == 4 && minor >= 1)) << major << "." << minor;

    EXPECT_TRUE(GLEW_ARB_sample_shading);
    EXPECT_TRUE(GLEW_ARB_texture_multisample);
    EXPECT_NE(glTexImage2DMultisample, nullptr);
}

TEST(GpuSmoke, OpenClHasAPlatformWithADevice)
{
    cl_uint platform_count = 0;
    ASSERT_EQ(clGetPlatformIDs(0, nullptr, &platform_count), CL_SUCCESS);
    ASSERT_GT(platform_count, 0u);
    std::vector<cl_platform_id> platforms(platform_count);
    ASSERT_EQ(clGetPlatformIDs(platform_count, platforms.data(), nullptr), CL_SUCCESS);

    cl_uint total_devices = 0;
    for (cl_platform_id platform : platforms) {
        char name[256] = {};
        clGetPlatformInfo(platform, CL_PLATFORM_NAME, sizeof(name) - 1, name, nullptr);
        cl_uint devices = 0;
        if (clGetDeviceIDs(platform, CL_DEVICE_TYPE_ALL, 0, nullptr, &devices) != CL_SUCCESS)
            devices = 0;
        std::printf("OpenCL platform: %s, %u device(s)\n", name, devices);
        total_devices += devices;
    }
    EXPECT_GT(total_devices, 0u);
}
