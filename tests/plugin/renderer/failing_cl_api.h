#pragma once

#include "plugin/renderer/cl_api.h"
#include "plugin/renderer/gl_allocation.h"

#include <map>
#include <string>

namespace qvtest {

// The OpenCL driver and the OpenGL allocation checks, except that the armed call
// fails: an OpenCL frame call with `code`, an OpenGL allocation (named by its GL
// function) with GL_OUT_OF_MEMORY, "glCheckFramebufferStatus" as incomplete. Every
// such call is counted by name; `limits` replace the device's.
class failing_cl_api final : public qvsdk::cl_api, public qvsdk::gl_allocation_api {
public:
    std::string failing;  // e.g. "create_buffer"; empty: nothing fails
    int passes = 0;       // calls of the armed one that still take before it fails
    cl_int code = CL_OUT_OF_RESOURCES;
    std::map<GLenum, GLint> limits;
    std::map<std::string, int> calls;
    // The 2D texture bound when the armed call failed.
    unsigned bound_at_failure = 0;

    cl_int platform_ids(cl_uint count, cl_platform_id* ids, cl_uint* available) override;
    cl_int platform_info(cl_platform_id platform, cl_platform_info what, size_t size, void* value,
                         size_t* size_returned) override;
    cl_int device_ids(cl_platform_id platform, cl_device_type type, cl_uint count,
                      cl_device_id* ids, cl_uint* available) override;
    cl_int device_info(cl_device_id device, cl_device_info what, size_t size, void* value,
                       size_t* size_returned) override;
    bool offers_gl_sharing(cl_platform_id platform) override;
    cl_int current_gl_device(cl_platform_id platform, const cl_context_properties* properties,
                             cl_device_id* device) override;
    cl_context create_context(const cl_context_properties* properties, cl_device_id device,
                              cl_int* error) override;
    cl_command_queue create_queue(cl_context context, cl_device_id device, cl_int* error) override;
    std::string gl_vendor() override;
    cl_context_properties current_gl_context() override;
    cl_context_properties current_gl_dc() override;

    cl_mem create_buffer(cl_context context, cl_mem_flags flags, size_t size,
                         cl_int* error) override;
    cl_int write_buffer(cl_command_queue queue, cl_mem buffer, cl_bool blocking, size_t size,
                        const void* data) override;
    cl_int read_buffer(cl_command_queue queue, cl_mem buffer, size_t size, void* data) override;
    cl_int set_kernel_arg(cl_kernel kernel, cl_uint index, size_t size, const void* value) override;
    cl_int run_kernel(cl_command_queue queue, cl_kernel kernel, size_t width,
                      size_t height) override;
    cl_int finish(cl_command_queue queue) override;

    GLint limit(GLenum name) override;
    GLenum allocation_error(const char* call) override;
    GLenum framebuffer_status() override;

private:
    bool fails(const std::string& call);
};

} // namespace qvtest
