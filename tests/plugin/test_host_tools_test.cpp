// The test host's own tools: picture files and its render command line.

#include "tools/qvhost/generated_images.h"
#include "tools/qvhost/image_file.h"
#include "tools/qvhost/render_command.h"
#include "tools/qvhost/test_host.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <stdexcept>
#include <string>
#include <utility>

#include <windows.h>

namespace {

std::string output_file(const std::string& name)
{
    const char* folder = std::getenv("QV_TEST_OUTPUT");
    return folder && *folder ? std::string(folder) + "/" + name : name;
}

TEST(PictureFiles, WrittenPngDecodesToTheSamePixelsAndAMissingOneIsAnError)
{
    const qvhost::host_image checker =
        qvhost::checker_image(40, 20, 4, PF_Pixel8{255, 200, 10, 10}, PF_Pixel8{128, 10, 20, 240});
    std::vector<std::uint8_t> rgba;
    for (const PF_Pixel8& p : checker.pixels)
        rgba.insert(rgba.end(), {p.red, p.green, p.blue, p.alpha});
    const std::string file = output_file("round_trip.png");
    ASSERT_TRUE(qvhost::write_png(file, 40, 20, rgba));

    const qvhost::host_image read = qvhost::load_image_file(file);
    ASSERT_EQ(read.width, 40);
    ASSERT_EQ(read.height, 20);
    for (int y : {0, 5, 19})
        for (int x : {0, 9, 10, 39}) {
            const PF_Pixel8 a = checker.at(x, y), b = read.at(x, y);
            EXPECT_EQ(a.alpha, b.alpha) << x << "," << y;
            EXPECT_EQ(a.red, b.red) << x << "," << y;
            EXPECT_EQ(a.blue, b.blue) << x << "," << y;
        }
    // A missing file is an error naming it.
    try {
        qvhost::load_image_file(output_file("no_such_picture.png"));
        FAIL() << "no exception";
    } catch (const std::runtime_error& error) {
        EXPECT_NE(std::string(error.what()).find("no_such_picture.png"), std::string::npos);
    }
}

TEST(RenderCommandLine, ReadsSizeFramesDepthAndValues)
{
    const qvhost::render_options options = qvhost::parse_render_options(
        {"--size", "1280x720", "--frames", "3-7", "--depth", "16", "--set", "16=250",
         "--motion-blur", "on", "--move", "4,0,0", "--diffuse", "checker", "--downsample",
         "2,4"});
    EXPECT_EQ(options.width, 1280);
    EXPECT_EQ(options.height, 720);
    EXPECT_EQ(options.first_frame, 3);
    EXPECT_EQ(options.last_frame, 7);
    EXPECT_EQ(options.bit_depth, 16);
    ASSERT_EQ(options.values.size(), 1u);
    EXPECT_EQ(options.values[0].first, 16);
    EXPECT_EQ(options.values[0].second, "250");
    EXPECT_EQ(options.motion_blur, "on");
    EXPECT_DOUBLE_EQ(options.move[0], 4);
    EXPECT_EQ(options.diffuse, "checker");
    EXPECT_EQ(options.downsample_x, 2u);
    EXPECT_EQ(options.downsample_y, 4u);
    EXPECT_EQ(qvhost::parse_render_options({"--frames", "9"}).last_frame, 9);
    EXPECT_EQ(qvhost::parse_render_options({"--downsample", "3"}).downsample_y, 3u);
}

TEST(RenderCommandLine, RejectsWhatItCannotRender)
{
    using qvhost::parse_render_options;
    EXPECT_THROW(parse_render_options({"--size", "0x720"}), std::invalid_argument);
    EXPECT_THROW(parse_render_options({"--size", "wide"}), std::invalid_argument);
    EXPECT_THROW(parse_render_options({"--frames", "7-3"}), std::invalid_argument);
    EXPECT_THROW(parse_render_options({"--depth", "12"}), std::invalid_argument);
    EXPECT_THROW(parse_render_options({"--downsample", "2,0"}), std::invalid_argument);
    EXPECT_THROW(parse_render_options({"--motion-blur", "maybe"}), std::invalid_argument);
    EXPECT_THROW(parse_render_options({"--set", "16"}), std::invalid_argument);
    EXPECT_THROW(parse_render_options({"--out"}), std::invalid_argument);
    EXPECT_THROW(parse_render_options({"--colour", "red"}), std::invalid_argument);
    // The bench refuses the same sizes before it loads a module.
    for (const auto& [width, height] : {std::pair{0, 720}, {1280, -4}, {30001, 720}})
        EXPECT_THROW(qvhost::run_bench("no_such_module.aex", 1, width, height),
                     std::invalid_argument)
            << width << "x" << height;
}

PF_Err no_entry(PF_Cmd, PF_InData*, PF_OutData*, PF_ParamDef**, PF_LayerDef*, void*)
{
    return PF_Err_NONE;
}

TEST(TestHostHandles, BlockIsExactlyAsLargeAsAskedWithNothingReadableAfterIt)
{
    qvhost::test_host host(no_entry);
    for (A_HandleSize size : {0, 1, 7, 24, 4096, 5000}) {
        SCOPED_TRACE(size);
        PF_Handle handle = host.new_handle(size);
        ASSERT_NE(handle, nullptr);
        auto* block = static_cast<unsigned char*>(host.lock(handle));
        ASSERT_NE(block, nullptr);
        EXPECT_EQ(host.handle_size(handle), size);
        if (size > 0) {
            EXPECT_FALSE(IsBadReadPtr(block, static_cast<UINT_PTR>(size)));
            EXPECT_FALSE(IsBadWritePtr(block, static_cast<UINT_PTR>(size)));
            EXPECT_EQ(block[0], 0);
            EXPECT_EQ(block[size - 1], 0);
        }
        EXPECT_TRUE(IsBadReadPtr(block + size, 1));
        host.unlock(handle);
        host.dispose(handle);
    }
    EXPECT_EQ(host.live_handles(), 0u);
    EXPECT_EQ(host.bad_handle_calls(), 0);
}

} // namespace
