// Whole frames through the effect module, checked the way a user looks at them.

#include "plugin/parameter_ids.h"
#include "tests/plugin/effect_host_fixture.h"
#include "tools/qvhost/debug_output.h"
#include "tools/qvhost/generated_images.h"
#include "tools/qvhost/image_file.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>
#include <utility>
#include <vector>

namespace {

using qvhost::rendered_frame;

float alpha(const rendered_frame& frame, int x, int y)
{
    return frame.rgba(x, y)[3];
}

float brightness(const rendered_frame& frame, int x, int y)
{
    const std::array<float, 4> c = frame.rgba(x, y);
    return (c[0] + c[1] + c[2]) / 3;
}

void save(const rendered_frame& frame, const std::string& name)
{
    const char* folder = std::getenv("QV_TEST_OUTPUT");
    if (folder && *folder)
        qvhost::write_png(std::string(folder) + "/" + name, frame.width, frame.height,
                          frame.rgba8());
}

class FrameRender : public EffectHost {
protected:
    void SetUp() override
    {
        EffectHost::SetUp();
        host->comp.width = 96;
        host->comp.height = 64;
        set_up_effect();
        host->sequence_setup(instance);
        place_sphere(30, 32, 14);
    }

    void TearDown() override
    {
        if (instance.sequence_data)
            host->sequence_setdown(instance);
        EffectHost::TearDown();
    }

    void place_sphere(double x, double y, double radius)
    {
        PF_Point3DDef& position = host->value_by_id(param_id::position).u.point3d_d;
        position.x_value = x;
        position.y_value = y;
        position.z_value = 0;
        host->value_by_id(param_id::radius).u.fs_d.value = radius;
    }

    long add_layer(qvhost::host_image image)
    {
        host->comp.layers.push_back(qvhost::footage_layer("map", std::move(image)));
        return static_cast<long>(host->comp.layers.size() - 1);
    }

    void move_sphere_right(double pixels_per_frame)
    {
        host->animations[param_id::position] = [pixels_per_frame](PF_ParamDef& param,
                                                                  A_long time) {
            param.u.point3d_d.x_value +=
                pixels_per_frame * time / qvhost::test_host::frame_duration;
        };
    }

