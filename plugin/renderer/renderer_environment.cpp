// Environment cube map from a latitude-longitude layer, with its blurred levels.
#include "plugin/renderer/renderer.h"

#include "plugin/renderer/cleanup_guard.h"
#include "plugin/renderer/gl_allocation.h"

namespace qvsdk {
namespace {

constexpr GLsizei cube_size = 512;
constexpr int prefiltered_levels = 6;

struct cube_face {
    GLenum target;
    float initial[3];
    float increment_x[3];
    float increment_y[3];
};

// The direction of a face texel is initial + u × increment_x + v × increment_y.
const cube_face cube_faces[6] = {
    {GL_TEXTURE_CUBE_MAP_POSITIVE_X, {0.5f, 0.5f, 0.5f}, {0, 0, -1}, {0, -1, 0}},
    {GL_TEXTURE_CUBE_MAP_NEGATIVE_X, {-0.5f, 0.5f, -0.5f}, {0, 0, 1}, {0, -1, 0}},
    {GL_TEXTURE_CUBE_MAP_POSITIVE_Y, {-0.5f, 0.5f, -0.5f}, {1, 0, 0}, {0, 0, 1}},
    {GL_TEXTURE_CUBE_MAP_NEGATIVE_Y, {-0.5f, -0.5f, 0.5f}, {1, 0, 0}, {0, 0, -1}},
    {GL_TEXTURE_CUBE_MAP_POSITIVE_Z, {-0.5f, 0.5f, 0.5f}, {1, 0, 0}, {0, -1, 0}},
    {GL_TEXTURE_CUBE_MAP_NEGATIVE_Z, {0.5f, 0.5f, -0.5f}, {-1, 0, 0}, {0, -1, 0}},
};

void set_face_uniforms(GLuint program, const cube_face& face)
{
    glUniform3fv(glGetUniformLocation(program, "initialCoord"), 1, face.initial);
    glUniform3fv(glGetUniformLocation(program, "coordIncX"), 1, face.increment_x);
    glUniform3fv(glGetUniformLocation(program, "coordIncY"), 1, face.increment_y);
}

int mip_level_count(GLsizei size)
{
    int count = 1;
    while (size > 1) {
        size /= 2;
        ++count;
    }
    return count;
}

} // namespace

GLuint Renderer::build_environment(GLuint source)
{
    if (source == 0)
        return 0;
    glDisable(GL_MULTISAMPLE);
    glDisable(GL_CULL_FACE);

    GLuint framebuffer = 0;
    GLuint cube = 0;
    glGenFramebuffers(1, &framebuffer);
    glGenTextures(1, &cube);
    // A cube without storage would reflect nothing: no map at all is handed back.
    cleanup_guard delete_on_failure([this, &framebuffer, &cube] {
        glDeleteFramebuffers(1, &framebuffer);
        delete_texture(cube);
    });
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_CUBE_MAP, cube);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    for (const cube_face& face : cube_faces) {
        glTexImage2D(face.target, 0, GL_RGBA16F, cube_size, cube_size, 0, GL_RGBA, GL_FLOAT,
                     nullptr);
    }
    // The error flag keeps the first failure of the six.
    check_allocated(gl_calls, "glTexImage2D");

    glBindVertexArray(quad_vertex_array);
    glUseProgram(equirect_program);
    glBindTexture(GL_TEXTURE_2D, source);
    for (const cube_face& face : cube_faces) {
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, face.target, cube, 0);
        glViewport(0, 0, cube_size, cube_size);
        set_face_uniforms(equirect_program, face);
        glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
    }

    glDeleteFramebuffers(1, &framebuffer);
    framebuffer = 0;
    prefilter_environment(cube, cube_size, cube_size);
    glBindTexture(GL_TEXTURE_CUBE_MAP, 0);
    glUseProgram(0);
    glBindVertexArray(0);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    delete_on_failure.release();
    return cube;
}

void Renderer::prefilter_environment(GLuint cube, std::int32_t width, std::int32_t height)
{
    GLuint framebuffer = 0;
    glGenFramebuffers(1, &framebuffer);
    cleanup_guard delete_framebuffer([&framebuffer] { glDeleteFramebuffers(1, &framebuffer); });
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glUseProgram(prefilter_program);
    glActiveTexture(GL_TEXTURE1);
    glBindTexture(GL_TEXTURE_2D, sample_table);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_CUBE_MAP, cube);
    glBindVertexArray(quad_vertex_array);

    const int levels = mip_level_count(width);
    for (int level = 1; level < levels; ++level) {
        for (const cube_face& face : cube_faces) {
            glTexImage2D(face.target, level, GL_RGBA16F, width >> level, height >> level, 0,
                         GL_RGBA, GL_FLOAT, nullptr);
        }
    }
    check_allocated(gl_calls, "glTexImage2D");

    glUniform1ui(glGetUniformLocation(prefilter_program, "numSamples"), 512);
    // Each level blurs the one above it, so the lobe widens level by level.
    for (int level = 1; level <= prefiltered_levels; ++level) {
        glUniform1f(glGetUniformLocation(prefilter_program, "sampleLod"),
                    static_cast<float>(level - 1));
        glUniform1ui(glGetUniformLocation(prefilter_program, "roughnessLayer"),
                     static_cast<GLuint>(level - 1));
        for (const cube_face& face : cube_faces) {
            glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, face.target, cube, level);
            set_face_uniforms(prefilter_program, face);
            glViewport(0, 0, width >> level, height >> level);
            glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
        }
        // The next level may sample only the levels written so far.
        glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_BASE_LEVEL, 0);
        glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MAX_LEVEL, level);
        glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    }

    delete_framebuffer();
    glBindTexture(GL_TEXTURE_CUBE_MAP, 0);
    glUseProgram(0);
    glBindVertexArray(0);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

} // namespace qvsdk
