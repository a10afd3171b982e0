// Small pieces of the effect: text formatting, pre-render rectangles, texture references.

#include "plugin/format_string.h"
#include "plugin/prerender_rect.h"
#include "plugin/sequence_data.h"
#include "plugin/texture_cache.h"
#include "tools/qvhost/test_host.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

TEST(FormatString, FormatsLikePrintf)
{
    EXPECT_EQ(format_string("%s Exception", "QV Vesk"), "QV Vesk Exception");
    EXPECT_EQ(format_string("Render: %.2f ms\n", 12.345f), "Render: 12.35 ms\n");
}

TEST(FormatString, CutsLongTextAt511Bytes)
{
    std::string long_text(2000, 'x');
    std::string result = format_string("<%s>", long_text.c_str());
    EXPECT_EQ(result.size(), 511u);
    EXPECT_EQ(result.front(), '<');
    EXPECT_EQ(result.back(), 'x');
}

TEST(PrerenderRect, EmptySidesGiveTheOtherAndOverlappingRectanglesUnite)
{
    const struct {
        PF_LRect out, in, united;
    } cases[] = {
        {{0, 0, 0, 0}, {10, 20, 110, 220}, {10, 20, 110, 220}},
        {{5, 5, 50, 50}, {100, 100, 100, 300}, {5, 5, 50, 50}},
        {{5, 30, 50, 60}, {-10, 40, 20, 90}, {-10, 30, 50, 90}},
    };
    for (const auto& c : cases) {
        PF_LRect out = c.out;
        union_rect(out, c.in);
        EXPECT_EQ(out.left, c.united.left);
        EXPECT_EQ(out.top, c.united.top);
        EXPECT_EQ(out.right, c.united.right);
        EXPECT_EQ(out.bottom, c.united.bottom);
    }
}

texture_cache_entry entry(std::uint32_t refcount, std::uint32_t id)
{
    texture_cache_entry result{};
    result.refcount = refcount;
    result.texture_id = id;
    return result;
}

TEST(TextureReferences, LastReferenceReleasesAndClosesTheGap)
{
    std::vector<texture_cache_entry> cache = {entry(1, 4), entry(2, 5), entry(1, 6)};
    std::vector<std::uint32_t> released;
    auto release = [&](std::uint32_t id) { released.push_back(id); };
    drop_texture_reference(cache, 5, release);
    EXPECT_TRUE(released.empty());
    EXPECT_EQ(cache[1].refcount, 1u);
    drop_texture_reference(cache, 4, release);
    ASSERT_EQ(released, std::vector<std::uint32_t>{4});
    ASSERT_EQ(cache.size(), 2u);
    EXPECT_EQ(cache[0].texture_id, 5u);
    EXPECT_EQ(cache[1].texture_id, 6u);
    drop_texture_reference(cache, 0, release);
    drop_texture_reference(cache, 99, release);
    EXPECT_EQ(cache.size(), 2u);
}

// Sequence operations on a host's real handles, with textures shared by instances.
class SequenceTextures : public ::testing::Test {
protected:
    static PF_Err no_entry(PF_Cmd, PF_InData*, PF_OutData*, PF_ParamDef**, PF_LayerDef*, void*)
    {
        return PF_Err_NONE;
    }

    PF_Handle instance_with(std::uint32_t diffuse, std::uint32_t environment)
    {
        PF_Handle handle = new_sequence_data(host.utilities());
        auto* data = static_cast<sequence_data*>(*handle);
        data->diffuse = diffuse;
        data->environment = environment;
        return handle;
    }

    qvhost::test_host host{no_entry};
    std::vector<texture_cache_entry> cache;
    std::vector<std::uint32_t> released;
    texture_release release = [this](std::uint32_t id) { released.push_back(id); };
};

TEST_F(SequenceTextures, FlatteningOneOfTwoInstancesKeepsTheSharedTexture)
{
    cache = {entry(2, 11), entry(1, 12)};
    PF_Handle first = instance_with(11, 12);
    PF_Handle second = instance_with(11, 0);
    PF_Handle flat = flatten_sequence_data(host.utilities(), first, cache, release);
    ASSERT_NE(flat, nullptr);
    EXPECT_EQ(host.handle_size(flat), 0);
    ASSERT_EQ(cache.size(), 1u);
    EXPECT_EQ(cache[0].texture_id, 11u);
    EXPECT_EQ(cache[0].refcount, 1u);
    EXPECT_EQ(released, std::vector<std::uint32_t>{12});

    dispose_sequence_data(host.utilities(), second, cache, release);
    EXPECT_TRUE(cache.empty());
    EXPECT_EQ(released, (std::vector<std::uint32_t>{12, 11}));
    host.dispose(flat);
    EXPECT_EQ(host.live_handles(), 0u);
    EXPECT_EQ(host.locked_handles(), 0);
}