    qvhost::test_host::instance instance;
};

TEST_F(FrameRender, EveryBitDepthShowsTheLitTexturedSphereWhereItsPositionPutsIt)
{
    // Top half red, bottom half blue.
    qvhost::host_image map = qvhost::solid_image(64, 32, PF_Pixel8{255, 230, 20, 20});
    for (int y = 16; y < 32; ++y)
        for (int x = 0; x < 64; ++x)
            map.at(x, y) = PF_Pixel8{255, 20, 20, 230};
    host->use_layer(param_id::diffuse_layer, add_layer(map));

    std::vector<rendered_frame> frames;
    for (A_short depth : {8, 16, 32}) {
        rendered_frame frame = host->render(instance, depth);
        ASSERT_EQ(frame.err, PF_Err_NONE) << depth;
        ASSERT_EQ(frame.width, 96);
        ASSERT_EQ(frame.height, 64);
        save(frame, "sphere_" + std::to_string(depth) + ".png");
        SCOPED_TRACE(depth);
        EXPECT_GT(alpha(frame, 30, 32), 0.95f);
        EXPECT_GT(alpha(frame, 30 + 11, 32), 0.9f);
        EXPECT_LT(alpha(frame, 30 + 17, 32), 0.05f);
        EXPECT_LT(alpha(frame, 75, 32), 0.05f);
        EXPECT_LT(alpha(frame, 30, 32 - 17), 0.05f);
        const std::array<float, 4> top = frame.rgba(30, 32 - 8);
        const std::array<float, 4> bottom = frame.rgba(30, 32 + 8);
        EXPECT_GT(top[0], top[2] + 0.2f) << "red on the upper half";
        EXPECT_GT(bottom[2], bottom[0] + 0.2f) << "blue on the lower half";
        // The default key light comes from the upper left.
        EXPECT_GT(brightness(frame, 30 - 8, 32 - 5), brightness(frame, 30 + 8, 32 - 5));
        frames.push_back(std::move(frame));
    }
    for (std::size_t i = 1; i < frames.size(); ++i)
        for (int y = 0; y < 64; y += 3)
            for (int x = 0; x < 96; x += 3)
                for (int c = 0; c < 4; ++c)
                    ASSERT_NEAR(frames[i].rgba(x, y)[c], frames[0].rgba(x, y)[c], 0.02f)
                        << i << " at " << x << "," << y;
}

TEST_F(FrameRender, ThirtyTwoBitFramesHoldOnlyFiniteNumbers)
{
    const long sky = add_layer(qvhost::gradient_environment(64, 32));
    const struct {
        const char* name;
        double reflectivity, glossiness, gamma;
        bool every_map;
        float largest;  // a NaN clamped as if it were a colour would exceed it
    } cases[] = {// A few units at most: ten times maps of at most 1, to the power 1/2.2.
                 {"reflectivity 5 without gloss", 5, 0, 2.2, false, 100.0f},
                 {"reflectivity 10 with every map", 10, 1, 2.2, true, 100.0f},
                 {"gamma 0.01", 10, 1, 0.01, false, std::numeric_limits<float>::max()}};
    host->use_layer(param_id::environment_layer, sky);
    for (const auto& c : cases) {
        for (A_long map : {param_id::diffuse_layer, param_id::glossiness_layer,
                           param_id::illumination_layer, param_id::bump_layer})
            host->use_layer(map, c.every_map ? sky : -1);
        host->value_by_id(param_id::reflectivity).u.fs_d.value = c.reflectivity;
        host->value_by_id(param_id::glossiness).u.fs_d.value = c.glossiness;
        host->value_by_id(param_id::gamma).u.fs_d.value = c.gamma;
        const rendered_frame frame = host->render(instance, 32);
        ASSERT_EQ(frame.err, PF_Err_NONE) << c.name;
        int out_of_range = 0;
        for (int y = 0; y < frame.height; ++y)
            for (int x = 0; x < frame.width; ++x)
                for (float v : frame.rgba(x, y))
                    out_of_range += !(v >= 0.0f && v <= c.largest);
        EXPECT_EQ(out_of_range, 0) << c.name;
    }
}

TEST_F(FrameRender, MovingSphereSmearsWithMotionBlurAndIsSharpWithout)
{
    place_sphere(30, 32, 10);
    move_sphere_right(40); // the shutter's half frame covers 20 pixels
    host->value_by_id(param_id::motion_blur).u.pd.value = 3; // Off
    const rendered_frame sharp = host->render(instance);
    ASSERT_EQ(sharp.err, PF_Err_NONE);
    host->value_by_id(param_id::motion_blur).u.pd.value = 2; // On
    host->value_by_id(param_id::motion_blur_samples).u.fs_d.value = 8;
    const rendered_frame blurred = host->render(instance);
    ASSERT_EQ(blurred.err, PF_Err_NONE);
    save(sharp, "motion_off.png");
    save(blurred, "motion_on.png");

    EXPECT_GT(alpha(sharp, 30, 32), 0.95f);
    EXPECT_LT(alpha(sharp, 30 + 16, 32), 0.05f);
    // Between the start and the end position the sphere is partly there.
    const float smear = alpha(blurred, 30 + 16, 32);
    EXPECT_GT(smear, 0.15f);
    EXPECT_LT(smear, 0.9f);
    EXPECT_GT(alpha(blurred, 30 + 8, 32), 0.9f);
    EXPECT_LT(alpha(blurred, 30 + 10 + 20, 32), 0.05f);
    // Behind the start nothing smears.
    EXPECT_LT(alpha(blurred, 30 - 12, 32), 0.05f);
}

TEST_F(FrameRender, CompositionShutterAngleSpreadsSamplesLikeTheEffectsOwn)
{
    place_sphere(30, 32, 10);
    move_sphere_right(40);
    host->value_by_id(param_id::motion_blur_samples).u.fs_d.value = 8;
    host->comp.motion_blur = true;
    host->comp.layers[host->comp.effect_layer].motion_blur = true;
    host->comp.shutter_angle = A_Ratio{180, 1};
    host->value_by_id(param_id::motion_blur).u.pd.value = 1; // Comp Settings
    const rendered_frame comp = host->render(instance);
    host->value_by_id(param_id::motion_blur).u.pd.value = 2; // On
    host->value_by_id(param_id::shutter_angle).u.fs_d.value = 180;
    const rendered_frame own = host->render(instance);
    ASSERT_EQ(comp.err, PF_Err_NONE);
    ASSERT_EQ(own.err, PF_Err_NONE);
    EXPECT_GT(alpha(comp, 30 + 16, 32), 0.15f);
    for (int x = 0; x < 96; ++x)
        ASSERT_NEAR(alpha(comp, x, 32), alpha(own, x, 32), 0.02f) << x;

    // Switched off on the layer, the composition's setting gives one sharp sample.
    host->comp.layers[host->comp.effect_layer].motion_blur = false;
    host->value_by_id(param_id::motion_blur).u.pd.value = 1;
    const rendered_frame off = host->render(instance);
    EXPECT_LT(alpha(off, 30 + 16, 32), 0.05f);
}

// The sphere's alpha-weighted centre and its widest row and column, in pixels.
struct sphere_box {
    double x = 0, y = 0, width = 0, height = 0;
};

sphere_box sphere_in(const rendered_frame& frame)
{
    sphere_box box;
    double total = 0;
    std::vector<double> columns(static_cast<std::size_t>(frame.width));
    for (int y = 0; y < frame.height; ++y) {
        double row = 0;
        for (int x = 0; x < frame.width; ++x) {
            const double a = alpha(frame, x, y);
            total += a;
            box.x += a * (x + 0.5);
            box.y += a * (y + 0.5);
            row += a;
            columns[static_cast<std::size_t>(x)] += a;
        }
        box.width = std::max(box.width, row);
    }
    box.height = *std::max_element(columns.begin(), columns.end());
    box.x /= total;
    box.y /= total;
    return box;
}

TEST_F(FrameRender, DownsampledFrameIsTheFullFrameScaledPerAxis)
{
    host->use_layer(param_id::diffuse_layer,
                    add_layer(qvhost::checker_image(64, 32, 4, PF_Pixel8{255, 250, 200, 40},
                                                    PF_Pixel8{255, 40, 90, 200})));
    // Height rising smoothly downward, lit from below: its shading follows the full
    // frame's only when each slope is scaled by its own axis's factor.
    qvhost::host_image slope = qvhost::solid_image(64, 32, PF_Pixel8{});
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 64; ++x)
            slope.at(x, y) = PF_Pixel8{255, A_u_char(8 * y), A_u_char(8 * y), A_u_char(8 * y)};
    host->use_layer(param_id::bump_layer, add_layer(slope));
    host->comp.layers.push_back(
        qvhost::light_layer(AEGP_LightType_PARALLEL, {30, 32 + 60, -40}, {30, 32, 0}));
    const rendered_frame full = host->render(instance);
    ASSERT_EQ(full.err, PF_Err_NONE);
    for (const auto& [fx, fy] : {std::pair{2, 2}, std::pair{2, 4}, std::pair{4, 2}}) {
        const std::string name = std::to_string(fx) + "x" + std::to_string(fy);
        SCOPED_TRACE(name);
        host->set_downsample({1, A_u_long(fx)}, {1, A_u_long(fy)});
        const rendered_frame small = host->render(instance);
        ASSERT_EQ(small.err, PF_Err_NONE);
        ASSERT_EQ(small.width, 96 / fx);
        ASSERT_EQ(small.height, 64 / fy);
        save(small, "downsample_" + name + ".png");
        // "Position" (30, 32) and "Radius" 14 at full resolution.
        const sphere_box box = sphere_in(small);
        EXPECT_NEAR(box.x, 30.0 / fx, 1.0);
        EXPECT_NEAR(box.y, 32.0 / fy, 1.0);
        EXPECT_NEAR(box.width, 28.0 / fx, 1.0);
        EXPECT_NEAR(box.height, 28.0 / fy, 1.0);
        double difference = 0;
        for (int y = 0; y < small.height; ++y)
            for (int x = 0; x < small.width; ++x)
                for (int c = 0; c < 4; ++c) {
                    float scaled = 0;
                    for (int by = 0; by < fy; ++by)
                        for (int bx = 0; bx < fx; ++bx)
                            scaled += full.rgba(fx * x + bx, fy * y + by)[c];
                    difference += std::fabs(scaled / float(fx * fy) - small.rgba(x, y)[c]);
                }
        // The vertical slope scaled by the horizontal factor gives about 0.008.
        EXPECT_LT(difference / (small.width * small.height * 4), 0.006);
    }
}

