// OpenCL calls and OpenGL allocations that fail on the frame and layer paths: each
// failure is an error, never an untouched buffer passed off as a frame; memory the
// card cannot give fails that frame only.
#include "frame_fixture.h"

#include "failing_cl_api.h"
#include "plugin/renderer/render_jobs.h"
#include "plugin/renderer/render_target_pool.h"
#include "plugin/renderer/render_thread.h"
#include "plugin/renderer/renderer.h"

#include <gtest/gtest.h>

#include <GL/glew.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

using namespace qvtest;

namespace {

class GpuFailures : public ::testing::Test {
protected:
    GpuFailures()
        : proxy(std::make_unique<qvsdk::RenderThread>(
              [this] { return std::make_unique<qvsdk::Renderer>(api, api); }))
    {
        proxy.load_sphere_model();
    }

    qvsdk::RenderThread& thread() { return proxy.render_thread(); }

    // The job's error text, or "" when it succeeded.
    template <typename Job>
    static std::string error_of(Job job)
    {
        try {
            job();
        } catch (const std::runtime_error& e) {
            return e.what();
        }
        return "";
    }

    failing_cl_api api;
    qvsdk::RendererProxy proxy;
};

const std::string out_of_resources = " failed (" + std::to_string(CL_OUT_OF_RESOURCES) + ")";
const std::string out_of_memory = "the frame did not fit in the graphics card's memory";

} // namespace

TEST_F(GpuFailures, UnmadeOutputBufferIsAnErrorAndTheSameSizeIsTriedAgain)
{
    host_image image(24, 24, 1);
    const qvsdk::render_data frame = frame_for(image);
    std::string first, second;
    // Both calls in one job: the failure must not end the thread before the retry.
    thread().submit([&] {
        qvsdk::Renderer& renderer = *thread().renderer();
        api.failing = "create_buffer";
        first = error_of([&] { renderer.set_render_size(0, frame); });
        api.failing.clear();
        second = error_of([&] { renderer.set_render_size(0, frame); });
    });
    EXPECT_EQ(first, out_of_memory);
    EXPECT_EQ(second, "");
    EXPECT_EQ(api.calls["create_buffer"], 2) << "the failed size was kept as made";
}

TEST_F(GpuFailures, KernelArgumentThatCannotBeSetIsAnError)
{
    host_image image(24, 24, 1);
    api.failing = "set_kernel_arg";
    EXPECT_EQ(error_of([&] { qvsdk::set_render_size(thread(), 0, frame_for(image)); }),
              "clSetKernelArg" + out_of_resources);
}

TEST_F(GpuFailures, OutputThatCannotBeConvertedOrReadIsAnError)
{
    const struct {
        const char* call;
        const char* named;
    } cases[] = {{"set_kernel_arg", "clSetKernelArg"},
                 {"run_kernel", "clEnqueueNDRangeKernel"},
                 {"read_buffer", "clEnqueueReadBuffer"},
                 {"finish", "clFinish"}};
    host_image image(24, 24, 1);
    const qvsdk::render_data frame = frame_for(image);
    for (const auto& c : cases) {
        std::string error;
        int buffers_before = 0;
        thread().submit([&] {
            qvsdk::Renderer& renderer = *thread().renderer();
            renderer.set_render_size(0, frame);
            buffers_before = api.calls["create_buffer"];
            api.failing = c.call;
            error = error_of([&] { renderer.output(1.0f); });
            api.failing.clear();
            // The same size again makes the frame's objects again.
            renderer.set_render_size(0, frame);
        });
        EXPECT_EQ(error, c.named + out_of_resources) << c.call;
        EXPECT_EQ(api.calls["create_buffer"], buffers_before + 1) << c.call;
    }
}

