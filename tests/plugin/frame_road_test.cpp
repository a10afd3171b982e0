// The frame road with the effect object in this process, so the texture cache and
// the render mutex can be looked at directly.

#include "plugin/ae_plugin_connection.h"
#include "in_process_effect.h"
#include "plugin/parameter_ids.h"
#include "plugin/renderer/render_thread.h"
#include "plugin/renderer/renderer.h"
#include "renderer/failing_cl_api.h"
#include "tools/qvhost/debug_output.h"
#include "tools/qvhost/generated_images.h"
#include "tools/qvhost/test_host.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <chrono>
#include <functional>
#include <future>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>

namespace {

int uploads(const qvhost::debug_output& output)
{
    int count = 0;
    for (const std::string& line : output.lines())
        count += line.rfind("Load Layer", 0) == 0 ? 1 : 0;
    return count;
}

class FrameRoad : public ::testing::Test {
protected:
    void SetUp() override
    {
        connection = std::make_unique<AePluginConnection>();
        in_process_plugin = connection.get();
        host = std::make_unique<qvhost::test_host>(in_process_entry);
        host->comp.width = 64;
        host->comp.height = 36;
        ASSERT_EQ(host->global_setup(), PF_Err_NONE);
        ASSERT_EQ(host->params_setup(), PF_Err_NONE);
        host->value_by_id(param_id::radius).u.fs_d.value = 12;
        host->comp.layers.push_back(qvhost::footage_layer(
            "map", qvhost::checker_image(32, 16, 4, PF_Pixel8{255, 255, 0, 0},
                                         PF_Pixel8{255, 0, 0, 255})));
        map_layer = static_cast<long>(host->comp.layers.size() - 1);
        host->use_layer(param_id::diffuse_layer, map_layer);
        host->sequence_setup(first);
    }

    void TearDown() override
    {
        for (auto* on : {&first, &second})
            if (on->sequence_data)
                host->sequence_setdown(*on);
        host->global_setdown();
        host.reset();
        connection.reset();
        in_process_plugin = nullptr;
    }

