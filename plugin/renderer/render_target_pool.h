#pragma once

#include "plugin/renderer/gl_allocation.h"
#include "plugin/renderer/render_target.h"

#include <GL/glew.h>

#include <vector>

namespace qvsdk {

// Every framebuffer, renderbuffer and render texture made for the frame's targets,
// so they can go all at once; also the driver limits those targets are held to.
class render_target_pool {
public:
    // Reads the limits through `gl`, which also tells whether the targets took.
    explicit render_target_pool(gl_allocation_api& gl = system_gl_allocation_api());
    render_target_pool(const render_target_pool&) = delete;
    render_target_pool& operator=(const render_target_pool&) = delete;
    ~render_target_pool();

    // An RGBA16F texture; the sample count is clamped to the device's colour limit.
    // Throws out_of_gpu_memory when its storage could not be allocated.
    render_target create_texture(GLint width, GLint height, GLint samples);
    // Throws out_of_gpu_memory when the framebuffer is then incomplete.
    void attach(GLuint framebuffer, GLenum attachment, const render_target& target);
    void clear();

    gl_allocation_api& gl;
    std::vector<GLuint> framebuffers;
    std::vector<GLuint> textures;
    std::vector<GLuint> renderbuffers;
    bool multisample_textures_supported = false;
    GLint max_samples = 0;
    GLint max_color_texture_samples = 0;
    GLint max_renderbuffer_size = 0;
    GLint max_texture_size = 0;
};

} // namespace qvsdk
