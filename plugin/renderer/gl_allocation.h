#pragma once

#include <GL/glew.h>

namespace qvsdk {

// What the OpenGL device holds: its size limits, and whether an allocation of a
// frame's targets or a layer's texture took. Behind one interface so that tests can
// lower a limit or fail an allocation as a card short of memory would.
class gl_allocation_api {
public:
    virtual ~gl_allocation_api() = default;

    // glGetIntegerv of one limit, e.g. GL_MAX_TEXTURE_SIZE.
    virtual GLint limit(GLenum name);
    // Right after the named allocation call: GL_OUT_OF_MEMORY when it did not take.
    // Clears the error flags.
    virtual GLenum allocation_error(const char* call);
    // glCheckFramebufferStatus of the framebuffer bound to GL_FRAMEBUFFER.
    virtual GLenum framebuffer_status();
};

// The real driver.
gl_allocation_api& system_gl_allocation_api();

// Reads and clears every error flag of the current context: GL_OUT_OF_MEMORY when
// that was among them, else the first one found.
GLenum clear_gl_errors();

// Throws out_of_gpu_memory when the named allocation did not take.
void check_allocated(gl_allocation_api& api, const char* call);

} // namespace qvsdk
