#pragma once

#include "toolkit/qv_exception.h"

#include <string>

// Thrown by every failed GLSL or OpenCL build.
class shader_compile_exception : public qv_exception {
public:
    explicit shader_compile_exception(const std::string& message)
        : qv_exception(message.data(), message.size())
    {
    }
};
