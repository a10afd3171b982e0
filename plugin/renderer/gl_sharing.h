#pragma once

#include <GL/glew.h>

#include <CL/cl.h>

#include <vector>

namespace qvsdk {

class cl_api;

// A device that can serve the current OpenGL context, with the properties to make
// its context with.
struct sharing_candidate {
    cl_platform_id platform = nullptr;
    cl_device_id device = nullptr;
    std::vector<cl_context_properties> properties;
};

// How OpenCL reaches the renderer's OpenGL textures: the driver's own sharing, or a
// copying stand-in where no platform offers it.
class gl_sharing {
public:
    virtual ~gl_sharing() = default;

    // Devices for the current OpenGL context, in the order to try them.
    virtual std::vector<sharing_candidate> find_devices(cl_api& api,
                                                        const std::vector<cl_platform_id>& platforms) = 0;
    virtual cl_mem create_image(cl_context context, cl_mem_flags flags, GLenum target,
                                GLint level, GLuint texture, cl_int* error) = 0;
    // OpenGL must be finished with the texture before acquire; after release the
    // texture holds what the queue wrote.
    virtual cl_int acquire(cl_command_queue queue, cl_mem image) = 0;
    virtual cl_int release(cl_command_queue queue, cl_mem image) = 0;
    // Releases an image made by create_image (null is ignored).
    virtual void release_image(cl_mem image) = 0;
};

} // namespace qvsdk