TEST_F(FrameRender, OutputBufferWithAnOriginShowsThatPartOfTheFullFrame)
{
    host->use_layer(param_id::diffuse_layer,
                    add_layer(qvhost::checker_image(64, 32, 4, PF_Pixel8{255, 250, 200, 40},
                                                    PF_Pixel8{255, 40, 90, 200})));
    const rendered_frame full = host->render(instance);
    host->output_area = PF_LRect{20, 10, 84, 54};
    const rendered_frame part = host->render(instance);
    ASSERT_EQ(full.err, PF_Err_NONE);
    ASSERT_EQ(part.err, PF_Err_NONE);
    ASSERT_EQ(part.width, 64);
    ASSERT_EQ(part.height, 44);
    save(part, "output_origin.png");
    EXPECT_GT(alpha(part, 30 - 20, 32 - 10), 0.95f);
    double difference = 0;
    for (int y = 0; y < part.height; ++y)
        for (int x = 0; x < part.width; ++x)
            for (int c = 0; c < 4; ++c)
                difference += std::fabs(part.rgba(x, y)[c] - full.rgba(x + 20, y + 10)[c]);
    EXPECT_LT(difference / (64 * 44 * 4), 0.01);
}

TEST_F(FrameRender, CameraLayerMovesTheView)
{
    const double zoom = qvhost::default_zoom(96);
    host->comp.layers.push_back(
        qvhost::camera_layer({48 + 20, 32, -zoom}, {48 + 20, 32, 0}, zoom));
    place_sphere(48, 32, 10);
    const rendered_frame frame = host->render(instance);
    ASSERT_EQ(frame.err, PF_Err_NONE);
    EXPECT_GT(alpha(frame, 28, 32), 0.95f);
    EXPECT_LT(alpha(frame, 48 + 6, 32), 0.05f);
}

