#pragma once

#include <CL/cl.h>

#include <stdexcept>
#include <string>

namespace qvsdk {

// A failed OpenCL call as an error that names it: "<call> failed (<code>)".
inline void check_cl(cl_int result, const char* call)
{
    if (result != CL_SUCCESS)
        throw std::runtime_error(std::string(call) + " failed (" + std::to_string(result) + ")");
}

// A creation fails on an error code and on a null object alike.
inline void check_created(const void* object, cl_int error, const char* call)
{
    check_cl(error != CL_SUCCESS ? error : object ? CL_SUCCESS : CL_INVALID_VALUE, call);
}

} // namespace qvsdk
