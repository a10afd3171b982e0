#pragma once

#include "plugin/renderer/out_of_gpu_memory.h"

#include <CL/cl.h>

#include <stdexcept>
#include <string>

namespace qvsdk {

// A failed OpenCL call as an error that names it: "<call> failed (<code>)". A memory
// object whose storage could not be allocated (also when the driver allocates it
// late, on first use) is out_of_gpu_memory.
inline void check_cl(cl_int result, const char* call)
{
    if (result == CL_MEM_OBJECT_ALLOCATION_FAILURE)
        throw out_of_gpu_memory();
    if (result != CL_SUCCESS)
        throw std::runtime_error(std::string(call) + " failed (" + std::to_string(result) + ")");
}

// A creation fails on an error code and on a null object alike; one that ran out of
// the device's resources is out_of_gpu_memory.
inline void check_created(const void* object, cl_int error, const char* call)
{
    if (error == CL_OUT_OF_RESOURCES)
        throw out_of_gpu_memory();
    check_cl(error != CL_SUCCESS ? error : object ? CL_SUCCESS : CL_INVALID_VALUE, call);
}

} // namespace qvsdk
