#include "plugin/renderer/program_manager.h"

#include "plugin/renderer/cl_device.h"
#include "plugin/renderer/cleanup_guard.h"
#include "plugin/renderer/shader_compile_exception.h"
#include "plugin/renderer/shader_log.h"

#include <windows.h>

namespace qvsdk {
namespace {

template <typename Query, typename Fetch>
std::string read_log(GLuint object, Query query, Fetch fetch)
{
    GLint length = 0;
    query(object, GL_INFO_LOG_LENGTH, &length);
    std::string log(static_cast<size_t>(length > 0 ? length : 0), '\0');
    if (length > 0)
        fetch(object, length, nullptr, log.data());
    return log;
}

} // namespace

std::string cl_source_with_defines(const std::vector<std::string>& defines,
                                   std::string_view source)
{
    std::string full;
    for (const std::string& define : defines)
        full += "#define " + define + "\n";
    full += source;
    return full;
}

program_manager::~program_manager()
{
    for (GLuint program : programs)
        glDeleteProgram(program);
    programs.clear();
    for (cl_kernel kernel : kernels)
        clReleaseKernel(kernel);
    kernels.clear();
    for (cl_program program : cl_programs)
        clReleaseProgram(program);
    cl_programs.clear();
}

GLuint program_manager::build_program(std::string_view vertex_source,
                                      std::string_view fragment_source)
{
    if (vertex_source.empty() || fragment_source.empty())
        throw shader_compile_exception("invalid shader code");

    const GLuint program = glCreateProgram();
    programs.push_back(program);

    const std::pair<GLenum, std::string_view> stages[] = {{GL_VERTEX_SHADER, vertex_source},
                                                         {GL_FRAGMENT_SHADER, fragment_source}};
    for (const auto& [kind, source] : stages) {
        const GLuint shader = glCreateShader(kind);
        cleanup_guard delete_shader([shader] { glDeleteShader(shader); });
        // With its length: a view need not end in a zero.
        const GLchar* text = source.data();
        const GLint length = static_cast<GLint>(source.size());
        glShaderSource(shader, 1, &text, &length);
        glCompileShader(shader);
        GLint compiled = GL_FALSE;
        glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
        if (compiled != GL_TRUE) {
            const std::string log = read_log(shader, glGetShaderiv, glGetShaderInfoLog);
            OutputDebugStringA(log.c_str());
            show_shader_log(log);
            throw shader_compile_exception("failed to compile shader source");
        }
        glAttachShader(program, shader);
        delete_shader();  // lives on, attached to the program
    }

    glBindFragDataLocation(program, 0, "outColor");
    glLinkProgram(program);
    GLint linked = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &linked);
    if (linked == GL_TRUE)
        return program;
    OutputDebugStringA(read_log(program, glGetProgramiv, glGetProgramInfoLog).c_str());
    throw shader_compile_exception("failed to link shader program");
}

cl_program program_manager::build_cl_program(const cl_device& device, const char* source,
                                              const std::vector<std::string>& defines)
{
    const std::string full = cl_source_with_defines(defines, source);
    const char* text = full.c_str();
    cl_int error = CL_SUCCESS;
    cl_program program = clCreateProgramWithSource(device.context.get(), 1, &text, nullptr, &error);
    if (error != CL_SUCCESS || !program)
        throw shader_compile_exception("could not create program");
    {
        std::lock_guard<std::mutex> lock(mutex);
        cl_programs.push_back(program);
    }
    if (clBuildProgram(program, 0, nullptr, "-cl-fast-relaxed-math", nullptr, nullptr) !=
        CL_SUCCESS) {
        size_t size = 0;
        clGetProgramBuildInfo(program, device.device, CL_PROGRAM_BUILD_LOG, 0, nullptr, &size);
        std::string log(size, '\0');
        clGetProgramBuildInfo(program, device.device, CL_PROGRAM_BUILD_LOG, size, log.data(),
                              nullptr);
        OutputDebugStringA(log.c_str());
        throw shader_compile_exception("could not build program");
    }
    return program;
}

cl_kernel program_manager::create_kernel(cl_program program, const char* name)
{
    cl_int error = CL_SUCCESS;
    cl_kernel kernel = clCreateKernel(program, name, &error);
    if (kernel) {
        std::lock_guard<std::mutex> lock(mutex);
        kernels.push_back(kernel);
    }
    if (error != CL_SUCCESS || !kernel)
        throw shader_compile_exception("could not create kernel");
    return kernel;
}

} // namespace qvsdk
