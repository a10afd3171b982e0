#include "plugin/renderer/renderer.h"

#include "plugin/renderer/cl_api.h"
#include "plugin/renderer/cl_device_list.h"
#include "plugin/renderer/cleanup_guard.h"
#include "plugin/renderer/gl_allocation.h"
#include "plugin/renderer/gl_context.h"
#include "plugin/renderer/program_manager.h"
#include "plugin/renderer/render_target_pool.h"
#include "plugin/renderer/sample_table.h"
#include "plugin/renderer/texture_manager.h"

#include "embedded/renderer_sources.h"

#include <string>

namespace qvsdk {
namespace {

constexpr GLsizeiptr transform_block_size = 144;
constexpr GLsizeiptr lights_block_size = 672;

void set_sampler(GLuint program, const char* name, GLint unit)
{
    glUniform1i(glGetUniformLocation(program, name), unit);
}

GLuint make_uniform_buffer(GLsizeiptr size)
{
    GLuint buffer = 0;
    glGenBuffers(1, &buffer);
    glBindBuffer(GL_UNIFORM_BUFFER, buffer);
    glBufferData(GL_UNIFORM_BUFFER, size, nullptr, GL_DYNAMIC_DRAW);
    return buffer;
}

} // namespace

Renderer::Renderer() : Renderer(system_cl_api()) {}

Renderer::Renderer(cl_api& api) : Renderer(api, system_gl_allocation_api()) {}

Renderer::Renderer(cl_api& api, gl_allocation_api& gl)
    : cl_calls(api),
      gl_calls(gl),
      context_owner(std::make_unique<gl_context>()),
      devices_owner(std::make_unique<cl_device_list>(api)),
      targets_owner(std::make_unique<render_target_pool>(gl)),
      programs_owner(std::make_unique<program_manager>()),
      textures_owner(std::make_unique<texture_manager>())
{
    cleanup_guard release_on_failure([this] { release_resources(); });

    transform_buffer = make_uniform_buffer(transform_block_size);
    lights_buffer = make_uniform_buffer(lights_block_size);
    glBindBuffer(GL_UNIFORM_BUFFER, 0);

    const float quad[] = {0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 1.0f, 1.0f, 1.0f};
    glGenVertexArrays(1, &quad_vertex_array);
    glBindVertexArray(quad_vertex_array);
    glGenBuffers(1, &quad_vertex_buffer);
    glBindBuffer(GL_ARRAY_BUFFER, quad_vertex_buffer);
    glBufferData(GL_ARRAY_BUFFER, sizeof(quad), quad, GL_STATIC_DRAW);
    glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, 8, nullptr);
    glEnableVertexAttribArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindVertexArray(0);

    namespace src = renderer_sources;
    program_manager& build = *programs_owner;
    blit_program = build.build_program(src::quad_vert().text(), src::copy_frag().text());
    glUseProgram(blit_program);
    set_sampler(blit_program, "textureSampler", 0);

    bump_program = build.build_program(src::quad_vert().text(), src::bump_frag().text());
    glUseProgram(bump_program);
    set_sampler(bump_program, "textureSampler", 0);

    equirect_program = build.build_program(src::quad_vert().text(), src::equirect_frag().text());
    glUseProgram(equirect_program);
    set_sampler(equirect_program, "textureSampler", 0);

    prefilter_program = build.build_program(src::quad_vert().text(), src::prefilter_frag().text());
    glUseProgram(prefilter_program);
    set_sampler(prefilter_program, "textureSampler", 0);
    set_sampler(prefilter_program, "samplesSampler", 1);

    model_program = build.build_program(src::model_vert().text(), src::model_frag().text());
    glUseProgram(model_program);
    glUniformBlockBinding(model_program, glGetUniformBlockIndex(model_program, "TransformMatrices"), 0);
    glUniformBlockBinding(model_program, glGetUniformBlockIndex(model_program, "Lights"), 1);
    set_sampler(model_program, "diffuseSampler", 0);
    set_sampler(model_program, "glossinessSampler", 1);
    set_sampler(model_program, "illuminationSampler", 2);
    set_sampler(model_program, "normalSampler", 3);
    set_sampler(model_program, "environmentSampler", 4);
    glUseProgram(0);

    create_sample_table();

    glDepthMask(GL_FALSE);
    glEnable(GL_TEXTURE_CUBE_MAP_SEAMLESS);
    if (GLEW_ARB_sample_shading) {
        glEnable(GL_SAMPLE_SHADING);
        glMinSampleShading(1.0f);
    }

    const cl_device& device = *devices_owner->selected;
    device_limit.max_texture_size = targets_owner->max_texture_size;
    device_limit.max_renderbuffer_size = targets_owner->max_renderbuffer_size;
    cl_ulong max_alloc = 0;
    if (cl_calls.device_info(device.device, CL_DEVICE_MAX_MEM_ALLOC_SIZE, sizeof(max_alloc),
                             &max_alloc, nullptr) == CL_SUCCESS)
        device_limit.max_buffer_bytes = max_alloc;
    const char* bits[] = {"OUTPUT_BPC 32", "OUTPUT_BPC 16", "OUTPUT_BPC 8"};
    cl_program conversions[3] = {};
    for (int build_index = 0; build_index < 3; ++build_index) {
        conversions[build_index] =
            build.build_cl_program(device, src::convert_cl().c_str(), {bits[build_index]});
    }
    for (int build_index = 0; build_index < 3; ++build_index)
        input_kernels[build_index] = build.create_kernel(conversions[build_index], "input");
    for (int build_index = 0; build_index < 3; ++build_index)
        output_kernels[build_index] = build.create_kernel(conversions[build_index], "output");

    release_on_failure.release();
}

Renderer::~Renderer()
{
    release_resources();
    textures_owner.reset();
    programs_owner.reset();
    targets_owner.reset();
    devices_owner.reset();
    context_owner.reset();
}

void Renderer::release_resources()
{
    glDeleteTextures(1, &sample_table);
    sample_table = 0;
    release_frame_objects();
    glDeleteBuffers(1, &transform_buffer);
    transform_buffer = 0;
    glDeleteBuffers(1, &lights_buffer);
    lights_buffer = 0;
    glDeleteBuffers(1, &quad_vertex_buffer);
    quad_vertex_buffer = 0;
    glDeleteVertexArrays(1, &quad_vertex_array);
    quad_vertex_array = 0;
}

void Renderer::release_image(cl_mem& image)
{
    devices_owner->sharing().release_image(image);
    image = nullptr;
}

void Renderer::release_frame_objects()
{
    release_image(accumulation_image);
    if (output_buffer)
        clReleaseMemObject(output_buffer);
    output_buffer = nullptr;
}

void Renderer::draw_quad()
{
    glBindVertexArray(quad_vertex_array);
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
}

void Renderer::create_sample_table()
{
    const std::vector<float> table = prefilter_sample_table();
    glGenTextures(1, &sample_table);
    glBindTexture(GL_TEXTURE_2D, sample_table);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA16F, sample_table_width, sample_table_height, 0, GL_RGBA,
                 GL_FLOAT, table.data());
    glBindTexture(GL_TEXTURE_2D, 0);
}

} // namespace qvsdk