    std::unique_ptr<AePluginConnection> connection;
    std::unique_ptr<qvhost::test_host> host;
    qvhost::test_host::instance first, second;
    long map_layer = 0;
    // Outlives the renderer that a test builds on it: set-down ends that renderer.
    qvtest::failing_cl_api failing_calls;
};

TEST_F(FrameRoad, TwoInstancesShareOneTextureUntilBothLetGo)
{
    host->sequence_setup(second);
    ASSERT_EQ(host->render(first).err, PF_Err_NONE);
    ASSERT_EQ(host->render(second).err, PF_Err_NONE);
    ASSERT_EQ(connection->texture_cache.size(), 1u);
    EXPECT_EQ(connection->texture_cache[0].refcount, 2u);
    const std::uint32_t texture = connection->texture_cache[0].texture_id;

    host->sequence_setdown(first);
    ASSERT_EQ(connection->texture_cache.size(), 1u);
    EXPECT_EQ(connection->texture_cache[0].refcount, 1u);
    EXPECT_EQ(connection->texture_cache[0].texture_id, texture);
    qvhost::debug_output output;
    ASSERT_EQ(host->render(second).err, PF_Err_NONE);
    EXPECT_EQ(uploads(output), 0);

    host->sequence_flatten(second);
    EXPECT_TRUE(connection->texture_cache.empty());
}

TEST_F(FrameRoad, UnchangedLayerIsUploadedOnceForAllSamplesAndFrames)
{
    host->value_by_id(param_id::motion_blur).u.pd.value = 2; // On
    host->value_by_id(param_id::motion_blur_samples).u.fs_d.value = 4;
    {
        qvhost::debug_output output;
        ASSERT_EQ(host->render(first).err, PF_Err_NONE);
        EXPECT_EQ(uploads(output), 1);
    }
    EXPECT_EQ(host->layer_checkouts(param_id::diffuse_layer), 4);
    EXPECT_EQ(host->layer_checkins(param_id::diffuse_layer), 4);
    host->set_frame(1);
    qvhost::debug_output output;
    ASSERT_EQ(host->render(first).err, PF_Err_NONE);
    EXPECT_EQ(uploads(output), 0);
    ASSERT_EQ(connection->texture_cache.size(), 1u);
    EXPECT_EQ(connection->texture_cache[0].refcount, 1u);
}

TEST_F(FrameRoad, ChangedLayerIsUploadedAgainAndTheOldTextureLeaves)
{
    ASSERT_EQ(host->render(first).err, PF_Err_NONE);
    const std::uint32_t before = connection->texture_cache.at(0).texture_id;
    qvhost::host_layer& layer = host->comp.layers[static_cast<std::size_t>(map_layer)];
    layer.image.at(0, 0) = PF_Pixel8{255, 0, 255, 0};
    layer.content_version += 1;
    qvhost::debug_output output;
    ASSERT_EQ(host->render(first).err, PF_Err_NONE);
    EXPECT_EQ(uploads(output), 1);
    ASSERT_EQ(connection->texture_cache.size(), 1u);
    EXPECT_NE(connection->texture_cache[0].texture_id, before);

    // The same state checked out at half its size is not the cached texture.
    const std::uint32_t full_size = connection->texture_cache[0].texture_id;
    host->set_downsample(1, 2);
    ASSERT_EQ(host->render(first).err, PF_Err_NONE);
    EXPECT_EQ(uploads(output), 2);
    ASSERT_EQ(connection->texture_cache.size(), 1u);
    EXPECT_NE(connection->texture_cache[0].texture_id, full_size);
    EXPECT_EQ(connection->texture_cache[0].width, 16); // the 32x16 map at half size
    EXPECT_EQ(connection->texture_cache[0].height, 8);
}

TEST_F(FrameRoad, RemovedMapLayerReleasesItsTexture)
{
    ASSERT_EQ(host->render(first).err, PF_Err_NONE);
    host->use_layer(param_id::diffuse_layer, -1);
    ASSERT_EQ(host->render(first).err, PF_Err_NONE);
    EXPECT_TRUE(connection->texture_cache.empty());
}

TEST_F(FrameRoad, BumpLayerAsNormalMapAndAsHeightMapAreTwoEntries)
{
    host->use_layer(param_id::bump_layer, map_layer);
    host->use_layer(param_id::diffuse_layer, -1);
    ASSERT_EQ(host->render(first).err, PF_Err_NONE);
    host->sequence_setup(second);
    host->value_by_id(param_id::use_normal_map).u.bd.value = 1;
    ASSERT_EQ(host->render(second).err, PF_Err_NONE);
    ASSERT_EQ(connection->texture_cache.size(), 2u);
    EXPECT_EQ(connection->texture_cache[0].upload_mode, 1u);
    EXPECT_EQ(connection->texture_cache[1].upload_mode, 0u);
}

TEST_F(FrameRoad, FlattenedInstanceRendersWithFreshDataAndKeepsNoReferences)
{
    // After a flatten the instance's handle holds 0 bytes until it is set up again.
    host->sequence_flatten(first);
    ASSERT_NE(first.sequence_data, nullptr);
    ASSERT_EQ(host->handle_size(first.sequence_data), 0);
    const qvhost::rendered_frame frame = host->render(first);
    ASSERT_EQ(frame.err, PF_Err_NONE);
    EXPECT_GT(frame.rgba(32, 18)[3], 0.9f);
    EXPECT_TRUE(connection->texture_cache.empty());
    EXPECT_EQ(host->locked_handles(), 0);
    EXPECT_EQ(host->bad_handle_calls(), 0);
    host->sequence_resetup(first);
}

// A map layer that holds a second instance of the effect: the host renders that
// instance's frame when the first one checks out the layer's pixels.
TEST_F(FrameRoad, InstanceRenderedInsideAMapCheckoutBecomesThatMap)
{
    host->sequence_setup(second);
    host->comp.layers.push_back(qvhost::footage_layer("precomp", qvhost::solid_image(64, 36, {})));
    const long precomp = static_cast<long>(host->comp.layers.size() - 1);
    host->use_layer(param_id::diffuse_layer, precomp);
    for (bool other_thread : {false, true}) {
        SCOPED_TRACE(other_thread ? "on another thread" : "on the same thread");
        qvhost::host_layer& layer = host->comp.layers[static_cast<std::size_t>(precomp)];
        layer.content_version += 1;
        qvhost::rendered_frame inner;
        const auto render_inner = [&] {
            host->use_layer(param_id::diffuse_layer, map_layer); // the inner sphere's own map
            inner = host->render_nested(second);
            host->use_layer(param_id::diffuse_layer, precomp);
        };
        std::future<void> waited_for;
        host->rendered_layers[param_id::diffuse_layer] = [&] {
            if (!other_thread) {
                render_inner();
            } else {
                waited_for = std::async(std::launch::async, render_inner);
                if (waited_for.wait_for(std::chrono::seconds(30)) != std::future_status::ready)
                    return qvhost::host_image{};
            }
            return inner.picture();
        };
        const qvhost::rendered_frame outer = host->render(first);
        if (waited_for.valid())
            waited_for.wait_for(std::chrono::seconds(30));
        ASSERT_EQ(inner.err, PF_Err_NONE);
        ASSERT_EQ(outer.err, PF_Err_NONE);
        EXPECT_GT(inner.rgba(32, 18)[3], 0.9f) << "the inner sphere is drawn";
        // One texture for each instance's diffuse slot, held once.
        ASSERT_EQ(connection->texture_cache.size(), 2u);
        for (const texture_cache_entry& entry : connection->texture_cache)
            EXPECT_EQ(entry.refcount, 1u);

        // The same picture as a plain layer gives the same frame.
        layer.image = inner.picture();
        layer.content_version += 1;
        const qvhost::rendered_frame reference = host->render(first);
        ASSERT_EQ(reference.err, PF_Err_NONE);
        EXPECT_TRUE(outer.bytes == reference.bytes);
    }
    host->sequence_setdown(first);
    host->sequence_setdown(second);
    EXPECT_TRUE(connection->texture_cache.empty());
}

TEST_F(FrameRoad, CommandAskedForOnAThreadThatHoldsTheRenderMutexFailsInsteadOfWaiting)
{
    host->sequence_setup(second);
    ASSERT_EQ(host->render(second).err, PF_Err_NONE);
    const struct {
        const char* command;
        std::function<PF_Err()> send;
    } rows[] = {{"frame", [&] { return host->render_nested(second).err; }},
                {"set-down", [&] { return host->send_nested(PF_Cmd_SEQUENCE_SETDOWN, second); }},
                {"flatten", [&] { return host->send_nested(PF_Cmd_SEQUENCE_FLATTEN, second); }}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.command);
        PF_Err inner = PF_Err_NONE;
        bool nested = false;
        host->fault = [&](const std::string& call) {
            // The sequence data is locked under the render mutex.
            if (call == "host_lock_handle" && !nested) {
                nested = true;
                inner = row.send();
            }
        };
        // A command that waits for its own thread never returns: end the program then
        // rather than wait for the test runner's timeout.
        std::future<qvhost::rendered_frame> rendering =
            std::async(std::launch::async, [&] { return host->render(first); });
        if (rendering.wait_for(std::chrono::seconds(60)) != std::future_status::ready) {
            std::fprintf(stderr, "the nested %s waits for its own thread\n", row.command);
            std::_Exit(1);
        }
        const qvhost::rendered_frame outer = rendering.get();
        host->fault = nullptr;
        ASSERT_TRUE(nested);
        EXPECT_EQ(inner, PF_Err_INTERNAL_STRUCT_DAMAGED);
        ASSERT_EQ(outer.err, PF_Err_NONE);
        EXPECT_GT(outer.rgba(32, 18)[3], 0.9f) << "the outer sphere is drawn";
        // The refused command let go of nothing: both instances still hold the map.
        ASSERT_EQ(connection->texture_cache.size(), 1u);
        EXPECT_EQ(connection->texture_cache[0].refcount, 2u);
    }
}

