// The frame's render buffers: made once per size and sample count, and a size the
// device cannot take ends the render thread cleanly.
#include "frame_fixture.h"

#include "plugin/renderer/cl_device_list.h"
#include "plugin/renderer/copying_gl_sharing.h"
#include "plugin/renderer/render_jobs.h"
#include "plugin/renderer/render_target_pool.h"
#include "plugin/renderer/render_thread.h"
#include "plugin/renderer/renderer.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

using namespace qvtest;

namespace {

struct pool_names {
    std::vector<GLuint> textures;
    std::vector<GLuint> renderbuffers;
    std::vector<GLuint> framebuffers;
};

pool_names names_in(qvsdk::RenderThread& thread)
{
    pool_names names;
    thread.submit([&] {
        const qvsdk::render_target_pool& pool = thread.renderer()->targets();
        names = {pool.textures, pool.renderbuffers, pool.framebuffers};
    });
    return names;
}

} // namespace

TEST(RenderBuffers, RemadeOnlyWhenSizeOrSampleCountChanges)
{
    qvsdk::RenderThread thread;
    host_image image(40, 30, 1);
    qvsdk::render_data frame = frame_for(image);

    qvsdk::set_render_size(thread, 0, frame);
    const pool_names first = names_in(thread);
    EXPECT_EQ(first.textures.size(), 3u);
    EXPECT_EQ(first.renderbuffers.size(), 1u);
    EXPECT_EQ(first.framebuffers.size(), 3u);

    qvsdk::set_render_size(thread, 0, frame);
    EXPECT_EQ(names_in(thread).textures, first.textures);

    // Other row bytes alone: only the output buffer changes.
    host_image padded(40, 30, 2, 24);
    qvsdk::set_render_size(thread, 0, frame_for(padded));
    EXPECT_EQ(names_in(thread).textures, first.textures);

    qvsdk::set_render_size(thread, 4, frame_for(padded));
    const pool_names multisampled = names_in(thread);
    EXPECT_EQ(multisampled.textures.size(), 3u);
    EXPECT_EQ(multisampled.renderbuffers.size(), 1u);

    host_image larger(41, 30, 2, 24);
    qvsdk::set_render_size(thread, 4, frame_for(larger));
    EXPECT_EQ(names_in(thread).textures.size(), 3u) << "the old buffers were let go";
}

TEST(RenderBuffers, OversizedOutputEndsTheThreadWithoutADoubleRelease)
{
    auto thread = std::make_unique<qvsdk::RenderThread>();
    host_image image(16, 16, 1);
    qvsdk::set_render_size(*thread, 0, frame_for(image));

    GLint max_size = 0;
    thread->submit([&] { max_size = thread->renderer()->targets().max_texture_size; });
    qvsdk::pixel_buffer wide;
    wide.bytes_per_channel = 1;
    wide.width = max_size + 1;
    wide.height = 1;
    wide.row_bytes = wide.width * 4;
    qvsdk::render_data frame = frame_for(image);
    frame.output = wide;
    try {
        // Straight to the renderer, past the submitter's own size check.
        thread->submit([&] { thread->renderer()->set_render_size(0, frame); });
        FAIL() << "an output wider than the device allows was accepted";
    } catch (const std::runtime_error& e) {
        const std::string message = e.what();
        EXPECT_TRUE(message == "render texture size is over maximum supported size" ||
                    message == "render buffer size is over maximum supported size")
            << message;
    }
    // The thread has ended; later jobs do nothing, and its teardown released the
    // frame's image only once.
    EXPECT_EQ(thread->renderer(), nullptr);
    EXPECT_NO_THROW(qvsdk::set_render_size(*thread, 0, frame_for(image)));
    thread.reset();
}

TEST(RenderBuffers, RowsShorterThanTheirPixelsAreRefused)
{
    qvsdk::RenderThread thread;
    host_image image(16, 16, 4);
    qvsdk::render_data frame = frame_for(image);
    frame.output.row_bytes = 16 * 4;  // a quarter of what 32-bit pixels need
    EXPECT_THROW(qvsdk::set_render_size(thread, 0, frame), std::runtime_error);
}

TEST(RenderBuffers, FrameImageIsLinkedOnceAcrossResizes)
{
    qvsdk::RenderThread thread;
    const auto* copying =
        dynamic_cast<const qvsdk::copying_gl_sharing*>(&thread.renderer()->devices().sharing());
    if (!copying)
        GTEST_SKIP() << "the driver shares textures itself";
    for (int width : {16, 24, 16, 32}) {
        host_image image(width, 8, 1);
        qvsdk::set_render_size(thread, 0, frame_for(image));
        EXPECT_EQ(copying->linked_images(), 1u) << width;
    }
}
