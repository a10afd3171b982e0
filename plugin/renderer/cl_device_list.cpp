#include "plugin/renderer/cl_device_list.h"

#include "plugin/renderer/cl_api.h"
#include "plugin/renderer/copying_gl_sharing.h"
#include "plugin/renderer/driver_gl_sharing.h"

#include <atomic>
#include <mutex>
#include <stdexcept>

namespace qvsdk {
namespace {

std::atomic<bool> copying_enabled{true};

std::string device_text(cl_api& api, cl_device_id device, cl_device_info what)
{
    size_t size = 0;
    if (api.device_info(device, what, 0, nullptr, &size) != CL_SUCCESS || size == 0)
        return "Unknown";
    std::string text(size, '\0');
    if (api.device_info(device, what, size, text.data(), nullptr) != CL_SUCCESS)
        return "Unknown";
    text.resize(text.find('\0') == std::string::npos ? size : text.find('\0'));
    return text;
}

// Nothing is thrown: a device whose context or queue cannot be made is not added.
bool add_device(cl_api& api, const sharing_candidate& candidate, std::vector<cl_device>& devices)
{
    cl_device made;
    cl_int error = CL_SUCCESS;
    made.context.reset(api.create_context(candidate.properties.data(), candidate.device, &error));
    if (error != CL_SUCCESS || !made.context)
        return false;
    made.queue.reset(api.create_queue(made.context.get(), candidate.device, &error));
    if (error != CL_SUCCESS || !made.queue)
        return false;
    made.device = candidate.device;
    made.platform = candidate.platform;
    made.name = device_text(api, candidate.device, CL_DEVICE_NAME);
    made.vendor = device_text(api, candidate.device, CL_DEVICE_VENDOR);
    if (api.device_info(candidate.device, CL_DEVICE_TYPE, sizeof(made.type), &made.type,
                        nullptr) != CL_SUCCESS)
        made.type = CL_DEVICE_TYPE_DEFAULT;
    devices.push_back(std::move(made));
    return true;
}

void announce_path(cl_api& api, bool copying)
{
    static std::once_flag said;
    std::call_once(said, [&api, copying] {
        api.debug_output(copying ? "OpenCL: no OpenGL sharing offered, copying textures\n"
                                   : "OpenCL: driver OpenGL sharing\n");
    });
}

} // namespace

void set_copying_gl_sharing_enabled(bool enabled)
{
    copying_enabled.store(enabled);
}

cl_device_list::cl_device_list() : cl_device_list(system_cl_api()) {}

cl_device_list::cl_device_list(cl_api& api)
{
    cl_uint count = 0;
    if (api.platform_ids(0, nullptr, &count) != CL_SUCCESS || count == 0)
        throw std::runtime_error("no OpenCL platforms available");
    std::vector<cl_platform_id> platforms(count);
    if (api.platform_ids(count, platforms.data(), nullptr) != CL_SUCCESS)
        throw std::runtime_error("error getting OpenCL platform ids");

    bool driver_sharing = false;
    for (cl_platform_id platform : platforms)
        driver_sharing = driver_sharing || api.offers_gl_sharing(platform);
    const bool copying = !driver_sharing && copying_enabled.load();
    if (copying)
        sharing_path = std::make_unique<copying_gl_sharing>();
    else
        sharing_path = std::make_unique<driver_gl_sharing>(api);

    devices.reserve(1);
    for (const sharing_candidate& candidate : sharing_path->find_devices(api, platforms)) {
        if (add_device(api, candidate, devices))
            break;
    }
    if (devices.empty())
        throw std::runtime_error("no valid OpenCL/OpenGL interop device\n");
    selected = &devices.front();
    announce_path(api, copying);
}

cl_device_list::~cl_device_list() = default;

} // namespace qvsdk
