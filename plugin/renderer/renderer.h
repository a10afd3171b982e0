#pragma once

#include "plugin/render_data.h"
#include "plugin/render_properties.h"
#include "plugin/renderer/render_target.h"

#include <GL/glew.h>

#include <CL/cl.h>

#include <cstdint>
#include <memory>

namespace qvsdk {

class gl_context;
class cl_device_list;
class render_target_pool;
class program_manager;
class texture_manager;

// Every GPU resource of the effect; made, used and destroyed on the render thread.
// The managers are built in field order and released in reverse.
class Renderer {
public:
    Renderer();
    Renderer(const Renderer&) = delete;
    Renderer& operator=(const Renderer&) = delete;
    ~Renderer();

    // Frees what the Renderer made itself (not the managers); zeroes each name.
    void release_resources();

    gl_context& context() const { return *context_owner; }
    cl_device_list& devices() const { return *devices_owner; }
    render_target_pool& targets() const { return *targets_owner; }
    program_manager& programs() const { return *programs_owner; }
    texture_manager& textures() const { return *textures_owner; }

    // Conversion kernels of the 32, 16 and 8 bits-per-channel builds, in that order.
    cl_kernel input_kernel(int build) const { return input_kernels[build]; }
    cl_kernel output_kernel(int build) const { return output_kernels[build]; }

private:
    void create_sample_table();

    std::unique_ptr<gl_context> context_owner;
    std::unique_ptr<cl_device_list> devices_owner;
    std::unique_ptr<render_target_pool> targets_owner;
    std::unique_ptr<program_manager> programs_owner;
    std::unique_ptr<texture_manager> textures_owner;

    render_data current_frame{};
    std::uint32_t requested_samples = 0;
    render_properties current_camera{};
    std::int32_t buffer_width = 0;
    std::int32_t buffer_height = 0;
    std::uint32_t buffer_samples = 0;
    GLuint accumulation_framebuffer = 0;
    GLuint multisample_framebuffer = 0;
    GLuint resolve_framebuffer = 0;
    render_target multisample_target;
    render_target depth_target;
    render_target accumulation_target;
    render_target resolve_target;
    GLuint quad_vertex_array = 0;
    GLuint quad_vertex_buffer = 0;
    GLuint blit_program = 0;
    GLuint transform_buffer = 0;
    GLuint lights_buffer = 0;
    GLuint model_program = 0;
    GLuint bump_program = 0;
    GLuint equirect_program = 0;
    GLuint prefilter_program = 0;
    GLuint sample_table = 0;
    std::uint64_t output_buffer_size = 0;
    cl_mem output_buffer = nullptr;
    cl_mem accumulation_image = nullptr;
    cl_kernel input_kernels[3] = {};
    cl_kernel output_kernels[3] = {};
};

} // namespace qvsdk
