// Host layers into mipmapped float textures, converted on the device.
#include "plugin/renderer/renderer.h"

#include "plugin/renderer/cl_device_list.h"
#include "plugin/renderer/conversion_build.h"
#include "plugin/renderer/pixel_buffer_size.h"
#include "plugin/renderer/texture_manager.h"

namespace qvsdk {

GLuint Renderer::load_layer_texture(const pixel_buffer& layer)
{
    if (!layer.pixels)
        return 0;
    const cl_device& device = *devices().selected;
    cl_ulong limit = 0;
    clGetDeviceInfo(device.device, CL_DEVICE_MAX_MEM_ALLOC_SIZE, sizeof(limit), &limit, nullptr);
    const std::uint64_t size = pixel_buffer_size(layer, limit);

    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA16F, layer.width, layer.height, 0, GL_RGBA, GL_FLOAT,
                 nullptr);
    glFinish();

    cl_command_queue queue = device.queue.get();
    cl_int error = CL_SUCCESS;
    cl_mem image = devices().sharing().create_image(device.context.get(), CL_MEM_WRITE_ONLY,
                                                    GL_TEXTURE_2D, 0, texture, &error);
    cl_mem buffer = clCreateBuffer(device.context.get(), CL_MEM_READ_ONLY,
                                   static_cast<size_t>(size), nullptr, &error);
    clEnqueueWriteBuffer(queue, buffer, CL_FALSE, 0, static_cast<size_t>(size), layer.pixels, 0,
                         nullptr, nullptr);

    cl_kernel kernel = input_kernels[conversion_build(layer.bytes_per_channel)];
    const cl_uint row_bytes = static_cast<cl_uint>(layer.row_bytes);
    clSetKernelArg(kernel, 0, sizeof(cl_mem), &image);
    clSetKernelArg(kernel, 1, sizeof(cl_mem), &buffer);
    clSetKernelArg(kernel, 2, sizeof(cl_uint), &row_bytes);

    devices().sharing().acquire(queue, image);
    const size_t range[2] = {static_cast<size_t>(layer.width), static_cast<size_t>(layer.height)};
    clEnqueueNDRangeKernel(queue, kernel, 2, nullptr, range, nullptr, 0, nullptr, nullptr);
    devices().sharing().release(queue, image);
    if (buffer)
        clReleaseMemObject(buffer);
    devices().sharing().release_image(image);
    clFinish(queue);

    glBindTexture(GL_TEXTURE_2D, texture);
    const GLfloat anisotropy = textures().max_anisotropy;
    if (anisotropy != 0.0f)
        glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAX_ANISOTROPY_EXT, anisotropy);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glGenerateMipmap(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, 0);
    return texture;
}

void Renderer::delete_texture(GLuint texture)
{
    glDeleteTextures(1, &texture);
}

} // namespace qvsdk
