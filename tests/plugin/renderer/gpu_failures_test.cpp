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
    const struct {
        const char* call;
        cl_int code;
    } cases[] = {{"glTexImage2D", 0},
                 {"glRenderbufferStorage", 0},
                 {"glCheckFramebufferStatus", 0},
                 {"create_buffer", CL_MEM_OBJECT_ALLOCATION_FAILURE},
                 {"read_buffer", CL_MEM_OBJECT_ALLOCATION_FAILURE}};
    for (const auto& c : cases) {
        api.failing = c.call;
        api.code = c.code;
        host_image too_large(32, 32, 1);
        EXPECT_EQ(error_of([&] { render_frame(proxy, too_large, 0, {plain_scene(32, 32, 8.0f)}); }),
                  out_of_memory)
            << c.call;
        api.failing.clear();
        std::size_t targets_left = 1;
        thread().submit([&] {
            const qvsdk::render_target_pool& pool = thread().renderer()->targets();
            targets_left = pool.framebuffers.size() + pool.renderbuffers.size() + pool.textures.size();
        });
        EXPECT_EQ(targets_left, 0u) << c.call << ": the failed frame's targets live on";
        host_image image(48, 48, 1);
        render_frame(proxy, image, 0, {plain_scene(48, 48, 10.0f)});
        EXPECT_EQ(image.channel(24, 24, 0), 1.0f) << c.call << ": the next frame draws nothing";
        EXPECT_EQ(image.channel(1, 1, 0), 0.0f) << c.call;
    }
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
                 {"finish", "clFinish" + out_of_resources}};
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
