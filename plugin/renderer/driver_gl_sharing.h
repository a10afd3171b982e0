#pragma once

#include "plugin/renderer/gl_sharing.h"

#include <string>

namespace qvsdk {

// Vendor classes of OpenGL drivers and OpenCL platforms.
enum gl_vendor_class_id { vendor_nvidia = 0, vendor_amd = 1, vendor_intel = 2, vendor_other = 3 };

gl_vendor_class_id gl_vendor_class(const std::string& gl_vendor);
// Whether a platform's vendor or name text belongs to the class (other takes any).
bool platform_in_vendor_class(const std::string& platform_text, gl_vendor_class_id vendor_class);

// The driver's cl_khr_gl_sharing: the GPU that runs the current OpenGL context.
// Every sharing call goes through the OpenCL seam.
class driver_gl_sharing final : public gl_sharing {
public:
    explicit driver_gl_sharing(cl_api& api) : api(api) {}

    std::vector<sharing_candidate> find_devices(cl_api& api,
                                                const std::vector<cl_platform_id>& platforms) override;
    cl_mem create_image(cl_context context, cl_mem_flags flags, GLenum target, GLint level,
                        GLuint texture, cl_int* error) override;
    cl_int acquire(cl_command_queue queue, cl_mem image) override;
    cl_int release(cl_command_queue queue, cl_mem image) override;
    void release_image(cl_mem image) override;

private:
    cl_api& api;
};

} // namespace qvsdk
