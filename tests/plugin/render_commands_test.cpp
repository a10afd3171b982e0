// Smart pre-render and smart render as the dispatcher prepares them.

#include "hostsdk/pf_smart_render.h"
#include "tests/plugin/effect_host_fixture.h"

#include <cstdint>
#include <vector>

namespace {

struct checkout_call {
    PF_ParamIndex index;
    A_long checkout_id;
    PF_RenderRequest request;
    A_long time;
    A_long time_step;
    A_u_long time_scale;
};

std::vector<checkout_call> prerender_calls;
PF_CheckoutResult input_result{};

PF_Err record_checkout(PF_ProgPtr, PF_ParamIndex index, A_long checkout_id,
                       const PF_RenderRequest* request, A_long what_time, A_long time_step,
                       A_u_long time_scale, PF_CheckoutResult* result)
{
    prerender_calls.push_back({index, checkout_id, *request, what_time, time_step, time_scale});
    *result = checkout_id == 0 ? input_result : PF_CheckoutResult{};
    return PF_Err_NONE;
}

class PreRender : public SetUpEffect {
protected:
    void SetUp() override
    {
        SetUpEffect::SetUp();
        prerender_calls.clear();
        input_result = {};
        callbacks.checkout_layer = record_checkout;
        extra = {&input, &output, &callbacks};
    }

    PF_PreRenderInput input{};
    PF_PreRenderOutput output{};
    PF_PreRenderCallbacks callbacks{};
    PF_PreRenderExtra extra{};
};

TEST_F(PreRender, ChecksOutTheInputThenTheFiveMapsWithTheirDiskIds)
{
    host->value_by_id(502).u.ld.width = 640;
    host->value_by_id(502).u.ld.height = 480;
    input.output_request.rect = PF_LRect{0, 0, 100, 50};
    input.output_request.channel_mask = PF_ChannelMask_ARGB;
    host->set_frame(2);
    ASSERT_EQ(host->send(PF_Cmd_SMART_PRE_RENDER, &extra), PF_Err_NONE);

    ASSERT_EQ(prerender_calls.size(), 6u);
    EXPECT_EQ(prerender_calls[0].index, 0);
    EXPECT_EQ(prerender_calls[0].checkout_id, 0);
    EXPECT_EQ(prerender_calls[0].request.rect.right, 100);
    const A_long maps[] = {502, 504, 506, 517, 508};
    for (std::size_t i = 0; i < 5; ++i) {
        const checkout_call& call = prerender_calls[i + 1];
        EXPECT_EQ(call.checkout_id, maps[i]);
        EXPECT_EQ(call.index, host->param_by_id(maps[i])->index);
        EXPECT_EQ(call.request.field, PF_Field_FRAME);
        EXPECT_EQ(call.request.channel_mask, 15);
        EXPECT_EQ(call.request.preserve_rgb_of_zero_alpha, 1);
        // The test host's in-data: a step of 1 unit, 30 units a second.
        EXPECT_EQ(call.time, 2 * qvhost::test_host::frame_duration);
        EXPECT_EQ(call.time_step, 1);
        EXPECT_EQ(call.time_scale, 30u);
    }
    EXPECT_EQ(prerender_calls[1].request.rect.right, 640);
    EXPECT_EQ(prerender_calls[1].request.rect.bottom, 480);
    EXPECT_EQ(host->outstanding_checkouts(), 0);
}

TEST_F(PreRender, EmptyOutputRectanglesBecomeTheInputs)
{
    input_result.result_rect = PF_LRect{0, 0, 320, 240};
    input_result.max_result_rect = PF_LRect{-10, -10, 330, 250};
    ASSERT_EQ(host->send(PF_Cmd_SMART_PRE_RENDER, &extra), PF_Err_NONE);
    EXPECT_EQ(output.result_rect.right, 320);
    EXPECT_EQ(output.max_result_rect.left, -10);
    EXPECT_EQ(output.max_result_rect.bottom, 250);
}

PF_EffectWorld input_world{};
PF_EffectWorld output_world{};
PF_Err input_error = PF_Err_NONE;
PF_Err output_error = PF_Err_NONE;
bool input_has_world = true;
int pixel_checkouts = 0;
int output_checkouts = 0;

PF_Err checkout_pixels(PF_ProgPtr, A_long, PF_EffectWorld** world)
{
    ++pixel_checkouts;
    *world = input_has_world ? &input_world : nullptr;
    return input_error;
}

PF_Err checkout_output(PF_ProgPtr, PF_EffectWorld** world)
{
    ++output_checkouts;
    *world = &output_world;
    return output_error;
}

class SmartRender : public SetUpEffect {
protected:
    void SetUp() override
    {
        SetUpEffect::SetUp();
        input_error = output_error = PF_Err_NONE;
        input_has_world = true;
        pixel_checkouts = output_checkouts = 0;
        output_world = {};
        callbacks.checkout_layer_pixels = checkout_pixels;
        callbacks.checkout_output = checkout_output;
        callbacks.checkin_layer_pixels = [](PF_ProgPtr, A_long) -> PF_Err { return PF_Err_NONE; };
        input.bitdepth = 16;
        extra = {&input, &callbacks};
    }

    PF_SmartRenderInput input{};
    PF_SmartRenderCallbacks callbacks{};
    PF_SmartRenderExtra extra{};
};

TEST_F(SmartRender, FailedInputCheckoutReturnsTheHostsCodeAndMissingInputNoError)
{
    input_error = PF_Err_OUT_OF_MEMORY;
    EXPECT_EQ(host->send(PF_Cmd_SMART_RENDER, &extra), PF_Err_OUT_OF_MEMORY);
    input_error = PF_Err_NONE;
    input_has_world = false;
    EXPECT_EQ(host->send(PF_Cmd_SMART_RENDER, &extra), PF_Err_NONE);
    EXPECT_EQ(output_checkouts, 0); // neither draws
}

TEST_F(SmartRender, RefusedOutputReturnsTheHostsCodeWithoutDrawing)
{
    // A buffer the frame could draw into, had the refusal been missed.
    std::vector<std::uint8_t> pixels(4 * 4 * 4);
    output_world.width = output_world.height = 4;
    output_world.rowbytes = 16;
    output_world.data = pixels.data();
    output_error = PF_Err_OUT_OF_MEMORY;
    EXPECT_EQ(host->send(PF_Cmd_SMART_RENDER, &extra), PF_Err_OUT_OF_MEMORY);
    EXPECT_EQ(output_checkouts, 1);
    EXPECT_EQ(pixel_checkouts, 1) << "the frame went on to check out its maps";
}

} // namespace
