// Tangent-space normal map from a height layer.
#include "plugin/renderer/renderer.h"

#include "plugin/renderer/cleanup_guard.h"
#include "plugin/renderer/gl_allocation.h"
#include "plugin/renderer/texture_manager.h"

#include <cmath>

namespace qvsdk {
namespace {

// The slopes are per texel of the downsampled layer; at half resolution a texel
// spans twice the distance along that axis. Before any frame has been sized there
// is no downsampling to know of: full resolution.
float slope_scale(float inverse_downsample)
{
    return inverse_downsample > 0.0f && std::isfinite(inverse_downsample)
               ? 1.0f / inverse_downsample
               : 1.0f;
}

} // namespace

GLuint Renderer::bump_to_normal(GLuint source, std::int32_t width, std::int32_t height)
{
    glDisable(GL_MULTISAMPLE);
    glDisable(GL_CULL_FACE);

    GLuint result = 0;
    GLuint framebuffer = 0;
    glGenTextures(1, &result);
    // A map without storage would sample as zero: no map at all is handed back.
    cleanup_guard delete_on_failure([this, &result, &framebuffer] {
        glDeleteFramebuffers(1, &framebuffer);
        delete_texture(result);
    });
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, result);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    const GLfloat anisotropy = textures().max_anisotropy;
    if (anisotropy != 0.0f)
        glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAX_ANISOTROPY_EXT, anisotropy);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA16F, width, height, 0, GL_RGBA, GL_FLOAT, nullptr);
    check_allocated(gl_calls, "glTexImage2D");

    glGenFramebuffers(1, &framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, result, 0);
    glViewport(0, 0, width, height);

    glBindTexture(GL_TEXTURE_2D, source);
    glUseProgram(bump_program);
    glUniform2f(glGetUniformLocation(bump_program, "pixelSize"), 1.0f / static_cast<float>(width),
                1.0f / static_cast<float>(height));
    glUniform2f(glGetUniformLocation(bump_program, "scaleFactor"),
                slope_scale(current_frame.inverse_downsample_x),
                slope_scale(current_frame.inverse_downsample_y));
    draw_quad();
    glBindVertexArray(0);
    glDeleteFramebuffers(1, &framebuffer);
    framebuffer = 0;

    glBindTexture(GL_TEXTURE_2D, result);
    glGenerateMipmap(GL_TEXTURE_2D);
    glUseProgram(0);
    check_allocated(gl_calls, "glGenerateMipmap");
    delete_on_failure.release();
    return result;
}

} // namespace qvsdk
