#include "plugin/renderer/gl_allocation.h"

#include "plugin/renderer/out_of_gpu_memory.h"

namespace qvsdk {

GLint gl_allocation_api::limit(GLenum name)
{
    GLint value = 0;
    glGetIntegerv(name, &value);
    return value;
}

GLenum gl_allocation_api::allocation_error(const char*)
{
    return clear_gl_errors();
}

GLenum gl_allocation_api::framebuffer_status()
{
    return glCheckFramebufferStatus(GL_FRAMEBUFFER);
}

GLenum clear_gl_errors()
{
    // Several flags may be set; out of memory is the one that matters. Bounded:
    // there are only a few flags, and a broken context may never say "no error".
    GLenum found = GL_NO_ERROR;
    for (int flag = 0; flag < 16; ++flag) {
        const GLenum error = glGetError();
        if (error == GL_NO_ERROR)
            break;
        if (found != GL_OUT_OF_MEMORY)
            found = error;
    }
    return found;
}

gl_allocation_api& system_gl_allocation_api()
{
    static gl_allocation_api driver;
    return driver;
}

void check_allocated(gl_allocation_api& api, const char* call)
{
    if (api.allocation_error(call) == GL_OUT_OF_MEMORY)
        throw out_of_gpu_memory();
}

} // namespace qvsdk
