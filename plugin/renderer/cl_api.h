#pragma once

#include <CL/cl.h>
#include <CL/cl_gl.h>

#include <string>

namespace qvsdk {

// The OpenCL platform and device queries that device choice makes, behind one
// interface so that tests can answer them without a driver.
class cl_api {
public:
    virtual ~cl_api() = default;

    virtual cl_int platform_ids(cl_uint count, cl_platform_id* ids, cl_uint* available) = 0;
    virtual cl_int platform_info(cl_platform_id platform, cl_platform_info what, size_t size,
                                 void* value, size_t* size_returned) = 0;
    virtual cl_int device_ids(cl_platform_id platform, cl_device_type type, cl_uint count,
                              cl_device_id* ids, cl_uint* available) = 0;
    virtual cl_int device_info(cl_device_id device, cl_device_info what, size_t size,
                               void* value, size_t* size_returned) = 0;
    // True when the platform offers clGetGLContextInfoKHR.
    virtual bool offers_gl_sharing(cl_platform_id platform) = 0;
    // CL_CURRENT_DEVICE_FOR_GL_CONTEXT_KHR through the platform's clGetGLContextInfoKHR.
    virtual cl_int current_gl_device(cl_platform_id platform,
                                     const cl_context_properties* properties,
                                     cl_device_id* device) = 0;
    virtual cl_context create_context(const cl_context_properties* properties,
                                      cl_device_id device, cl_int* error) = 0;
    virtual cl_command_queue create_queue(cl_context context, cl_device_id device,
                                          cl_int* error) = 0;

    // The current OpenGL context's vendor text (empty when there is none), context and DC.
    virtual std::string gl_vendor() = 0;
    virtual cl_context_properties current_gl_context() = 0;
    virtual cl_context_properties current_gl_dc() = 0;

    // The frame's buffer, kernel and queue calls. They go to the driver unless a
    // test answers them, so fakes of the device choice need not.
    virtual cl_mem create_buffer(cl_context context, cl_mem_flags flags, size_t size,
                                 cl_int* error);
    virtual cl_int write_buffer(cl_command_queue queue, cl_mem buffer, cl_bool blocking,
                                size_t size, const void* data);
    // Blocking, from offset 0.
    virtual cl_int read_buffer(cl_command_queue queue, cl_mem buffer, size_t size, void* data);
    virtual cl_int set_kernel_arg(cl_kernel kernel, cl_uint index, size_t size,
                                  const void* value);
    // Over (width, height) work items with no local size.
    virtual cl_int run_kernel(cl_command_queue queue, cl_kernel kernel, size_t width,
                              size_t height);
    virtual cl_int finish(cl_command_queue queue);

    // cl_khr_gl_sharing on the driver path: an image of a GL texture, the queue's
    // hold on it around each kernel, and letting it go; to the driver unless a test
    // answers them.
    virtual cl_mem create_from_gl_texture(cl_context context, cl_mem_flags flags,
                                          cl_GLenum target, cl_GLint level, cl_GLuint texture,
                                          cl_int* error);
    virtual cl_int acquire_gl_object(cl_command_queue queue, cl_mem image);
    virtual cl_int release_gl_object(cl_command_queue queue, cl_mem image);
    virtual void release_mem_object(cl_mem image);
    // The debugger output, where the chosen sharing path is announced.
    virtual void debug_output(const char* text);
};

// The real driver.
cl_api& system_cl_api();

} // namespace qvsdk
