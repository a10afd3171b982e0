// The renderer's managers on llvmpipe and PoCL, with the copying stand-in in place
// of OpenGL sharing.
#include "plugin/renderer/cl_device_list.h"
#include "plugin/renderer/gl_context.h"
#include "plugin/renderer/program_manager.h"
#include "plugin/renderer/render_target_pool.h"
#include "plugin/renderer/render_thread.h"
#include "plugin/renderer/renderer.h"
#include "plugin/renderer/shader_compile_exception.h"
#include "plugin/renderer/shader_log.h"
#include "plugin/renderer/texture_manager.h"

#include "embedded/renderer_sources.h"

#include <gtest/gtest.h>

#include <GL/glew.h>

#include <windows.h>

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

using namespace qvsdk;

namespace {

std::vector<std::string> shader_logs;
void record_shader_log(const std::string& log)
{
    shader_logs.push_back(log);
}

// No test of this executable may stop at a modal "Shader Log" box.
struct quiet_shader_log : ::testing::Environment {
    void SetUp() override { set_shader_log_handler(record_shader_log); }
};
const auto* const quiet = ::testing::AddGlobalTestEnvironment(new quiet_shader_log);

const char quad_vertex[] = R"(#version 330
layout(location = 0) in vec4 inPosition;
out vec2 textureCoords;
void main() { gl_Position = vec4(inPosition.xy, 0.0, 1.0); textureCoords = inPosition.xy; }
)";

class Gpu : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        context = new gl_context;
        devices = new cl_device_list;
    }
    static void TearDownTestSuite()
    {
        delete devices;
        delete context;
    }
    void SetUp() override { shader_logs.clear(); }
    void TearDown() override { EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)); }

    static gl_context* context;
    static cl_device_list* devices;
};

gl_context* Gpu::context = nullptr;
cl_device_list* Gpu::devices = nullptr;

} // namespace

TEST_F(Gpu, ContextIsTheCurrentCoreContext)
{
    EXPECT_EQ(wglGetCurrentContext(), context->context());
    GLint mask = 0;
    glGetIntegerv(GL_CONTEXT_PROFILE_MASK, &mask);
    EXPECT_TRUE(mask & GL_CONTEXT_CORE_PROFILE_BIT);
    GLint major = 0, minor = 0;
    glGetIntegerv(GL_MAJOR_VERSION, &major);
    glGetIntegerv(GL_MINOR_VERSION, &minor);
    EXPECT_TRUE(meets_required_gl_version(major, minor));
    EXPECT_FALSE(meets_required_gl_version(4, 0));
    EXPECT_TRUE(meets_required_gl_version(5, 0));
}

TEST_F(Gpu, RenderTexturesOfTheLimitSizesAndClampedSamples)
{
    render_target_pool pool;
    GLuint framebuffer = 0;
    glGenFramebuffers(1, &framebuffer);
    pool.framebuffers.push_back(framebuffer);

    const render_target widest = pool.create_texture(pool.max_texture_size, 1, 0);
    EXPECT_FALSE(widest.multisampled);
    EXPECT_NO_THROW(pool.attach(framebuffer, GL_COLOR_ATTACHMENT0, widest));
    const render_target tiny = pool.create_texture(1, 1, 0);
    EXPECT_NO_THROW(pool.attach(framebuffer, GL_COLOR_ATTACHMENT0, tiny));
    glBindTexture(GL_TEXTURE_2D, tiny.name);
    GLint filter = 0, wrap = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &filter);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrap);
    glBindTexture(GL_TEXTURE_2D, 0);
    EXPECT_EQ(filter, GL_LINEAR);
    EXPECT_EQ(wrap, GL_CLAMP_TO_EDGE);

    try {
        pool.create_texture(1, pool.max_texture_size + 1, 0);
        FAIL() << "an oversized texture was made";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "render texture size is over maximum supported size");
    }

    // More samples than the device has: the texture gets the device's maximum.
    const render_target multisampled = pool.create_texture(8, 8, pool.max_color_texture_samples * 2);
    EXPECT_TRUE(multisampled.multisampled);
    glBindTexture(GL_TEXTURE_2D_MULTISAMPLE, multisampled.name);
    GLint samples = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D_MULTISAMPLE, 0, GL_TEXTURE_SAMPLES, &samples);
    glBindTexture(GL_TEXTURE_2D_MULTISAMPLE, 0);
    EXPECT_EQ(samples, pool.max_color_texture_samples);
    EXPECT_NO_THROW(pool.attach(framebuffer, GL_COLOR_ATTACHMENT0, multisampled));

    const std::vector<GLuint> made = pool.textures;
    ASSERT_EQ(made.size(), 3u);
    pool.clear();
    EXPECT_TRUE(pool.textures.empty());
    EXPECT_TRUE(pool.framebuffers.empty());
    for (GLuint name : made)
        EXPECT_FALSE(glIsTexture(name));
    EXPECT_FALSE(glIsFramebuffer(framebuffer));
}

