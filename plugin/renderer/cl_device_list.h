#pragma once

#include "plugin/renderer/cl_device.h"
#include "plugin/renderer/gl_sharing.h"

#include <memory>
#include <vector>

namespace qvsdk {

class cl_api;

// The OpenCL device that shares the current OpenGL context, with its context and
// queue. Built on the render thread with the OpenGL context current.
class cl_device_list {
public:
    explicit cl_device_list(cl_api& api);
    cl_device_list();
    cl_device_list(const cl_device_list&) = delete;
    cl_device_list& operator=(const cl_device_list&) = delete;
    ~cl_device_list();

    std::vector<cl_device> devices;
    cl_device* selected = nullptr;

    gl_sharing& sharing() const { return *sharing_path; }

private:
    std::unique_ptr<gl_sharing> sharing_path;
};

// The copying stand-in runs only when no platform offers OpenGL sharing at all;
// tests switch it off to see the driver path's own failure.
void set_copying_gl_sharing_enabled(bool enabled);

} // namespace qvsdk
