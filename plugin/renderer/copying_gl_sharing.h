#pragma once

#include "plugin/renderer/gl_sharing.h"

#include <cstddef>
#include <unordered_map>

namespace qvsdk {

// Stands in for cl_khr_gl_sharing where no platform offers it: the first device
// (a GPU before a CPU) gets a plain context, each CL image is a float RGBA copy of
// its 2D texture, acquire copies the texture into the image and release copies the
// image back into the texture.
class copying_gl_sharing final : public gl_sharing {
public:
    std::vector<sharing_candidate> find_devices(cl_api& api,
                                                const std::vector<cl_platform_id>& platforms) override;
    cl_mem create_image(cl_context context, cl_mem_flags flags, GLenum target, GLint level,
                        GLuint texture, cl_int* error) override;
    cl_int acquire(cl_command_queue queue, cl_mem image) override;
    cl_int release(cl_command_queue queue, cl_mem image) override;
    void release_image(cl_mem image) override;

    // Images made and not yet released.
    std::size_t linked_images() const { return links.size(); }

private:
    struct texture_link {
        GLenum target;
        GLint level;
        GLuint texture;
        cl_mem_flags flags;
        GLsizei width;
        GLsizei height;
    };
    // Pruned as images are released; a handle that the driver reuses for a new
    // image replaces the old entry.
    std::unordered_map<cl_mem, texture_link> links;
};

} // namespace qvsdk