TEST_F(Gpu, UploadedTextureKeepsItsPixelsAndGetsMipmaps)
{
    texture_manager textures;
    EXPECT_GT(textures.max_anisotropy, 0.0f);
    // 4 x 2 pixels, blue-green-red-alpha, values a half float holds exactly.
    std::vector<float> pixels(4 * 2 * 4);
    for (size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = static_cast<float>(i) * 0.25f;
    const GLuint texture = textures.upload(pixels.data(), 4, 2);
    ASSERT_NE(texture, 0u);

    GLint unpack = -1;
    glGetIntegerv(GL_PIXEL_UNPACK_BUFFER_BINDING, &unpack);
    EXPECT_EQ(unpack, 0);

    glBindTexture(GL_TEXTURE_2D, texture);
    std::vector<float> back(pixels.size(), -1.0f);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_BGRA, GL_FLOAT, back.data());
    EXPECT_EQ(back, pixels);
    GLint smallest = 0, wrap = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 2, GL_TEXTURE_WIDTH, &smallest);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &wrap);
    EXPECT_EQ(smallest, 1);
    EXPECT_EQ(wrap, GL_REPEAT);
    glBindTexture(GL_TEXTURE_2D, 0);
    glDeleteTextures(1, &texture);

    const float one[4] = {0.25f, 0.5f, 0.75f, 1.0f};
    const GLuint single = textures.upload(one, 1, 1);
    glBindTexture(GL_TEXTURE_2D, single);
    float read[4] = {};
    glGetTexImage(GL_TEXTURE_2D, 0, GL_BGRA, GL_FLOAT, read);
    GLint level1 = -1;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 1, GL_TEXTURE_WIDTH, &level1);
    glBindTexture(GL_TEXTURE_2D, 0);
    glDeleteTextures(1, &single);
    EXPECT_EQ(std::vector<float>(read, read + 4), std::vector<float>(one, one + 4));
    EXPECT_EQ(level1, 0);  // one level only
}

TEST_F(Gpu, BrokenShaderShowsItsLogAndThrows)
{
    std::vector<GLuint> made;
    {
        program_manager programs;
        try {
            programs.build_program(quad_vertex, "#version 330\nout vec4 outColor;\nvoid main() { outColor = nonsense; }\n");
            FAIL() << "a broken shader compiled";
        } catch (const shader_compile_exception& e) {
            EXPECT_STREQ(e.what(), "failed to compile shader source");
        }
        ASSERT_EQ(shader_logs.size(), 1u);
        EXPECT_NE(shader_logs[0].find("nonsense"), std::string::npos) << shader_logs[0];

        try {
            // Compiles, but a program needs a main in every stage.
            programs.build_program(quad_vertex, "#version 330\nout vec4 outColor;\n"
                                                "void paint() { outColor = vec4(1.0); }\n");
            FAIL() << "a fragment stage without main linked";
        } catch (const shader_compile_exception& e) {
            EXPECT_STREQ(e.what(), "failed to link shader program");
        }
        EXPECT_EQ(shader_logs.size(), 1u);  // a link log goes to the debugger only

        EXPECT_THROW(programs.build_program("", "x"), shader_compile_exception);
        made = programs.gl_programs();
        ASSERT_EQ(made.size(), 2u);
        for (GLuint program : made)
            EXPECT_TRUE(glIsProgram(program));
    }
    for (GLuint program : made)
        EXPECT_FALSE(glIsProgram(program));
}