TEST_F(SequenceTextures, HandleSmallerThanTheRecordIsDisposedUnread)
{
    cache = {entry(2, 11)};
    PF_Handle second = instance_with(11, 0);
    PF_Handle first = instance_with(11, 0);
    PF_Handle flat = flatten_sequence_data(host.utilities(), first, cache, release);
    ASSERT_EQ(cache.size(), 1u);
    ASSERT_EQ(cache[0].refcount, 1u);

    // Flattening the flat handle again, then setting it down, touches no texture.
    PF_Handle again = flatten_sequence_data(host.utilities(), flat, cache, release);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(host.handle_size(again), 0);
    EXPECT_FALSE(host.is_live(flat));
    dispose_sequence_data(host.utilities(), again, cache, release);

    // A block cut short inside the record, its first ids naming the shared texture.
    PF_Handle short_block = host.new_handle(12);
    static_cast<std::uint32_t*>(*short_block)[1] = 11;
    dispose_sequence_data(host.utilities(), short_block, cache, release);
    EXPECT_FALSE(host.is_live(short_block));

    ASSERT_EQ(cache.size(), 1u);
    EXPECT_EQ(cache[0].refcount, 1u);
    EXPECT_TRUE(released.empty());
    EXPECT_EQ(host.bad_handle_calls(), 0);
    EXPECT_EQ(host.live_handles(), 1u);
    dispose_sequence_data(host.utilities(), second, cache, release);
    EXPECT_TRUE(cache.empty());
}

TEST_F(SequenceTextures, FailedReleaseLeavesTheHandleUnlockedAndNothingToDropTwice)
{
    // 11 is shared with another instance, 12 is this instance's alone.
    cache = {entry(2, 11), entry(1, 12)};
    PF_Handle instance = instance_with(11, 12);
    texture_release failing = [](std::uint32_t) { throw std::runtime_error("render thread gone"); };
    EXPECT_THROW(dispose_sequence_data(host.utilities(), instance, cache, failing),
                 std::runtime_error);
    EXPECT_EQ(host.locked_handles(), 0);
    EXPECT_EQ(host.bad_handle_calls(), 0);
    ASSERT_EQ(cache.size(), 1u);
    EXPECT_EQ(cache[0].texture_id, 11u);
    EXPECT_EQ(cache[0].refcount, 1u);

    // The host sets the instance down again: the other instance keeps its texture.
    dispose_sequence_data(host.utilities(), instance, cache, release);
    ASSERT_EQ(cache.size(), 1u);
    EXPECT_EQ(cache[0].refcount, 1u);
    EXPECT_TRUE(released.empty());
}

} // namespace

#include "plugin/render_data_fill.h"

namespace {

TEST(FrameScale, BytesPerChannelFollowTheBitDepthAndLayerSizesRoundUp)
{
    EXPECT_EQ(bytes_per_channel(8), 1);
    EXPECT_EQ(bytes_per_channel(16), 2);
    EXPECT_EQ(bytes_per_channel(32), 4);
    // A layer's size rounds up and covers the output.
    EXPECT_EQ(downsampled_size(1920, PF_RationalScale{1, 2}, 0), 960);
    EXPECT_EQ(downsampled_size(1921, PF_RationalScale{1, 2}, 0), 961);
    EXPECT_EQ(downsampled_size(100, PF_RationalScale{1, 3}, 0), 34);
    EXPECT_EQ(downsampled_size(100, PF_RationalScale{1, 3}, 50), 50);
}

TEST(FrameScale, InverseFactorsComeFromTheInData)
{
    PF_InData in{};
    in.downsample_x = PF_RationalScale{1, 2};
    in.downsample_y = PF_RationalScale{1, 4};
    in.pixel_aspect_ratio = PF_RationalScale{10, 11};
    in.width = 1000;
    in.height = 500;
    qvsdk::render_data frame;
    frame.output.width = 100;
    frame.output.height = 300;
    fill_frame_scale(frame, in);
    fill_layer_size(frame, in);
    EXPECT_FLOAT_EQ(frame.inverse_downsample_x, 2.0f);
    EXPECT_FLOAT_EQ(frame.inverse_downsample_y, 4.0f);
    EXPECT_FLOAT_EQ(frame.inverse_pixel_aspect, 1.1f);
    EXPECT_EQ(frame.layer_width, 500);
    EXPECT_EQ(frame.layer_height, 300);
}

} // namespace

#include "plugin/effect_parameters.h"

namespace {

TEST(ParameterMaps, AreReadyBeforeAnyParameterSetUpAndUnknownIdsHaveNoIndex)
{
    // Nothing has added a parameter in this process.
    ASSERT_EQ(id_to_index().size(), 2105u);
    ASSERT_EQ(index_to_id().size(), 80u);
    EXPECT_EQ(id_to_index()[1], 1u);
    EXPECT_EQ(id_to_index()[10], 2u);
    EXPECT_EQ(id_to_index()[2001], 79u);
    EXPECT_EQ(index_to_id()[79], 2001u);
    EXPECT_EQ(index_to_id()[0], 0u);
    EXPECT_EQ(id_to_index()[15], 0u);
    for (std::size_t index = 1; index < index_to_id().size(); ++index)
        EXPECT_EQ(id_to_index()[index_to_id()[index]], index);
    // Unknown ids have no index.
    EXPECT_EQ(param_index(0), 0);
    EXPECT_EQ(param_index(-5), 0);
    EXPECT_EQ(param_index(2105), 0);
    EXPECT_EQ(param_index(100000), 0);
    EXPECT_EQ(param_index(2104), 74);
}

} // namespace