TEST_F(FrameRoad, SampleThatThrowsRestoresTheTimeAndUnlocksEverything)
{
    host->value_by_id(param_id::motion_blur).u.pd.value = 2;
    host->value_by_id(param_id::motion_blur_samples).u.fs_d.value = 3;
    host->set_frame(5);
    int camera_calls = 0;
    host->fault = [&camera_calls](const std::string& call) {
        if (call == "AEGP_GetEffectCameraMatrix" && ++camera_calls == 2)
            throw std::runtime_error("the host failed in the second sample");
    };
    EXPECT_EQ(host->render(first).err, PF_Err_INTERNAL_STRUCT_DAMAGED);
    host->fault = nullptr;
    EXPECT_EQ(host->time(), 5 * qvhost::test_host::frame_duration);
    EXPECT_EQ(host->locked_handles(), 0);
    EXPECT_EQ(host->outstanding_suites(), 0);
    EXPECT_EQ(host->outstanding_checkouts(), 0);
    // The render mutex was let go: the next frame renders.
    EXPECT_EQ(host->render(first).err, PF_Err_NONE);
}

TEST_F(FrameRoad, FramesAfterARenderThreadFailureAreReportedNotDrawn)
{
    EXPECT_THROW(connection->renderer_proxy->render_thread().submit(
                     [] { throw std::runtime_error("lost the device"); }),
                 std::runtime_error);
    const qvhost::rendered_frame frame = host->render(first);
    EXPECT_EQ(frame.err, PF_Interrupt_CANCEL);
}