TEST_F(FrameRender, WidePixelsDrawTheSphereHalfAsManyPixelsWide)
{
    host->comp.pixel_aspect = A_Ratio{2, 1};
    place_sphere(48, 32, 12);
    const rendered_frame frame = host->render(instance);
    ASSERT_EQ(frame.err, PF_Err_NONE);
    save(frame, "wide_pixels.png");
    EXPECT_GT(alpha(frame, 48, 32), 0.95f);
    EXPECT_GT(alpha(frame, 48, 32 + 10), 0.9f);
    EXPECT_GT(alpha(frame, 48 + 4, 32), 0.9f);
    EXPECT_LT(alpha(frame, 48 + 8, 32), 0.05f);
    EXPECT_LT(alpha(frame, 48 - 8, 32), 0.05f);
}

TEST_F(FrameRender, LightsAreTimedInCompositionTimeWhenTheEffectLayerStartsLater)
{
    const A_long frame = qvhost::test_host::frame_duration;
    host->comp.layers[host->comp.effect_layer].in_point = 10 * frame;
    qvhost::host_layer light =
        qvhost::light_layer(AEGP_LightType_POINT, {30, 32, -300}, {30, 32, 0});
    light.color = AEGP_ColorVal{1, 1, 0, 0};
    light.in_point = 5 * frame;  // composition frames 5 to 15
    light.duration = 10 * frame;
    host->comp.layers.push_back(light);

    host->set_frame(2); // composition frame 12: the red light shines
    const rendered_frame lit = host->render(instance);
    ASSERT_EQ(lit.err, PF_Err_NONE);
    const std::array<float, 4> red = lit.rgba(30, 32);
    EXPECT_GT(red[0], 0.3f);
    EXPECT_LT(red[1], red[0] * 0.5f);

    host->set_frame(5); // composition frame 15: gone, the default lights return
    const rendered_frame after = host->render(instance);
    ASSERT_EQ(after.err, PF_Err_NONE);
    const std::array<float, 4> white = after.rgba(30, 32);
    EXPECT_NEAR(white[1], white[0], 0.05f);
}

