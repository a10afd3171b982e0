#include "failing_cl_api.h"

#include <GL/glew.h>

namespace qvtest {
namespace {

qvsdk::cl_api& driver()
{
    return qvsdk::system_cl_api();
}

} // namespace

cl_int failing_cl_api::platform_ids(cl_uint count, cl_platform_id* ids, cl_uint* available)
{
    return driver().platform_ids(count, ids, available);
}

cl_int failing_cl_api::platform_info(cl_platform_id platform, cl_platform_info what, size_t size,
                                     void* value, size_t* size_returned)
{
    return driver().platform_info(platform, what, size, value, size_returned);
}

cl_int failing_cl_api::device_ids(cl_platform_id platform, cl_device_type type, cl_uint count,
                                  cl_device_id* ids, cl_uint* available)
{
    return driver().device_ids(platform, type, count, ids, available);
}

cl_int failing_cl_api::device_info(cl_device_id device, cl_device_info what, size_t size,
                                   void* value, size_t* size_returned)
{
    return driver().device_info(device, what, size, value, size_returned);
}

bool failing_cl_api::offers_gl_sharing(cl_platform_id platform)
{
    return driver().offers_gl_sharing(platform);
}

cl_int failing_cl_api::current_gl_device(cl_platform_id platform,
                                         const cl_context_properties* properties,
                                         cl_device_id* device)
{
    return driver().current_gl_device(platform, properties, device);
}

cl_context failing_cl_api::create_context(const cl_context_properties* properties,
                                          cl_device_id device, cl_int* error)
{
    return driver().create_context(properties, device, error);
}

cl_command_queue failing_cl_api::create_queue(cl_context context, cl_device_id device,
                                              cl_int* error)
{
    return driver().create_queue(context, device, error);
}

std::string failing_cl_api::gl_vendor()
{
    return driver().gl_vendor();
}

cl_context_properties failing_cl_api::current_gl_context()
{
    return driver().current_gl_context();
}

cl_context_properties failing_cl_api::current_gl_dc()
{
    return driver().current_gl_dc();
}

cl_mem failing_cl_api::create_buffer(cl_context context, cl_mem_flags flags, size_t size,
                                     cl_int* error)
{
    if (fails("create_buffer")) {
        *error = code;
        return nullptr;
    }
    return driver().create_buffer(context, flags, size, error);
}

cl_int failing_cl_api::write_buffer(cl_command_queue queue, cl_mem buffer, cl_bool blocking,
                                    size_t size, const void* data)
{
    return fails("write_buffer") ? code
                                 : driver().write_buffer(queue, buffer, blocking, size, data);
}

cl_int failing_cl_api::read_buffer(cl_command_queue queue, cl_mem buffer, size_t size, void* data)
{
    return fails("read_buffer") ? code
                                : driver().read_buffer(queue, buffer, size, data);
}

cl_int failing_cl_api::set_kernel_arg(cl_kernel kernel, cl_uint index, size_t size,
                                      const void* value)
{
    return fails("set_kernel_arg") ? code
                                   : driver().set_kernel_arg(kernel, index, size, value);
}

cl_int failing_cl_api::run_kernel(cl_command_queue queue, cl_kernel kernel, size_t width,
                                  size_t height)
{
    return fails("run_kernel") ? code
                               : driver().run_kernel(queue, kernel, width, height);
}

cl_int failing_cl_api::finish(cl_command_queue queue)
{
    return fails("finish") ? code : driver().finish(queue);
}

GLint failing_cl_api::limit(GLenum name)
{
    const auto lowered = limits.find(name);
    return lowered != limits.end() ? lowered->second : gl_allocation_api::limit(name);
}

GLenum failing_cl_api::allocation_error(const char* call)
{
    const GLenum error = gl_allocation_api::allocation_error(call);
    return fails(call) ? GL_OUT_OF_MEMORY : error;
}

GLenum failing_cl_api::framebuffer_status()
{
    const GLenum status = gl_allocation_api::framebuffer_status();
    return fails("glCheckFramebufferStatus") ? GL_FRAMEBUFFER_INCOMPLETE_ATTACHMENT : status;
}

bool failing_cl_api::fails(const std::string& call)
{
    calls[call] += 1;
    if (call != failing)
        return false;
    if (passes > 0) {
        --passes;
        return false;
    }
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    bound_at_failure = static_cast<unsigned>(bound);
    return true;
}

} // namespace qvtest
