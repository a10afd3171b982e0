// Host layers into mipmapped float textures, converted on the device.
#include "plugin/renderer/renderer.h"

#include "plugin/renderer/cl_api.h"
#include "plugin/renderer/cl_check.h"
#include "plugin/renderer/cl_device_list.h"
#include "plugin/renderer/cleanup_guard.h"
#include "plugin/renderer/conversion_build.h"
#include "plugin/renderer/gl_allocation.h"
#include "plugin/renderer/pixel_buffer_size.h"
#include "plugin/renderer/texture_manager.h"

namespace qvsdk {

GLuint Renderer::load_layer_texture(const pixel_buffer& layer)
{
    if (!layer.pixels)
        return 0;
    const cl_device& device = *devices().selected;
    const std::uint64_t size = pixel_buffer_size(layer, limits().max_buffer_bytes);

    GLuint texture = 0;
    glGenTextures(1, &texture);
    // A failed upload hands back nothing: its texture would be undefined.
    cleanup_guard delete_on_failure([this, &texture] { delete_texture(texture); });
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA16F, layer.width, layer.height, 0, GL_RGBA, GL_FLOAT,
                 nullptr);
    check_allocated(gl_calls, "glTexImage2D");
    glFinish();

    cl_command_queue queue = device.queue.get();
    {
        cl_int error = CL_SUCCESS;
        cl_mem image = nullptr;
        cl_mem buffer = nullptr;
        // Runs after the queue is drained below, or on the way out of a failure.
        cleanup_guard release_objects([this, &image, &buffer] {
            if (buffer)
                clReleaseMemObject(buffer);
            devices().sharing().release_image(image);
        });
        image = devices().sharing().create_image(device.context.get(), CL_MEM_WRITE_ONLY,
                                                 GL_TEXTURE_2D, 0, texture, &error);
        check_created(image, error, "clCreateFromGLTexture");
        buffer = cl_calls.create_buffer(device.context.get(), CL_MEM_READ_ONLY,
                                        static_cast<size_t>(size), &error);
        check_created(buffer, error, "clCreateBuffer");
        check_cl(cl_calls.write_buffer(queue, buffer, CL_FALSE, static_cast<size_t>(size),
                                       layer.pixels),
                 "clEnqueueWriteBuffer");
        // The host's pixels must have been read before the job returns, also when
        // something below fails.
        cleanup_guard drain_on_failure([this, queue] { cl_calls.finish(queue); });

        cl_kernel kernel = input_kernels[conversion_build(layer.bytes_per_channel)];
        const cl_uint row_bytes = static_cast<cl_uint>(layer.row_bytes);
        check_cl(cl_calls.set_kernel_arg(kernel, 0, sizeof(cl_mem), &image), "clSetKernelArg");
        check_cl(cl_calls.set_kernel_arg(kernel, 1, sizeof(cl_mem), &buffer), "clSetKernelArg");
        check_cl(cl_calls.set_kernel_arg(kernel, 2, sizeof(cl_uint), &row_bytes),
                 "clSetKernelArg");

        check_cl(devices().sharing().acquire(queue, image), "clEnqueueAcquireGLObjects");
        check_cl(cl_calls.run_kernel(queue, kernel, static_cast<size_t>(layer.width),
                                     static_cast<size_t>(layer.height)),
                 "clEnqueueNDRangeKernel");
        check_cl(devices().sharing().release(queue, image), "clEnqueueReleaseGLObjects");
        check_cl(cl_calls.finish(queue), "clFinish");
        drain_on_failure.release();
    }

    glBindTexture(GL_TEXTURE_2D, texture);
    const GLfloat anisotropy = textures().max_anisotropy;
    if (anisotropy != 0.0f)
        glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAX_ANISOTROPY_EXT, anisotropy);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glGenerateMipmap(GL_TEXTURE_2D);
    check_allocated(gl_calls, "glGenerateMipmap");
    glBindTexture(GL_TEXTURE_2D, 0);
    delete_on_failure.release();
    return texture;
}

void Renderer::delete_texture(GLuint texture)
{
    glDeleteTextures(1, &texture);
}

} // namespace qvsdk
