// Buffers the device cannot take are refused before a job is submitted: the frame
// or the layer fails alone, and the next ordinary frame still draws the sphere.
#include "frame_fixture.h"

#include "failing_cl_api.h"
#include "plugin/renderer/render_jobs.h"
#include "plugin/renderer/render_thread.h"
#include "plugin/renderer/renderer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

using namespace qvtest;

namespace {

class FrameRefusals : public ::testing::Test {
protected:
    FrameRefusals()
        : proxy(std::make_unique<qvsdk::RenderThread>([this] {
              // Renderbuffers held below textures, so that their own limit decides.
              device.limits[GL_MAX_RENDERBUFFER_SIZE] = 1024;
              return std::make_unique<qvsdk::Renderer>(device, device);
          }))
    {
        proxy.load_sphere_model();
    }

    const qvsdk::device_limits& limits() const
    {
        return proxy.render_thread().renderer()->limits();
    }

    // A white sphere of radius 10 in a 48 x 48 frame: opaque in the middle, clear
    // in the corners.
    void expect_sphere_drawn()
    {
        ASSERT_NE(proxy.render_thread().renderer(), nullptr) << "the render thread has ended";
        host_image image(48, 48, 1);
        render_frame(proxy, image, 0, {plain_scene(48, 48, 10.0f)});
        EXPECT_EQ(image.channel(24, 24, 0), 1.0f);
        EXPECT_NEAR(image.channel(24, 24, 1), 1.0f, 1.0f / 255);
        EXPECT_EQ(image.channel(1, 1, 0), 0.0f);
    }

    // A buffer of this size. Its bytes exist only where they fit in a few
    // megabytes; beyond that a refusal is what keeps them from being read.
    qvsdk::pixel_buffer unread_layer(std::int32_t width, std::int32_t height,
                                     std::int32_t row_bytes)
    {
        const std::uint64_t size = static_cast<std::uint64_t>(row_bytes) * height;
        storage.assign(static_cast<std::size_t>(std::min<std::uint64_t>(size, 4u << 20)) + 16, 0);
        qvsdk::pixel_buffer layer{};
        layer.bytes_per_channel = 1;
        layer.width = width;
        layer.height = height;
        layer.row_bytes = row_bytes;
        layer.pixels = storage.data();
        return layer;
    }

    // 16 pixels wide and 64 rows, just over the device's largest buffer; false
    // when no host row could be that long.
    bool over_buffer_limit(qvsdk::pixel_buffer& buffer)
    {
        const std::int32_t height = 64;
        const std::uint64_t row_bytes = limits().max_buffer_bytes / height + 64;
        if (row_bytes > static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max()))
            return false;
        buffer = unread_layer(16, height, static_cast<std::int32_t>(row_bytes));
        return true;
    }

    // The error with which the output is refused, or "" when it is taken.
    std::string refusal_of(const qvsdk::pixel_buffer& output)
    {
        host_image image(16, 16, 1);
        qvsdk::render_data frame = frame_for(image);
        frame.output = output;
        try {
            qvsdk::set_render_size(proxy.render_thread(), 0, frame);
        } catch (const std::runtime_error& e) {
            return e.what();
        }
        return "";
    }

    failing_cl_api device;
    qvsdk::RendererProxy proxy;
    std::vector<std::uint8_t> storage;
};

} // namespace

TEST_F(FrameRefusals, OutputOverTheTextureOrRenderbufferLimitOrEmptyFailsThatFrameOnly)
{
    const std::int32_t too_wide = limits().max_texture_size + 1;
    EXPECT_EQ(refusal_of(unread_layer(too_wide, 1, too_wide * 4)),
              "render texture size is over maximum supported size");
    expect_sphere_drawn();
    EXPECT_EQ(refusal_of(unread_layer(1, limits().max_renderbuffer_size + 1, 4)),
              "render buffer size is over maximum supported size");
    expect_sphere_drawn();
    EXPECT_EQ(refusal_of(unread_layer(0, 16, 64)), "output buffer is empty");
    expect_sphere_drawn();
}

TEST_F(FrameRefusals, OutputOverTheBufferLimitFailsThatFrameOnly)
{
    qvsdk::pixel_buffer output{};
    if (!over_buffer_limit(output))
        GTEST_SKIP() << "the device takes buffers larger than any host row allows";
    EXPECT_EQ(refusal_of(output), "pixel buffer is over the device's maximum buffer size");
    expect_sphere_drawn();
}

TEST_F(FrameRefusals, LayerOverTheTextureLimitOrEmptyIsNoMap)
{
    const std::int32_t too_wide = limits().max_texture_size + 1;
    EXPECT_EQ(qvsdk::load_layer_texture(proxy.render_thread(),
                                        unread_layer(too_wide, 1, too_wide * 4)),
              0u);
    expect_sphere_drawn();
    EXPECT_EQ(qvsdk::load_layer_texture(proxy.render_thread(), unread_layer(0, 4, 4)), 0u);
    expect_sphere_drawn();
}

TEST_F(FrameRefusals, LayerOverTheBufferLimitIsNoMap)
{
    qvsdk::pixel_buffer layer{};
    if (!over_buffer_limit(layer))
        GTEST_SKIP() << "the device takes buffers larger than any host row allows";
    EXPECT_EQ(qvsdk::load_layer_texture(proxy.render_thread(), layer), 0u);
    expect_sphere_drawn();
}
