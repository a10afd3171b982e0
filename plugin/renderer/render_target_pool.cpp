#include "plugin/renderer/render_target_pool.h"

#include "plugin/renderer/out_of_gpu_memory.h"

#include <algorithm>
#include <stdexcept>

namespace qvsdk {

render_target_pool::render_target_pool(gl_allocation_api& gl) : gl(gl)
{
    framebuffers.reserve(10);
    textures.reserve(10);
    renderbuffers.reserve(10);
    multisample_textures_supported = GLEW_ARB_texture_multisample;
    max_samples = gl.limit(GL_MAX_SAMPLES);
    max_color_texture_samples = gl.limit(GL_MAX_COLOR_TEXTURE_SAMPLES);
    max_renderbuffer_size = gl.limit(GL_MAX_RENDERBUFFER_SIZE);
    max_texture_size = gl.limit(GL_MAX_TEXTURE_SIZE);
}

render_target_pool::~render_target_pool()
{
    clear();
}

render_target render_target_pool::create_texture(GLint width, GLint height, GLint samples)
{
    samples = std::min(samples, max_color_texture_samples);
    if (samples != 0 && !multisample_textures_supported)
        throw std::runtime_error("render texture multi-sampling not supported");
    if (width > max_texture_size || height > max_texture_size)
        throw std::runtime_error("render texture size is over maximum supported size");

    GLuint name = 0;
    glGenTextures(1, &name);
    textures.push_back(name);
    const GLenum target = samples != 0 ? GL_TEXTURE_2D_MULTISAMPLE : GL_TEXTURE_2D;
    glBindTexture(target, name);
    if (samples != 0) {
        glTexImage2DMultisample(target, samples, GL_RGBA16F, width, height, GL_TRUE);
    } else {
        glTexParameteri(target, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(target, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(target, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(target, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        glTexImage2D(target, 0, GL_RGBA16F, width, height, 0, GL_RGBA, GL_FLOAT, nullptr);
    }
    glBindTexture(target, 0);
    check_allocated(gl, samples != 0 ? "glTexImage2DMultisample" : "glTexImage2D");
    return {name, render_target_texture, samples != 0};
}

void render_target_pool::attach(GLuint framebuffer, GLenum attachment, const render_target& target)
{
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    if (target.kind == render_target_renderbuffer) {
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, attachment, GL_RENDERBUFFER, target.name);
    } else {
        glFramebufferTexture2D(GL_FRAMEBUFFER, attachment,
                               target.multisampled ? GL_TEXTURE_2D_MULTISAMPLE : GL_TEXTURE_2D,
                               target.name, 0);
    }
    const GLenum status = gl.framebuffer_status();
    // Sample counts that differ are the request's fault; any other incomplete
    // framebuffer is storage the card could not give.
    if (status == GL_FRAMEBUFFER_INCOMPLETE_MULTISAMPLE)
        throw std::runtime_error("failed to attach render target");
    if (status != GL_FRAMEBUFFER_COMPLETE)
        throw out_of_gpu_memory();
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

void render_target_pool::clear()
{
    if (!framebuffers.empty())
        glDeleteFramebuffers(static_cast<GLsizei>(framebuffers.size()), framebuffers.data());
    if (!renderbuffers.empty())
        glDeleteRenderbuffers(static_cast<GLsizei>(renderbuffers.size()), renderbuffers.data());
    if (!textures.empty())
        glDeleteTextures(static_cast<GLsizei>(textures.size()), textures.data());
    framebuffers.clear();
    renderbuffers.clear();
    textures.clear();
}

} // namespace qvsdk