TEST_F(Gpu, OpenClBuildFailuresThrow)
{
    program_manager programs;
    try {
        programs.build_cl_program(*devices->selected, "kernel void k(global int* o) { *o = MISSING; }", {});
        FAIL() << "a broken kernel built";
    } catch (const shader_compile_exception& e) {
        EXPECT_STREQ(e.what(), "could not build program");
    }
    cl_program program = programs.build_cl_program(
        *devices->selected, "kernel void k(global int* o) { *o = A * 10 + B; }", {"A 1", "B 2"});
    EXPECT_NE(programs.create_kernel(program, "k"), nullptr);
    try {
        programs.create_kernel(program, "absent");
        FAIL() << "a missing kernel was made";
    } catch (const shader_compile_exception& e) {
        EXPECT_STREQ(e.what(), "could not create kernel");
    }
    EXPECT_EQ(cl_source_with_defines({"A 1", "B 2"}, "body"), "#define A 1\n#define B 2\nbody");
}

// The conversion kernels through the stand-in: "input" writes a CL image that
// release puts into the GL texture; "output" reads what acquire copied from it.
TEST_F(Gpu, ConversionKernelsReachTheTexturesThroughTheSharingLayer)
{
    program_manager programs;
    const cl_device& device = *devices->selected;
    cl_program bits8 = programs.build_cl_program(device, renderer_sources::convert_cl().c_str(),
                                                 {"OUTPUT_BPC 8"});
    cl_kernel input = programs.create_kernel(bits8, "input");
    cl_kernel output = programs.create_kernel(bits8, "output");

    render_target_pool pool;
    const render_target target = pool.create_texture(2, 2, 0);
    gl_sharing& sharing = devices->sharing();
    cl_int error = CL_SUCCESS;

    // Host pixels: alpha, red, green, blue; rows padded to 12 bytes.
    const std::uint8_t host[] = {255, 128, 0, 255, 255, 255, 255, 255, 0, 0, 0, 0,
                                 0, 51, 102, 153, 255, 0, 255, 0, 9, 9, 9, 9};
    const cl_uint row_bytes = 12;
    cl_mem written = sharing.create_image(device.context.get(), CL_MEM_WRITE_ONLY, GL_TEXTURE_2D, 0,
                                          target.name, &error);
    ASSERT_EQ(error, CL_SUCCESS);
    cl_mem source = clCreateBuffer(device.context.get(), CL_MEM_READ_ONLY | CL_MEM_COPY_HOST_PTR,
                                   sizeof(host), const_cast<std::uint8_t*>(host), &error);
    clSetKernelArg(input, 0, sizeof(cl_mem), &written);
    clSetKernelArg(input, 1, sizeof(cl_mem), &source);
    clSetKernelArg(input, 2, sizeof(cl_uint), &row_bytes);
    const size_t range[2] = {2, 2};
    ASSERT_EQ(sharing.acquire(device.queue.get(), written), CL_SUCCESS);
    ASSERT_EQ(clEnqueueNDRangeKernel(device.queue.get(), input, 2, nullptr, range, nullptr, 0,
                                     nullptr, nullptr),
              CL_SUCCESS);
    ASSERT_EQ(sharing.release(device.queue.get(), written), CL_SUCCESS);
    clFinish(device.queue.get());
    clReleaseMemObject(source);
    clReleaseMemObject(written);

    float texels[16] = {};
    glBindTexture(GL_TEXTURE_2D, target.name);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_FLOAT, texels);
    glBindTexture(GL_TEXTURE_2D, 0);
    // (255, 128, 0, 255) becomes red 128/255, green 0, blue 1, alpha 1.
    EXPECT_NEAR(texels[0], 128.0f / 255.0f, 1e-3f);
    EXPECT_EQ(texels[1], 0.0f);
    EXPECT_EQ(texels[2], 1.0f);
    EXPECT_EQ(texels[3], 1.0f);
    EXPECT_EQ(texels[4], 1.0f);  // opaque white
    EXPECT_NEAR(texels[8], 0.2f, 1e-3f);  // second row starts at its own offset
    EXPECT_NEAR(texels[11], 0.0f, 1e-6f);

    // Back the other way: premultiplied texels to host bytes, exponent 1.
    const float upload[16] = {1, 1, 1, 1, 0.25f, 0.25f, 0.25f, 0.5f,
                              0.5f, 0.25f, 0.75f, 0, 0, 0, 0, 1};
    glBindTexture(GL_TEXTURE_2D, target.name);
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 2, 2, GL_RGBA, GL_FLOAT, upload);
    glBindTexture(GL_TEXTURE_2D, 0);
    glFinish();
    cl_mem read = sharing.create_image(device.context.get(), CL_MEM_READ_WRITE, GL_TEXTURE_2D, 0,
                                       target.name, &error);
    cl_mem destination = clCreateBuffer(device.context.get(), CL_MEM_READ_WRITE, 16, nullptr, &error);
    const cl_uint out_row_bytes = 8;
    const float gamma = 1.0f;
    clSetKernelArg(output, 0, sizeof(cl_mem), &read);
    clSetKernelArg(output, 1, sizeof(cl_mem), &destination);
    clSetKernelArg(output, 2, sizeof(cl_uint), &out_row_bytes);
    clSetKernelArg(output, 3, sizeof(float), &gamma);
    ASSERT_EQ(sharing.acquire(device.queue.get(), read), CL_SUCCESS);
    clEnqueueNDRangeKernel(device.queue.get(), output, 2, nullptr, range, nullptr, 0, nullptr, nullptr);
    ASSERT_EQ(sharing.release(device.queue.get(), read), CL_SUCCESS);
    std::uint8_t bytes[16] = {};
    clEnqueueReadBuffer(device.queue.get(), destination, CL_TRUE, 0, 16, bytes, 0, nullptr, nullptr);
    clFinish(device.queue.get());
    clReleaseMemObject(destination);
    clReleaseMemObject(read);

    const std::vector<int> expected = {255, 255, 255, 255,  // white
                                       127, 127, 127, 127,  // un-premultiplied grey at half alpha
                                       0, 127, 63, 191,     // alpha 0: colour left undivided
                                       255, 0, 0, 0};
    EXPECT_EQ(std::vector<int>(bytes, bytes + 16), expected);
}

