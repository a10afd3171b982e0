#pragma once

#include "plugin/renderer/owned_handle.h"

#include <CL/cl.h>

#include <string>

namespace qvsdk {

// One OpenCL device with its context and in-order queue (queue released first).
struct cl_device {
    static void release_context(cl_context context) { clReleaseContext(context); }
    static void release_queue(cl_command_queue queue) { clReleaseCommandQueue(queue); }

    std::string name;
    std::string vendor;
    cl_device_id device = nullptr;
    cl_platform_id platform = nullptr;
    owned_handle<cl_context, release_context> context;
    owned_handle<cl_command_queue, release_queue> queue;
    cl_device_type type = CL_DEVICE_TYPE_DEFAULT;
};

} // namespace qvsdk
