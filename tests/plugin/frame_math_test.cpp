// The arithmetic of a frame: sample times, camera window and projection, angles
// and light presence.

#include "plugin/ae_plugin_connection.h"
#include "plugin/camera.h"
#include "plugin/lights.h"
#include "plugin/motion_blur.h"
#include "plugin/sample_scene.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(MotionBlurSamples, CountRoundsHalfUp)
{
    EXPECT_EQ(sample_count_from(6.5), 7u);
    EXPECT_EQ(sample_count_from(6.4), 6u);
    EXPECT_EQ(sample_count_from(200.0), 200u);
}

TEST(MotionBlurSamples, HalfShutterSpreadsSixSamplesOverHalfAFrame)
{
    const float shutter = shutter_fraction_from_degrees(180.0f);
    EXPECT_FLOAT_EQ(shutter, 0.5f);
    const A_long expected[] = {0, 100, 200, 300, 400, 500};
    for (std::uint32_t k = 0; k < 6; ++k)
        EXPECT_EQ(sample_time_offset(1200, k, shutter, 6), expected[k]) << k;
    // Offsets are truncated to whole time units.
    EXPECT_EQ(sample_time_offset(10, 1, shutter, 6), 0);
    EXPECT_EQ(sample_time_offset(10, 5, shutter, 6), 4);
}

TEST(MotionBlurSamples, MultisamplingChoicesGiveTheRenderersCount)
{
    EXPECT_EQ(multisample_count(1), 0u);
    EXPECT_EQ(multisample_count(2), 2u);
    EXPECT_EQ(multisample_count(4), 8u);
    EXPECT_EQ(multisample_count(5), 16u);
}

qvsdk::render_data frame_of(int origin_x, int origin_y, int width, int height)
{
    qvsdk::render_data frame{};
    frame.origin_x = origin_x;
    frame.origin_y = origin_y;
    frame.output.width = width;
    frame.output.height = height;
    return frame;
}

TEST(CameraWindow, HalfResolutionCoversTheCompositionAndAnOriginMovesEachAxisByItsDownsample)
{
    const struct {
        qvsdk::render_data frame;
        float downsample_y;
        view_window expected;
    } cases[] = {{frame_of(0, 0, 960, 540), 2.0f, {-960, 960, -540, 540}},
                 // x at 1/2, y at 1/4.
                 {frame_of(10, 20, 100, 50), 4.0f, {20 - 960, 220 - 960, 80 - 540, 280 - 540}}};
    for (const auto& c : cases) {
        const view_window window = output_window(c.frame, 1920, 1080, 2.0f, c.downsample_y);
        EXPECT_FLOAT_EQ(window.x0, c.expected.x0);
        EXPECT_FLOAT_EQ(window.x1, c.expected.x1);
        EXPECT_FLOAT_EQ(window.y0, c.expected.y0);
        EXPECT_FLOAT_EQ(window.y1, c.expected.y1);
    }
}

// Clip coordinates of a view-space point.
void project(const qvsdk::mat4& p, const float v[3], float out[4])
{
    for (int r = 0; r < 4; ++r)
        out[r] = p[r] * v[0] + p[4 + r] * v[1] + p[8 + r] * v[2] + p[12 + r];
}

TEST(CameraProjection, PerspectiveMapsTheWindowAtTheImagePlaneToTheClipEdges)
{
    const float zoom = 2666.67f;
    const view_window window{-960, 960, -540, 540};
    const qvsdk::mat4 p = perspective_projection(window, zoom);
    const float corner[3] = {960, -540, -zoom};
    float clip[4];
    project(p, corner, clip);
    EXPECT_NEAR(clip[0] / clip[3], 1.0f, 1e-4f);
    EXPECT_NEAR(clip[1] / clip[3], -1.0f, 1e-4f);
    // Depth runs from 0 at the near plane towards 1 far away.
    const float near_point[3] = {0, 0, -0.01f};
    project(p, near_point, clip);
    EXPECT_NEAR(clip[2] / clip[3], 0.0f, 1e-4f);
    const float far_point[3] = {0, 0, -1e6f};
    project(p, far_point, clip);
    EXPECT_NEAR(clip[2] / clip[3], 1.0f, 1e-4f);
}

TEST(CameraProjection, OrthographicMapsTheWindowWhateverTheDepth)
{
    const qvsdk::mat4 p = orthographic_projection(view_window{-100, 300, -50, 50});
    for (float depth : {-10.0f, -5000.0f}) {
        const float corner[3] = {300, 50, depth};
        float clip[4];
        project(p, corner, clip);
        EXPECT_NEAR(clip[0] / clip[3], 1.0f, 1e-5f);
        EXPECT_NEAR(clip[1] / clip[3], 1.0f, 1e-5f);
    }
}

TEST(CameraView, DefaultCameraSeesTheCompositionCentreStraightAhead)
{
    A_Matrix4 camera{};
    for (int i = 0; i < 4; ++i)
        camera.mat[i][i] = 1;
    camera.mat[3][0] = 960;
    camera.mat[3][1] = 540;
    camera.mat[3][2] = -2666.67;
    const qvsdk::mat4 view = view_from_camera(camera, 1.0f);
    const float centre[4] = {960, 540, 0, 1};
    float v[4];
    for (int r = 0; r < 4; ++r)
        v[r] = view[r] * centre[0] + view[4 + r] * centre[1] + view[8 + r] * centre[2] +
               view[12 + r] * centre[3];
    EXPECT_NEAR(v[0], 0, 1e-3f);
    EXPECT_NEAR(v[1], 0, 1e-3f);
    EXPECT_NEAR(v[2], -2666.67f, 1e-2f); // in front of the eye: negative z
}

TEST(EulerAngles, KnownAnglesGiveTheirQuaternions)
{
    float q[4];
    euler_quaternion(0, 0, 0, q);
    EXPECT_FLOAT_EQ(q[0], 0);
    EXPECT_FLOAT_EQ(q[3], -1);
    euler_quaternion(180 << 16, 0, 0, q);
    EXPECT_NEAR(q[0], 1, 1e-5f);
    EXPECT_NEAR(q[3], 0, 1e-5f);
    euler_quaternion(90 << 16, 0, 0, q);
    EXPECT_NEAR(q[0], 0.70710678f, 1e-5f);
    EXPECT_NEAR(q[1], 0, 1e-6f);
    EXPECT_NEAR(q[2], 0, 1e-6f);
    EXPECT_NEAR(q[3], -0.70710678f, 1e-5f);
}

TEST(LightPresence, IntervalIsHalfOpenInCompositionTime)
{
    const A_Time in{30, 30};      // 1 s
    const A_Time duration{60, 30}; // to 3 s
    EXPECT_FALSE(light_is_present(in, duration, A_Time{29, 30}));
    EXPECT_TRUE(light_is_present(in, duration, A_Time{30, 30}));
    EXPECT_TRUE(light_is_present(in, duration, A_Time{2999, 1000}));
    EXPECT_FALSE(light_is_present(in, duration, A_Time{3000, 1000}));
    EXPECT_FALSE(light_is_present(in, duration, A_Time{0, 0}));
}

} // namespace
