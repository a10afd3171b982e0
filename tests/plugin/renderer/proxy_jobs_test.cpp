// What the proxy sends to the render thread, seen in the renderer's uniform blocks.
#include "frame_fixture.h"

#include "plugin/renderer/render_thread.h"
#include "plugin/renderer/renderer.h"
#include "plugin/renderer/renderer_proxy.h"
#include "plugin/renderer/uniform_blocks.h"

#include <gtest/gtest.h>

#include <GL/glew.h>

#include <memory>
#include <stdexcept>

using namespace qvsdk;

namespace {

class ProxyJobs : public ::testing::Test {
protected:
    ProxyJobs() : proxy(std::make_unique<RenderThread>()) {}

    lights_block lights_sent()
    {
        lights_block block{};
        proxy.render_thread().submit([&] {
            GLint buffer = 0;
            glGetIntegeri_v(GL_UNIFORM_BUFFER_BINDING, 1, &buffer);
            glBindBuffer(GL_UNIFORM_BUFFER, static_cast<GLuint>(buffer));
            glGetBufferSubData(GL_UNIFORM_BUFFER, 0, sizeof(block), &block);
            glBindBuffer(GL_UNIFORM_BUFFER, 0);
        });
        return block;
    }

    void bind_blocks()
    {
        // The blocks' buffers are bound to their points by the frame's begin.
        host_pixels.resize(16);
        render_data frame{};
        frame.output = {16, 1, 4, 1, host_pixels.data()};
        frame.inverse_downsample_x = frame.inverse_downsample_y = 1.0f;
        proxy.render_thread().submit([&] {
            Renderer* renderer = proxy.render_thread().renderer();
            renderer->set_render_size(0, frame);
            renderer->begin_frame();
        });
    }

    static light_properties point_light(float x) { return qvtest::make_light(2, {1, 0, 0, 1}, {x, 0, 0}); }

    RendererProxy proxy;
    std::vector<unsigned char> host_pixels;
};

} // namespace

TEST_F(ProxyJobs, EmptyLightListStillReplacesTheLights)
{
    bind_blocks();
    scene_properties scene;
    scene.lights = {point_light(1.0f), point_light(2.0f)};
    proxy.set_scene(scene);
    EXPECT_EQ(lights_sent().numLights, 2);

    scene.lights.clear();
    proxy.set_scene(scene);
    EXPECT_EQ(lights_sent().numLights, 0);
}

TEST_F(ProxyJobs, ShrinkingLightListKeepsItsStorageAndSendsOnlyTheNewLights)
{
    bind_blocks();
    scene_properties scene;
    scene.lights = {point_light(1.0f), point_light(2.0f), point_light(3.0f)};
    proxy.set_scene(scene);
    const light_properties* storage = proxy.last_scene().lights.data();

    scene.lights = {point_light(9.0f)};
    scene.scale = 42.0f;
    scene.material.surface = 3;
    proxy.set_scene(scene);
    EXPECT_EQ(proxy.last_scene().lights.data(), storage);
    EXPECT_EQ(proxy.last_scene().lights.size(), 1u);
    EXPECT_EQ(proxy.last_scene().scale, 42.0f);
    EXPECT_EQ(proxy.last_scene().material.surface, 3u);
    const lights_block block = lights_sent();
    EXPECT_EQ(block.numLights, 1);
    EXPECT_EQ(block.lights[0].position[0], 9.0f);
}

TEST_F(ProxyJobs, AfterAFailedJobTheProxyStoresButRunsNothing)
{
    EXPECT_THROW(proxy.render_thread().submit([] { throw std::runtime_error("lost device"); }),
                 std::runtime_error);
    scene_properties scene;
    scene.lights = {point_light(5.0f)};
    EXPECT_NO_THROW(proxy.set_scene(scene));
    EXPECT_NO_THROW(proxy.set_render_properties(render_properties{}));
    EXPECT_NO_THROW(proxy.draw(1.0f));
    EXPECT_EQ(proxy.last_scene().lights.size(), 1u);
    const model_ref sphere = proxy.load_sphere_model();
    EXPECT_EQ(sphere.vertex_array, 0u);
    EXPECT_EQ(sphere.index_count, 0u);
}
