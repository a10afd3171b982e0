#include "plugin/renderer/driver_gl_sharing.h"

#include "plugin/renderer/cl_api.h"

#include <CL/cl_gl.h>

#include <algorithm>
#include <cctype>

namespace qvsdk {
namespace {

std::string lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool contains(const std::string& lowered, const char* word)
{
    return lowered.find(word) != std::string::npos;
}

// A platform text of at most 512 bytes; false when the query fails.
bool read_platform_text(cl_api& api, cl_platform_id platform, cl_platform_info what,
                        std::string& text)
{
    char buffer[513] = {};
    if (api.platform_info(platform, what, 512, buffer, nullptr) != CL_SUCCESS)
        return false;
    text = buffer;
    return true;
}

} // namespace

gl_vendor_class_id gl_vendor_class(const std::string& gl_vendor)
{
    const std::string v = lower(gl_vendor);
    if (contains(v, "nvidia"))
        return vendor_nvidia;
    if (contains(v, "intel"))
        return vendor_intel;
    if (contains(v, "ati") || contains(v, "amd") || contains(v, "advanced micro devices"))
        return vendor_amd;
    return vendor_other;
}

bool platform_in_vendor_class(const std::string& platform_text, gl_vendor_class_id vendor_class)
{
    const std::string t = lower(platform_text);
    switch (vendor_class) {
    case vendor_nvidia:
        return contains(t, "nvidia");
    case vendor_amd:
        return contains(t, "amd") || contains(t, "ati") || contains(t, "advanced micro devices");
    case vendor_intel:
        return contains(t, "intel");
    default:
        return true;
    }
}

std::vector<sharing_candidate> driver_gl_sharing::find_devices(
    cl_api& api, const std::vector<cl_platform_id>& platforms)
{
    const gl_vendor_class_id vendor_class = gl_vendor_class(api.gl_vendor());
    std::vector<sharing_candidate> found;
    for (cl_platform_id platform : platforms) {
        if (!api.offers_gl_sharing(platform))
            continue;
        sharing_candidate candidate;
        candidate.platform = platform;
        candidate.properties = {CL_GL_CONTEXT_KHR, api.current_gl_context(),
                                CL_WGL_HDC_KHR, api.current_gl_dc(),
                                CL_CONTEXT_PLATFORM, reinterpret_cast<cl_context_properties>(platform),
                                0};
        if (api.current_gl_device(platform, candidate.properties.data(), &candidate.device) !=
                CL_SUCCESS ||
            !candidate.device)
            continue;
        cl_device_type type = 0;
        if (api.device_info(candidate.device, CL_DEVICE_TYPE, sizeof(type), &type, nullptr) !=
                CL_SUCCESS ||
            type != CL_DEVICE_TYPE_GPU)
            continue;
        std::string vendor;
        if (!read_platform_text(api, platform, CL_PLATFORM_VENDOR, vendor))
            continue;
        if (platforms.size() >= 2 && !platform_in_vendor_class(vendor, vendor_class)) {
            std::string name;
            if (!read_platform_text(api, platform, CL_PLATFORM_NAME, name) ||
                !platform_in_vendor_class(name, vendor_class))
                continue;
        }
        found.push_back(std::move(candidate));
    }
    return found;
}

cl_mem driver_gl_sharing::create_image(cl_context context, cl_mem_flags flags, GLenum target,
                                       GLint level, GLuint texture, cl_int* error)
{
    return api.create_from_gl_texture(context, flags, target, level, texture, error);
}

cl_int driver_gl_sharing::acquire(cl_command_queue queue, cl_mem image)
{
    return api.acquire_gl_object(queue, image);
}

cl_int driver_gl_sharing::release(cl_command_queue queue, cl_mem image)
{
    return api.release_gl_object(queue, image);
}

void driver_gl_sharing::release_image(cl_mem image)
{
    if (image)
        api.release_mem_object(image);
}

} // namespace qvsdk
