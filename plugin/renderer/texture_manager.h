#pragma once

#include <GL/glew.h>

namespace qvsdk {

// Mipmapped, repeating, anisotropic RGBA16F textures from float pixels in memory
// (four floats a pixel: blue, green, red, alpha). Returned textures belong to the
// caller.
class texture_manager {
public:
    texture_manager();
    texture_manager(const texture_manager&) = delete;
    texture_manager& operator=(const texture_manager&) = delete;

    // 0 when the upload buffer cannot be mapped.
    GLuint upload(const void* pixels, GLint width, GLint height);
    // From the pixel-unpack buffer that is bound (offset 0).
    GLuint create_texture(GLint width, GLint height);

    GLfloat max_anisotropy = 0.0f;
};

} // namespace qvsdk
