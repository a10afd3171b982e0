#include "plugin/renderer/texture_manager.h"

#include <cstring>

namespace qvsdk {

texture_manager::texture_manager()
{
    glGetFloatv(GL_MAX_TEXTURE_MAX_ANISOTROPY_EXT, &max_anisotropy);
}

GLuint texture_manager::upload(const void* pixels, GLint width, GLint height)
{
    const GLsizeiptr size = static_cast<GLsizeiptr>(width) * height * 16;
    GLuint buffer = 0;
    glGenBuffers(1, &buffer);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glBindBuffer(GL_PIXEL_UNPACK_BUFFER, buffer);
    glBufferData(GL_PIXEL_UNPACK_BUFFER, size, nullptr, GL_STREAM_DRAW);
    void* mapped = glMapBuffer(GL_PIXEL_UNPACK_BUFFER, GL_WRITE_ONLY);
    if (!mapped) {
        glDeleteBuffers(1, &buffer);
        glBindBuffer(GL_PIXEL_UNPACK_BUFFER, 0);
        return 0;
    }
    std::memcpy(mapped, pixels, static_cast<size_t>(size));
    glUnmapBuffer(GL_PIXEL_UNPACK_BUFFER);
    const GLuint texture = create_texture(width, height);
    glDeleteBuffers(1, &buffer);
    return texture;
}

GLuint texture_manager::create_texture(GLint width, GLint height)
{
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAX_ANISOTROPY_EXT, max_anisotropy);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA16F, width, height, 0, GL_BGRA, GL_FLOAT, nullptr);
    glGenerateMipmap(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, 0);
    glBindBuffer(GL_PIXEL_UNPACK_BUFFER, 0);
    return texture;
}

} // namespace qvsdk
