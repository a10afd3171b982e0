// The proxy's part in global set-up: a running render thread and the uploaded sphere.

#include "plugin/renderer/renderer_proxy.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

namespace {

TEST(RendererProxy, UploadsTheSphereOnItsRenderThread)
{
    qvsdk::RendererProxy proxy(std::make_unique<qvsdk::RenderThread>());
    qvsdk::model_ref sphere = proxy.load_sphere_model();
    EXPECT_EQ(sphere.index_count, 96000u);
    EXPECT_NE(sphere.vertex_array, 0u);
    EXPECT_NE(sphere.vertex_buffer, 0u);
    EXPECT_NE(sphere.index_buffer, 0u);
    EXPECT_EQ(proxy.sphere_model().vertex_array, sphere.vertex_array);
}

TEST(RendererProxy, SphereStaysEmptyWhenTheRenderThreadHasEnded)
{
    qvsdk::RendererProxy proxy(std::make_unique<qvsdk::RenderThread>());
    EXPECT_THROW(proxy.render_thread().submit([] { throw std::runtime_error("job failed"); }),
                 std::runtime_error);
    qvsdk::model_ref sphere = proxy.load_sphere_model();
    EXPECT_EQ(sphere.index_count, 0u);
    EXPECT_EQ(sphere.vertex_array, 0u);
}

} // namespace
