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
};

} // namespace

cl_mem cl_api::create_buffer(cl_context context, cl_mem_flags flags, size_t size, cl_int* error)
{
    return clCreateBuffer(context, flags, size, nullptr, error);
}

cl_int cl_api::write_buffer(cl_command_queue queue, cl_mem buffer, cl_bool blocking, size_t size,
                            const void* data)
{
    return clEnqueueWriteBuffer(queue, buffer, blocking, 0, size, data, 0, nullptr, nullptr);
}

cl_int cl_api::read_buffer(cl_command_queue queue, cl_mem buffer, size_t size, void* data)
{
    return clEnqueueReadBuffer(queue, buffer, CL_TRUE, 0, size, data, 0, nullptr, nullptr);
}

cl_int cl_api::set_kernel_arg(cl_kernel kernel, cl_uint index, size_t size, const void* value)
{
    return clSetKernelArg(kernel, index, size, value);
}

cl_int cl_api::run_kernel(cl_command_queue queue, cl_kernel kernel, size_t width, size_t height)
{
    const size_t range[2] = {width, height};
    return clEnqueueNDRangeKernel(queue, kernel, 2, nullptr, range, nullptr, 0, nullptr, nullptr);
}

cl_int cl_api::finish(cl_command_queue queue)
{
    return clFinish(queue);
}

cl_api& system_cl_api()
{
    static system_api api;
    return api;
}

cl_mem cl_api::create_from_gl_texture(cl_context context, cl_mem_flags flags, cl_GLenum target,
                                      cl_GLint level, cl_GLuint texture, cl_int* error)
{
    return clCreateFromGLTexture(context, flags, target, level, texture, error);
}

cl_int cl_api::acquire_gl_object(cl_command_queue queue, cl_mem image)
{
    return clEnqueueAcquireGLObjects(queue, 1, &image, 0, nullptr, nullptr);
}

cl_int cl_api::release_gl_object(cl_command_queue queue, cl_mem image)
{
    return clEnqueueReleaseGLObjects(queue, 1, &image, 0, nullptr, nullptr);
}

void cl_api::release_mem_object(cl_mem image)
{
    clReleaseMemObject(image);
}

void cl_api::debug_output(const char* text)
{
    OutputDebugStringA(text);
}

} // namespace qvsdk
