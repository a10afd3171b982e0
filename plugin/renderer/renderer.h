#pragma once

#include "plugin/light_properties.h"
#include "plugin/material_properties.h"
#include "plugin/pixel_buffer.h"
#include "plugin/render_data.h"
#include "plugin/render_properties.h"
#include "plugin/renderer/device_limits.h"
#include "plugin/renderer/mat4.h"
#include "plugin/renderer/model_ref.h"
#include "plugin/renderer/render_target.h"

#include <GL/glew.h>

#include <CL/cl.h>

#include <cstdint>
#include <memory>
#include <vector>

namespace qvsdk {

class cl_api;
class gl_allocation_api;
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
    // Every OpenCL call of the frame and layer jobs goes through `api`; the OpenGL
    // limits and allocation checks through `gl`.
    explicit Renderer(cl_api& api);
    Renderer(cl_api& api, gl_allocation_api& gl);
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
    // Fixed once built: readable from any thread.
    const device_limits& limits() const { return device_limit; }

    // Conversion kernels of the 32, 16 and 8 bits-per-channel builds, in that order.
    cl_kernel input_kernel(int build) const { return input_kernels[build]; }
    cl_kernel output_kernel(int build) const { return output_kernels[build]; }

    // Frame jobs, in the order a frame calls them (renderer_frame.cpp).
    // samples: 0 for no multisampling; clamped to the device's limits.
    void set_render_size(unsigned samples, const render_data& frame);
    void set_render_properties(const render_properties& camera);
    void set_lights(const std::vector<light_properties>& lights);
    void begin_frame();
    // Weight 1 starts the accumulation; 1/k blends the k-th sample into the mean.
    void accumulate(float weight);
    // Converts the accumulation into the frame's output pixels.
    void output(float gamma);

    // Sphere pass (renderer_draw.cpp).
    void draw_model(const model_ref& model, const mat4& model_matrix,
                    const material_properties& material);

    // Layer textures (renderer_layer_upload.cpp); the caller owns what they return.
    GLuint load_layer_texture(const pixel_buffer& layer);
    void delete_texture(GLuint texture);
    // Cube map from an uploaded latitude-longitude layer (renderer_environment.cpp).
    GLuint build_environment(GLuint source);
    void prefilter_environment(GLuint cube, std::int32_t width, std::int32_t height);
    // Normal map from an uploaded height layer (renderer_bump.cpp).
    GLuint bump_to_normal(GLuint source, std::int32_t width, std::int32_t height);

private:
    void create_sample_table();
    void create_render_buffers();
    void release_image(cl_mem& image);
    void release_frame_objects();
    void forget_render_size();
    void draw_quad();

    cl_api& cl_calls;
    gl_allocation_api& gl_calls;
    std::unique_ptr<gl_context> context_owner;
    std::unique_ptr<cl_device_list> devices_owner;
    std::unique_ptr<render_target_pool> targets_owner;
    std::unique_ptr<program_manager> programs_owner;
    std::unique_ptr<texture_manager> textures_owner;
    device_limits device_limit;

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