TEST(Renderer, BuildsTearsDownAndBuildsAgain)
{
    for (int round = 0; round < 2; ++round) {
        RenderThread render;
        Renderer* renderer = render.renderer();
        ASSERT_NE(renderer, nullptr);
        bool current = false;
        size_t programs = 0;
        bool kernels = true;
        GLenum error = GL_NO_ERROR;
        render.submit([&] {
            current = wglGetCurrentContext() == renderer->context().context();
            programs = renderer->programs().gl_programs().size();
            for (int build = 0; build < 3; ++build)
                kernels = kernels && renderer->input_kernel(build) && renderer->output_kernel(build);
            error = glGetError();
        });
        EXPECT_TRUE(current);
        EXPECT_EQ(programs, 5u);
        EXPECT_TRUE(kernels);
        EXPECT_EQ(error, static_cast<GLenum>(GL_NO_ERROR));
    }
}

TEST(Renderer, MissingInteropDeviceFailsTheRenderThread)
{
    set_copying_gl_sharing_enabled(false);
    HANDLE thread = nullptr;
    try {
        RenderThread render([&thread] {
            thread = OpenThread(SYNCHRONIZE, FALSE, GetCurrentThreadId());
            return std::make_unique<Renderer>();
        });
        FAIL() << "the renderer was built without an interop device";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "no valid OpenCL/OpenGL interop device\n");
    }
    set_copying_gl_sharing_enabled(true);
    ASSERT_NE(thread, nullptr);
    EXPECT_EQ(WaitForSingleObject(thread, 5000), WAIT_OBJECT_0) << "the render thread lives on";
    CloseHandle(thread);
}