TEST_F(GpuFailures, FrameThatDoesNotFitInMemoryFailsAloneAndTheNextFrameDraws)
{
    enum map_kind { no_map, normal_map, cube_map };
    const struct {
        const char* call;
        cl_int code;
        map_kind map;  // converted from the layer below as the frame's first step
        int passes;    // checks of the call that take first: 1 reaches the prefiltered levels
    } cases[] = {{"glTexImage2D", 0, no_map, 0},
                 {"glRenderbufferStorage", 0, no_map, 0},
                 {"glCheckFramebufferStatus", 0, no_map, 0},
                 {"create_buffer", CL_MEM_OBJECT_ALLOCATION_FAILURE, no_map, 0},
                 {"read_buffer", CL_MEM_OBJECT_ALLOCATION_FAILURE, no_map, 0},
                 {"glTexImage2D", 0, normal_map, 0},
                 {"glGenerateMipmap", 0, normal_map, 0},
                 {"glTexImage2D", 0, cube_map, 0},
                 {"glTexImage2D", 0, cube_map, 1}};
    // Rising to the right and downward: tilted normals, or a dim sky that changes hue.
    host_image layer(16, 16, 1);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const float argb[4] = {1, x / 30.0f, 0.25f, y / 30.0f};
            layer.set(x, y, argb);
        }
    const unsigned source = qvsdk::load_layer_texture(thread(), layer.buffer());
    const auto draw = [&](host_image& image, float radius, map_kind map) {
        qvsdk::scene_properties scene = plain_scene(image.width, image.height, radius);
        scene.material.unlitMode = 0;
        scene.lights = {make_light(0, {1, 1, 1, 1}, {}, {1, 0, 1})};
        qvsdk::material_properties& m = scene.material;
        if (map == normal_map)
            m.normal_texture = qvsdk::bump_to_normal(thread(), source, 16, 16);
        if (map == cube_map)
            m.environment_texture = qvsdk::build_environment(thread(), source);
        render_frame(proxy, image, 0, {scene});
        for (unsigned map_texture : {m.normal_texture, m.environment_texture})
            qvsdk::release_texture(thread(), map_texture);
    };
    std::vector<host_image> expected; // each map's frame before anything failed
    for (map_kind map : {no_map, normal_map, cube_map}) {
        expected.emplace_back(48, 48, 1);
        draw(expected.back(), 10.0f, map);
    }
    EXPECT_EQ(expected[no_map].channel(24, 24, 0), 1.0f);
    EXPECT_EQ(expected[no_map].channel(1, 1, 0), 0.0f);
    EXPECT_NE(expected[normal_map].bytes, expected[no_map].bytes) << "the normal map shows";
    EXPECT_NE(expected[cube_map].bytes, expected[no_map].bytes) << "the cube map shows";
    for (const auto& c : cases) {
        api.failing = c.call;
        api.code = c.code;
        api.passes = c.passes;
        // A new size makes new targets; with a map, only the map is new.
        const int size = c.map == no_map ? 32 : 48;
        host_image failing(size, size, 1);
        EXPECT_EQ(error_of([&] { draw(failing, size / 4.0f, c.map); }), out_of_memory)
            << c.call << " after " << c.passes;
        EXPECT_EQ(api.passes, 0) << c.call << ": fewer checks than the row expects";
        api.failing.clear();
        if (c.map == no_map) {
            std::size_t targets_left = 1;
            thread().submit([&] {
                const qvsdk::render_target_pool& pool = thread().renderer()->targets();
                targets_left =
                    pool.framebuffers.size() + pool.renderbuffers.size() + pool.textures.size();
            });
            EXPECT_EQ(targets_left, 0u) << c.call << ": the failed frame's targets live on";
        }
        host_image image(48, 48, 1);
        draw(image, 10.0f, c.map);
        EXPECT_EQ(image.bytes, expected[c.map].bytes) << c.call << " " << c.map << " " << c.passes;
    }
    qvsdk::release_texture(thread(), source);
    // An error flag a job leaves set is not read by the next one's allocation checks.
    GLenum pending = GL_OUT_OF_MEMORY;
    thread().submit([] { glDrawArrays(GL_TRIANGLES, 0, -1); });
    thread().submit([&] { pending = glGetError(); });
    EXPECT_EQ(pending, static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(GpuFailures, LayerThatCannotBeUploadedIsAnErrorNotAMap)
{
    const struct {
        const char* call;
        std::string error;
    } cases[] = {{"glTexImage2D", out_of_memory},
                 {"create_buffer", out_of_memory},
                 {"write_buffer", "clEnqueueWriteBuffer" + out_of_resources},
                 {"set_kernel_arg", "clSetKernelArg" + out_of_resources},
                 {"run_kernel", "clEnqueueNDRangeKernel" + out_of_resources},
                 {"finish", "clFinish" + out_of_resources},
                 {"glGenerateMipmap", out_of_memory}};
    host_image layer(8, 8, 1);
    const qvsdk::pixel_buffer pixels = layer.buffer();
    for (const auto& c : cases) {
        std::string error;
        GLuint texture = 0;
        GLuint half_made = 0;
        GLboolean half_made_kept = GL_TRUE;
        thread().submit([&] {
            qvsdk::Renderer& renderer = *thread().renderer();
            api.failing = c.call;
            api.bound_at_failure = 0;
            error = error_of([&] { texture = renderer.load_layer_texture(pixels); });
            api.failing.clear();
            half_made = api.bound_at_failure;
            half_made_kept = glIsTexture(half_made);
        });
        EXPECT_EQ(error, c.error) << c.call;
        EXPECT_EQ(texture, 0u) << c.call;
        ASSERT_NE(half_made, 0u) << c.call << ": the upload's texture was not bound";
        EXPECT_FALSE(half_made_kept) << c.call << ": the failed upload's texture lives on";
    }
    EXPECT_NE(qvsdk::load_layer_texture(thread(), pixels), 0u) << "the thread still uploads";
}
