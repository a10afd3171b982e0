#include "plugin/renderer/copying_gl_sharing.h"

#include "plugin/renderer/cl_api.h"

#include <vector>

namespace qvsdk {
namespace {

// Binds a texture and the pixel buffers that would divert transfers, and puts the
// previous bindings back afterwards.
class transfer_bindings {
public:
    transfer_bindings(GLenum target, GLuint texture) : target(target)
    {
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &previous_texture);
        glGetIntegerv(GL_PIXEL_PACK_BUFFER_BINDING, &previous_pack);
        glGetIntegerv(GL_PIXEL_UNPACK_BUFFER_BINDING, &previous_unpack);
        glBindBuffer(GL_PIXEL_PACK_BUFFER, 0);
        glBindBuffer(GL_PIXEL_UNPACK_BUFFER, 0);
        glBindTexture(target, texture);
    }
    transfer_bindings(const transfer_bindings&) = delete;
    transfer_bindings& operator=(const transfer_bindings&) = delete;
    ~transfer_bindings()
    {
        glBindTexture(target, static_cast<GLuint>(previous_texture));
        glBindBuffer(GL_PIXEL_PACK_BUFFER, static_cast<GLuint>(previous_pack));
        glBindBuffer(GL_PIXEL_UNPACK_BUFFER, static_cast<GLuint>(previous_unpack));
    }

private:
    GLenum target;
    GLint previous_texture = 0;
    GLint previous_pack = 0;
    GLint previous_unpack = 0;
};

void append_devices(cl_api& api, cl_platform_id platform, cl_device_type type,
                    std::vector<sharing_candidate>& found)
{
    cl_uint count = 0;
    if (api.device_ids(platform, type, 0, nullptr, &count) != CL_SUCCESS || count == 0)
        return;
    std::vector<cl_device_id> devices(count);
    if (api.device_ids(platform, type, count, devices.data(), nullptr) != CL_SUCCESS)
        return;
    for (cl_device_id device : devices) {
        found.push_back({platform, device,
                         {CL_CONTEXT_PLATFORM, reinterpret_cast<cl_context_properties>(platform), 0}});
    }
}

} // namespace

std::vector<sharing_candidate> copying_gl_sharing::find_devices(
    cl_api& api, const std::vector<cl_platform_id>& platforms)
{
    std::vector<sharing_candidate> found;
    for (cl_platform_id platform : platforms)
        append_devices(api, platform, CL_DEVICE_TYPE_GPU, found);
    for (cl_platform_id platform : platforms)
        append_devices(api, platform, CL_DEVICE_TYPE_CPU, found);
    return found;
}

cl_mem copying_gl_sharing::create_image(cl_context context, cl_mem_flags flags, GLenum target,
                                        GLint level, GLuint texture, cl_int* error)
{
    if (target != GL_TEXTURE_2D) {
        if (error)
            *error = CL_INVALID_GL_OBJECT;
        return nullptr;
    }
    texture_link link{target, level, texture, flags, 0, 0};
    {
        transfer_bindings bound(target, texture);
        glGetTexLevelParameteriv(target, level, GL_TEXTURE_WIDTH, &link.width);
        glGetTexLevelParameteriv(target, level, GL_TEXTURE_HEIGHT, &link.height);
    }
    if (link.width <= 0 || link.height <= 0) {
        if (error)
            *error = CL_INVALID_GL_OBJECT;
        return nullptr;
    }
    const cl_image_format format{CL_RGBA, CL_FLOAT};
    cl_image_desc description{};
    description.image_type = CL_MEM_OBJECT_IMAGE2D;
    description.image_width = static_cast<size_t>(link.width);
    description.image_height = static_cast<size_t>(link.height);
    cl_mem image = clCreateImage(context, flags, &format, &description, nullptr, error);
    if (image)
        links[image] = link;
    return image;
}

cl_int copying_gl_sharing::acquire(cl_command_queue queue, cl_mem image)
{
    auto found = links.find(image);
    if (found == links.end())
        return CL_INVALID_MEM_OBJECT;
    const texture_link& link = found->second;
    if (link.flags & CL_MEM_WRITE_ONLY)
        return CL_SUCCESS;  // the kernel overwrites it; nothing to carry over
    std::vector<float> pixels(static_cast<size_t>(link.width) * link.height * 4);
    {
        transfer_bindings bound(link.target, link.texture);
        glGetTexImage(link.target, link.level, GL_RGBA, GL_FLOAT, pixels.data());
    }
    const size_t origin[3] = {0, 0, 0};
    const size_t region[3] = {static_cast<size_t>(link.width), static_cast<size_t>(link.height), 1};
    return clEnqueueWriteImage(queue, image, CL_TRUE, origin, region, 0, 0, pixels.data(), 0,
                               nullptr, nullptr);
}

cl_int copying_gl_sharing::release(cl_command_queue queue, cl_mem image)
{
    auto found = links.find(image);
    if (found == links.end())
        return CL_INVALID_MEM_OBJECT;
    const texture_link& link = found->second;
    if (link.flags & CL_MEM_READ_ONLY)
        return CL_SUCCESS;
    std::vector<float> pixels(static_cast<size_t>(link.width) * link.height * 4);
    const size_t origin[3] = {0, 0, 0};
    const size_t region[3] = {static_cast<size_t>(link.width), static_cast<size_t>(link.height), 1};
    const cl_int result = clEnqueueReadImage(queue, image, CL_TRUE, origin, region, 0, 0,
                                             pixels.data(), 0, nullptr, nullptr);
    if (result != CL_SUCCESS)
        return result;
    transfer_bindings bound(link.target, link.texture);
    glTexSubImage2D(link.target, link.level, 0, 0, link.width, link.height, GL_RGBA, GL_FLOAT,
                    pixels.data());
    return CL_SUCCESS;
}

void copying_gl_sharing::release_image(cl_mem image)
{
    if (!image)
        return;
    links.erase(image);
    clReleaseMemObject(image);
}

} // namespace qvsdk
