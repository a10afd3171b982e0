#pragma once

#include <GL/glew.h>

#include <CL/cl.h>

#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace qvsdk {

struct cl_device;

// The OpenCL source with one "#define" line for each define, in list order.
std::string cl_source_with_defines(const std::vector<std::string>& defines,
                                   std::string_view source);

// Builds the GLSL programs and OpenCL programs and kernels, owns them all and
// releases them together (GL programs, then kernels, then CL programs).
class program_manager {
public:
    program_manager() = default;
    program_manager(const program_manager&) = delete;
    program_manager& operator=(const program_manager&) = delete;
    ~program_manager();

    GLuint build_program(std::string_view vertex_source, std::string_view fragment_source);
    cl_program build_cl_program(const cl_device& device, const char* source,
                                const std::vector<std::string>& defines);
    cl_kernel create_kernel(cl_program program, const char* name);

    const std::vector<GLuint>& gl_programs() const { return programs; }

private:
    std::mutex mutex;
    std::vector<GLuint> programs;
    std::vector<cl_program> cl_programs;
    std::vector<cl_kernel> kernels;
};

} // namespace qvsdk