TEST_F(FrameRoad, EmptyOutputIsDoneWithoutDrawingAndTheNextFrameRenders)
{
    host->comp.width = 0;
    EXPECT_EQ(host->render(first).err, PF_Err_NONE);
    host->comp.width = 64;
    const qvhost::rendered_frame frame = host->render(first);
    ASSERT_EQ(frame.err, PF_Err_NONE);
    EXPECT_GT(frame.rgba(32, 18)[3], 0.9f) << "the sphere is drawn";
    EXPECT_EQ(frame.rgba(1, 1)[3], 0.0f);
}

TEST_F(FrameRoad, FrameTooLargeForTheDeviceFailsAloneAndTheNextFrameRenders)
{
    const qvsdk::Renderer& renderer = *connection->renderer_proxy->render_thread().renderer();
    host->comp.width = renderer.limits().max_texture_size + 1;
    EXPECT_EQ(host->render(first).err, PF_Err_INTERNAL_STRUCT_DAMAGED);
    EXPECT_EQ(host->locked_handles(), 0);
    host->comp.width = 64;
    const qvhost::rendered_frame frame = host->render(first);
    ASSERT_EQ(frame.err, PF_Err_NONE);
    EXPECT_GT(frame.rgba(32, 18)[3], 0.9f) << "the sphere is drawn";
}

TEST_F(FrameRoad, GpuFailureIsAnErrorToTheHostNotAnUntouchedFrame)
{
    const struct {
        const char* call;
        PF_Err next_frame;
    } cases[] = {// Memory the card cannot give fails that frame only.
                 {"glTexImage2D", PF_Err_NONE},
                 {"create_buffer", PF_Err_NONE},
                 // Any other failure ends the render thread: later frames are
                 // reported, not drawn.
                 {"read_buffer", PF_Interrupt_CANCEL}};
    host->use_layer(param_id::diffuse_layer, -1);  // no texture outlives its renderer
    for (const auto& c : cases) {
        connection->renderer_proxy = std::make_unique<qvsdk::RendererProxy>(
            std::make_unique<qvsdk::RenderThread>(
                [this] { return std::make_unique<qvsdk::Renderer>(failing_calls, failing_calls); }));
        connection->renderer_proxy->load_sphere_model();
        failing_calls.failing = c.call;
        EXPECT_EQ(host->render(first).err, PF_Err_INTERNAL_STRUCT_DAMAGED) << c.call;
        failing_calls.failing.clear();
        const qvhost::rendered_frame frame = host->render(first);
        EXPECT_EQ(frame.err, c.next_frame) << c.call;
        if (c.next_frame == PF_Err_NONE) {
            EXPECT_GT(frame.rgba(32, 18)[3], 0.9f) << c.call << ": the sphere is drawn";
        }
    }
}

TEST_F(FrameRoad, SetDownAndFlattenWaitForTheFrameInProgress)
{
    for (const bool flatten : {false, true}) {
        SCOPED_TRACE(flatten ? "flatten" : "set-down");
        if (!first.sequence_data)
            host->sequence_setup(first);
        ASSERT_EQ(host->render(first).err, PF_Err_NONE);
        std::atomic<bool> done{false};
        std::unique_lock<std::mutex> frame(connection->render_mutex);
        std::thread ending([&] {
            flatten ? host->sequence_flatten(first) : host->sequence_setdown(first);
            done = true;
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        EXPECT_FALSE(done);
        EXPECT_EQ(connection->texture_cache.size(), 1u);
        frame.unlock();
        ending.join();
        EXPECT_TRUE(done);
        EXPECT_TRUE(connection->texture_cache.empty());
    }
}

} // namespace
