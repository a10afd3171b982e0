#include "plugin/renderer/cl_api.h"

#include <GL/glew.h>

#include <CL/cl_gl.h>

#include <windows.h>

namespace qvsdk {
namespace {

clGetGLContextInfoKHR_fn gl_context_info(cl_platform_id platform)
{
    return reinterpret_cast<clGetGLContextInfoKHR_fn>(
        clGetExtensionFunctionAddressForPlatform(platform, "clGetGLContextInfoKHR"));
}

class system_api final : public cl_api {
public:
    cl_int platform_ids(cl_uint count, cl_platform_id* ids, cl_uint* available) override
    {
        return clGetPlatformIDs(count, ids, available);
    }
    cl_int platform_info(cl_platform_id platform, cl_platform_info what, size_t size, void* value,
                         size_t* size_returned) override
    {
        return clGetPlatformInfo(platform, what, size, value, size_returned);
    }
    cl_int device_ids(cl_platform_id platform, cl_device_type type, cl_uint count,
                      cl_device_id* ids, cl_uint* available) override
    {
        return clGetDeviceIDs(platform, type, count, ids, available);
    }
    cl_int device_info(cl_device_id device, cl_device_info what, size_t size, void* value,
                       size_t* size_returned) override
    {
        return clGetDeviceInfo(device, what, size, value, size_returned);
    }
    bool offers_gl_sharing(cl_platform_id platform) override
    {
        return gl_context_info(platform) != nullptr;
    }
    cl_int current_gl_device(cl_platform_id platform, const cl_context_properties* properties,
                             cl_device_id* device) override
    {
        auto query = gl_context_info(platform);
        if (!query)
            return CL_INVALID_PLATFORM;
        return query(properties, CL_CURRENT_DEVICE_FOR_GL_CONTEXT_KHR, sizeof(cl_device_id),
                     device, nullptr);
    }
    cl_context create_context(const cl_context_properties* properties, cl_device_id device,
                              cl_int* error) override
    {
        return clCreateContext(properties, 1, &device, nullptr, nullptr, error);
    }
    cl_command_queue create_queue(cl_context context, cl_device_id device, cl_int* error) override
    {
        return clCreateCommandQueue(context, device, 0, error);
    }
    std::string gl_vendor() override
    {
        const auto* vendor = reinterpret_cast<const char*>(glGetString(GL_VENDOR));
        return vendor ? vendor : "";
    }
    cl_context_properties current_gl_context() override
    {
        return reinterpret_cast<cl_context_properties>(wglGetCurrentContext());
    }
    cl_context_properties current_gl_dc() override
    {
        return reinterpret_cast<cl_context_properties>(wglGetCurrentDC());
    }
    cl_mem create_from_gl_texture(cl_context context, cl_mem_flags flags, cl_GLenum target,
                                  cl_GLint level, cl_GLuint texture, cl_int* error) override
    {
        return clCreateFromGLTexture(context, flags, target, level, texture, error);
    }
    cl_int acquire_gl_object(cl_command_queue queue, cl_mem image) override
    {
        return clEnqueueAcquireGLObjects(queue, 1, &image, 0, nullptr, nullptr);
    }
    cl_int release_gl_object(cl_command_queue queue, cl_mem image) override
    {
        return clEnqueueReleaseGLObjects(queue, 1, &image, 0, nullptr, nullptr);
    }
    void release_mem_object(cl_mem image) override { clReleaseMemObject(image); }
    void debug_output(const char* text) override { OutputDebugStringA(text); }
};

} // namespace

cl_api& system_cl_api()
{
    static system_api api;
    return api;
}

} // namespace qvsdk