TEST_F(FrameRender, FirstFailingMapCheckoutIsTheFramesErrorAndEndsIt)
{
    const long map = add_layer(qvhost::solid_image(8, 8, PF_Pixel8{255, 200, 200, 200}));
    host->use_layer(param_id::diffuse_layer, map);
    host->use_layer(param_id::environment_layer, map);
    host->value_by_id(param_id::motion_blur).u.pd.value = 2;
    host->value_by_id(param_id::motion_blur_samples).u.fs_d.value = 4;
    // The user interrupts the glossiness map, asked for right after the diffuse one.
    host->failing_checkouts[param_id::glossiness_layer] = PF_Interrupt_CANCEL;
    host->failing_checkouts[param_id::bump_layer] = PF_Err_BAD_CALLBACK_PARAM;
    const rendered_frame refused = host->render(instance);
    EXPECT_EQ(refused.err, PF_Interrupt_CANCEL);
    int checkouts = 0;
    for (A_long id : {param_id::diffuse_layer, param_id::glossiness_layer,
                      param_id::illumination_layer, param_id::bump_layer,
                      param_id::environment_layer})
        checkouts += host->layer_checkouts(id);
    EXPECT_EQ(checkouts, 2) << "the diffuse map, the refused one and nothing after";
    EXPECT_EQ(host->layer_checkins(param_id::diffuse_layer), 1);
    EXPECT_EQ(alpha(refused, 30, 32), 0.0f) << "nothing is drawn";
    host->failing_checkouts.clear();
    const rendered_frame next = host->render(instance);
    ASSERT_EQ(next.err, PF_Err_NONE);
    EXPECT_GT(alpha(next, 30, 32), 0.9f) << "the sphere is drawn";
}

TEST_F(FrameRender, RefusedParameterIsTheFramesErrorAndTheNextFrameDraws)
{
    host->refused_params[param_id::radius] = PF_Interrupt_CANCEL;
    EXPECT_EQ(host->render(instance).err, PF_Interrupt_CANCEL);
    EXPECT_EQ(host->outstanding_checkouts(), 0);
    const rendered_frame frame = host->render(instance);
    ASSERT_EQ(frame.err, PF_Err_NONE);
    EXPECT_GT(alpha(frame, 30, 32), 0.9f) << "the sphere is drawn";
}

TEST_F(FrameRender, TimingLinesComeOncePerFrameInOrderAndTheTimeIsRestored)
{
    host->value_by_id(param_id::motion_blur).u.pd.value = 2;
    host->value_by_id(param_id::motion_blur_samples).u.fs_d.value = 3;
    host->set_frame(4);
    qvhost::debug_output output;
    ASSERT_EQ(host->render(instance).err, PF_Err_NONE);
    EXPECT_EQ(host->time(), 4 * qvhost::test_host::frame_duration);
    std::vector<std::string> timings;
    for (const std::string& line : output.lines())
        if (line.find("Render: ") != std::string::npos)
            timings.push_back(line.substr(0, line.find(':')));
    EXPECT_EQ(timings, (std::vector<std::string>{"Input Render", "Render", "Output Render", "Full Render"}));
}

} // namespace
