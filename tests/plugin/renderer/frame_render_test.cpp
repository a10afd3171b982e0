// Whole frames through the proxy, checked as a user would look at them. Each case
// leaves a PNG in the test's output folder.
#include "frame_fixture.h"
#include "shading_reference.h"

#include "plugin/renderer/render_jobs.h"
#include "plugin/renderer/render_thread.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <memory>
#include <utility>

using namespace qvtest;
using qvsdk::scene_properties;

namespace {

class Frames : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        proxy = new qvsdk::RendererProxy(std::make_unique<qvsdk::RenderThread>());
        proxy->load_sphere_model();
    }
    static void TearDownTestSuite()
    {
        delete proxy;
        proxy = nullptr;
    }

    static float distance_to_centre(const host_image& image, int x, int y)
    {
        return std::hypot(x + 0.5f - image.width / 2.0f, y + 0.5f - image.height / 2.0f);
    }

    // A 64 x 64 8-bit layer in four quadrants: red top left, green top right,
    // blue bottom left, white bottom right (rows top first, as the host stores them).
    static unsigned quadrant_texture(int bytes_per_channel)
    {
        host_image layer(64, 64, bytes_per_channel, 12);
        for (int y = 0; y < 64; ++y) {
            for (int x = 0; x < 64; ++x) {
                const float* colour = quadrant_colour(x >= 32, y >= 32);
                layer.set(x, y, colour);
            }
        }
        return qvsdk::load_layer_texture(proxy->render_thread(), layer.buffer());
    }
    static const float* quadrant_colour(bool right, bool bottom)
    {
        static const float colours[4][4] = {
            {1, 1, 0, 0}, {1, 0, 1, 0}, {1, 0, 0, 1}, {1, 1, 1, 1}};
        return colours[(bottom ? 2 : 0) + (right ? 1 : 0)];
    }

    // The pixels against the shading worked out on the CPU (no maps in the scene).
    static void expect_shading(const host_image& image, const scene_properties& scene,
                               std::initializer_list<std::pair<int, int>> pixels)
    {
        const double step = image.bytes_per_channel == 1 ? 1.0 / 255 : 0.0;
        for (const auto& [x, y] : pixels) {
            const auto expected =
                expected_pixel(scene, image.width, image.height, x, y, reference_maps{});
            ASSERT_TRUE(expected) << x << ", " << y;
            for (int c = 0; c < 4; ++c) {
                const double e = step ? std::fmin((*expected)[c], 1.0) : (*expected)[c];
                EXPECT_NEAR(image.channel(x, y, c), e, step + 0.004 + 0.01 * std::fabs(e))
                    << x << ", " << y << " channel " << c;
            }
        }
    }

    static qvsdk::RendererProxy* proxy;
};

qvsdk::RendererProxy* Frames::proxy = nullptr;

} // namespace

TEST_F(Frames, SphereCoversItsProjectedDisc)
{
    for (int size : {64, 256}) {
        host_image image(size, size, 1);
        const float radius = size * 0.3f;
        render_frame(*proxy, image, 0, {plain_scene(size, size, radius)});
        image.save("disc_" + std::to_string(size));

        const float edge = projected_radius(radius);
        int inside = 0;
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                const float d = distance_to_centre(image, x, y);
                const float alpha = image.channel(x, y, 0);
                if (d < edge - 1.5f) {
                    ASSERT_EQ(alpha, 1.0f) << size << ": " << x << ", " << y;
                    ASSERT_NEAR(image.channel(x, y, 1), 1.0f, 1.0f / 255) << x << ", " << y;
                } else if (d > edge + 1.5f) {
                    ASSERT_EQ(alpha, 0.0f) << size << ": " << x << ", " << y;
                }
                inside += alpha > 0.5f;
            }
        }
        const float area = 3.14159265f * edge * edge;
        EXPECT_NEAR(inside, area, area * 0.03f) << size;
    }
}

TEST_F(Frames, UnlitDiffuseMapShowsItsColoursAtTheirUv)
{
    // 8 and 16-bit layers with the spherical mapping, and the XY plane mapping.
    for (int bytes : {1, 2, 0}) {
        const unsigned texture = quadrant_texture(bytes ? bytes : 1);
        ASSERT_NE(texture, 0u);
        host_image image(256, 256, 1);
        scene_properties scene = plain_scene(256, 256, 100.0f);
        scene.material.diffuse_texture = texture;
        if (bytes == 0)
            scene.material.uvType = 3;
        render_frame(*proxy, image, 4, {scene});
        image.save(bytes ? "diffuse_quadrants_" + std::to_string(bytes * 8) + "bit"
                         : std::string("diffuse_quadrants_plane_xy"));
        qvsdk::release_texture(proxy->render_thread(), texture);

        // The front of the sphere shows u from 0.25 (left) to 0.75 (right) and v
        // from 0 at the top to 1 at the bottom (the composition's y points down).
        for (bool right : {false, true}) {
            for (bool bottom : {false, true}) {
                const int x = right ? 128 + 35 : 128 - 35;
                const int y = bottom ? 128 + 35 : 128 - 35;
                const float* expected = quadrant_colour(right, bottom);
                for (int c = 0; c < 4; ++c) {
                    EXPECT_NEAR(image.channel(x, y, c), expected[c], 1.0f / 255)
                        << bytes << " bytes, " << x << ", " << y << " channel " << c;
                }
            }
        }
    }
}

TEST_F(Frames, PointLightBrightensTheSideFacingIt)
{
    host_image image(128, 128, 4);
    scene_properties scene = plain_scene(128, 128, 50.0f);
    scene.material.unlitMode = 0;
    scene.lights = {make_light(2, {1, 1, 1, 1}, {64.0f - 1000.0f, 64.0f, -200.0f})};
    render_frame(*proxy, image, 0, {scene});
    image.save("point_light_left");

    const float left = image.channel(64 - 35, 64, 1);
    const float centre = image.channel(64, 64, 1);
    const float right = image.channel(64 + 35, 64, 1);
    EXPECT_GT(left, centre + 0.1f);
    EXPECT_GT(centre, right + 0.1f);
    EXPECT_GT(left, 0.7f);
    EXPECT_EQ(image.channel(64 + 35, 64, 0), 1.0f);
    expect_shading(image, scene, {{64 - 35, 64}, {64, 64}, {64 + 35, 64}, {64, 64 - 30}});

    // The same scene without lights and without ambient light is black.
    scene.lights.clear();
    render_frame(*proxy, image, 0, {scene});
    EXPECT_EQ(image.channel(64 - 35, 64, 1), 0.0f);
    EXPECT_EQ(image.channel(64 - 35, 64, 0), 1.0f);
}

TEST_F(Frames, EightSixteenAndThirtyTwoBitOutputsAgree)
{
    scene_properties scene = plain_scene(64, 64, 24.0f);
    scene.material.unlitMode = 0;
    scene.material.ambientAmount = 0.2f;
    scene.lights = {make_light(3, {1, 1, 1, 1}), make_light(0, {0.9f, 0.6f, 0.3f, 1.0f}, {}, {1, 1, 1})};
    scene.material.edgeFeather = 0.3f;  // soft alpha toward the rim

    host_image bits8(64, 64, 1), bits16(64, 64, 2, 8), bits32(64, 64, 4);
    render_frame(*proxy, bits8, 4, {scene});
    render_frame(*proxy, bits16, 4, {scene});
    render_frame(*proxy, bits32, 4, {scene});
    bits16.save("depths_16bit");

    int compared = 0;
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            for (int c = 0; c < 4; ++c) {
                const float exact = std::fmin(bits32.channel(x, y, c), 1.0f);
                // Truncation may lose one level in either depth.
                ASSERT_NEAR(bits8.channel(x, y, c), exact, 1.0f / 255 + 1e-4f) << x << ", " << y;
                ASSERT_NEAR(bits16.channel(x, y, c), exact, 2.5f / 32768) << x << ", " << y;
                compared += exact > 0.0f && exact < 1.0f;
            }
        }
    }
    EXPECT_GT(compared, 500);  // shading and soft edges, not just 0 and 1
}

TEST_F(Frames, OpaqueWhiteIsTheTopOfEachDepth)
{
    host_image bits8(32, 32, 1), bits16(32, 32, 2);
    render_frame(*proxy, bits8, 0, {plain_scene(32, 32, 12.0f)});
    render_frame(*proxy, bits16, 0, {plain_scene(32, 32, 12.0f)});
    for (int c = 0; c < 4; ++c) {
        EXPECT_EQ(bits8.bytes[16 * bits8.row_bytes + 16 * 4 + c], 255);
        // The 16-bit conversion halves 65535: full white is 32767, not the host's 32768.
        EXPECT_NEAR(bits16.channel(16, 16, c), 32767.0f / 32768, 1e-6f);
    }
}

TEST_F(Frames, TwoMotionBlurSamplesWithHalfWeightAverage)
{
    scene_properties first = plain_scene(128, 64, 20.0f);
    scene_properties second = first;
    first.translation[0] -= 16.0f;
    second.translation[0] += 16.0f;
    host_image image(128, 64, 1);
    render_frame(*proxy, image, 0, {first, second});
    image.save("motion_blur_two_samples");

    // Only the first sample covers x = 64 - 30, only the second x = 64 + 30, both x = 64.
    EXPECT_NEAR(image.channel(64 - 30, 32, 0), 0.5f, 1.0f / 255);
    EXPECT_NEAR(image.channel(64 + 30, 32, 0), 0.5f, 1.0f / 255);
    EXPECT_EQ(image.channel(64, 32, 0), 1.0f);
    // Colour is stored un-premultiplied, so the half-covered pixels stay white.
    EXPECT_NEAR(image.channel(64 - 30, 32, 1), 1.0f, 1.0f / 255);
    EXPECT_EQ(image.channel(4, 32, 0), 0.0f);
}

TEST_F(Frames, HemisphereKeepsTheUpperHalfOnScreen)
{
    scene_properties scene = plain_scene(64, 64, 24.0f);
    scene.material.flattenBottom = 1;
    host_image image(64, 64, 1);
    render_frame(*proxy, image, 0, {scene});
    image.save("hemisphere");

    // The mesh's lower half (y ≤ 0) stays; the composition's y points down, so that
    // is the top of the picture.
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            if (distance_to_centre(image, x, y) > 20.0f)
                continue;
            if (y < 30) {
                ASSERT_EQ(image.channel(x, y, 0), 1.0f) << x << ", " << y;
            } else if (y > 33) {
                ASSERT_EQ(image.channel(x, y, 0), 0.0f) << x << ", " << y;
            }
        }
    }
}

TEST_F(Frames, SurfaceSidesOfAHemisphereFacingTheCamera)
{
    // Tipped so that its cut faces the camera: the outside of the bowl faces away,
    // and only its inside (the back faces) is in view.
    scene_properties scene = plain_scene(64, 64, 24.0f);
    scene.material.flattenBottom = 1;
    scene.rotation[0] = -std::sqrt(0.5f);
    scene.rotation[3] = std::sqrt(0.5f);
    host_image image(64, 64, 1);
    const char* names[] = {"", "all", "front", "back"};
    for (std::uint32_t surface : {1u, 2u, 3u}) {
        scene.material.surface = surface;
        render_frame(*proxy, image, 0, {scene});
        image.save(std::string("bowl_") + names[surface]);
        const float expected = surface == 2 ? 0.0f : 1.0f;
        EXPECT_EQ(image.channel(32, 32, 0), expected) << names[surface];
        EXPECT_EQ(image.channel(32, 20, 0), expected) << names[surface];
    }
}

TEST_F(Frames, MultisamplingSmoothsTheRimAndClampsToTheDevice)
{
    for (unsigned samples : {0u, 4u, 16u}) {
        host_image image(64, 64, 4);
        ASSERT_NO_THROW(render_frame(*proxy, image, samples, {plain_scene(64, 64, 20.3f)}))
            << samples;
        image.save("multisample_" + std::to_string(samples));
        int partial = 0;
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x)
                partial += image.channel(x, y, 0) > 0.0f && image.channel(x, y, 0) < 1.0f;
        if (samples == 0)
            EXPECT_EQ(partial, 0);
        else
            EXPECT_GT(partial, 40) << samples;
        EXPECT_EQ(image.channel(32, 32, 0), 1.0f);
    }
}

TEST_F(Frames, EnvironmentReflectsOnAMirrorSphere)
{
    // A uniform environment: every level of the cube is the same colour.
    host_image layer(64, 32, 4);
    const float colour[4] = {1.0f, 0.25f, 0.5f, 0.75f};
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 64; ++x)
            layer.set(x, y, colour);
    qvsdk::RenderThread& thread = proxy->render_thread();
    const unsigned source = qvsdk::load_layer_texture(thread, layer.buffer());
    const unsigned cube = qvsdk::build_environment(thread, source);
    qvsdk::release_texture(thread, source);
    ASSERT_NE(cube, 0u);

    scene_properties scene = plain_scene(64, 64, 24.0f);
    scene.material.unlitMode = 0;
    scene.material.environment_texture = cube;
    scene.material.reflectivityAmount = 1.0f;
    set_colour(scene.material.modelColor, 0.0f, 0.0f, 0.0f, 1.0f);
    host_image image(64, 64, 1);
    render_frame(*proxy, image, 0, {scene});
    image.save("environment_mirror");
    qvsdk::release_texture(thread, cube);

    for (int c = 1; c < 4; ++c)
        EXPECT_NEAR(image.channel(32, 32, c), colour[c], 2.0f / 255) << c;
}

TEST_F(Frames, IlluminationLightsTheShadowUnlessShadowLightFadesIt)
{
    scene_properties scene = plain_scene(64, 64, 24.0f);
    scene.material.unlitMode = 0;
    set_colour(scene.material.illuminationColor, 1.0f, 0.0f, 0.0f, 1.0f);
    host_image image(64, 64, 1);
    render_frame(*proxy, image, 0, {scene});
    image.save("illumination_in_shadow");
    // No lights: all of the sphere is in shadow, where the illumination shows.
    EXPECT_NEAR(image.channel(32, 32, 1), 1.0f, 1.0f / 255);
    EXPECT_EQ(image.channel(32, 32, 2), 0.0f);
    EXPECT_NEAR(image.channel(20, 40, 1), 1.0f, 1.0f / 255);
    expect_shading(image, scene, {{32, 32}, {20, 40}});

    scene.material.illuminationShadowLight = 1.0f;
    render_frame(*proxy, image, 0, {scene});
    EXPECT_EQ(image.channel(32, 32, 1), 0.0f);
    EXPECT_EQ(image.channel(32, 32, 0), 1.0f);
}

TEST_F(Frames, FullEdgeShrinkWithoutFeatherHidesTheSphere)
{
    scene_properties scene = plain_scene(64, 64, 24.0f);
    scene.material.edgeShrink = 1.0f;
    host_image image(64, 64, 1);
    render_frame(*proxy, image, 0, {scene});
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            ASSERT_EQ(image.channel(x, y, 0), 0.0f) << x << ", " << y;

    // A feather alone fades the rim and leaves the centre opaque.
    scene.material.edgeShrink = 0.0f;
    scene.material.edgeFeather = 0.5f;
    render_frame(*proxy, image, 0, {scene});
    image.save("edge_feather");
    EXPECT_EQ(image.channel(32, 32, 0), 1.0f);
    EXPECT_LT(image.channel(32 + 22, 32, 0), 0.5f);
    EXPECT_GT(image.channel(32 + 22, 32, 0), 0.0f);
}

TEST_F(Frames, SpecularHighlightFacesTheLight)
{
    scene_properties scene = plain_scene(64, 64, 24.0f);
    scene.material.unlitMode = 0;
    scene.material.diffuseAmount = 0.0f;
    scene.material.specularAmount = 1.0f;
    scene.material.glossinessAmount = 0.8f;
    // Along the view: the highlight sits in the middle.
    scene.lights = {make_light(0, {1, 1, 1, 1}, {}, {0, 0, 1})};
    host_image image(64, 64, 4);
    render_frame(*proxy, image, 0, {scene});
    image.save("specular");
    const float centre = image.channel(32, 32, 1);
    EXPECT_GT(centre, 1.0f);
    EXPECT_LT(image.channel(32 + 18, 32, 1), centre * 0.2f);
    expect_shading(image, scene, {{32, 32}, {32 + 4, 32 - 3}, {32 + 18, 32}});

    scene.material.specularAmount = 0.0f;
    render_frame(*proxy, image, 0, {scene});
    EXPECT_EQ(image.channel(32, 32, 1), 0.0f);
}

TEST_F(Frames, SpotLightWithoutFeatherLightsOnlyInsideItsCone)
{
    scene_properties scene = plain_scene(64, 64, 24.0f);
    scene.material.unlitMode = 0;
    qvsdk::light_properties spot = make_light(1, {1, 1, 1, 1}, {32, 32, -200}, {0, 0, 1});
    // A cone 12 pixels wide in radius where it meets the front of the sphere.
    spot.cone_angle = 2.0f * std::atan(12.0f / 176.0f) * 180.0f / 3.14159265f;
    scene.lights = {spot};
    host_image image(64, 64, 4);
    render_frame(*proxy, image, 0, {scene});
    image.save("spot_light");
    EXPECT_NEAR(image.channel(32, 32, 1), 1.0f, 0.01f);
    EXPECT_GT(image.channel(32 + 7, 32, 1), 0.9f);  // full light up to the cone's edge
    EXPECT_EQ(image.channel(32 + 16, 32, 1), 0.0f);
    EXPECT_EQ(image.channel(32, 32 - 16, 1), 0.0f);
    expect_shading(image, scene, {{32, 32}, {32 + 7, 32}, {32 - 5, 32 + 5}, {32 + 16, 32}});
}

TEST_F(Frames, NormalMapFromABumpLayerTiltsTheLighting)
{
    qvsdk::RenderThread& thread = proxy->render_thread();
    host_image flat(32, 32, 4), ramp(32, 32, 4);
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const float grey[4] = {1, 0.5f, 0.5f, 0.5f};
            const float v = x * 0.05f;
            const float rising[4] = {1, v, v, v};
            flat.set(x, y, grey);
            ramp.set(x, y, rising);
        }
    }
    host_image image(64, 64, 4);
    qvsdk::set_render_size(thread, 0, frame_for(image));
    const unsigned flat_source = qvsdk::load_layer_texture(thread, flat.buffer());
    const unsigned ramp_source = qvsdk::load_layer_texture(thread, ramp.buffer());
    const unsigned flat_normals = qvsdk::bump_to_normal(thread, flat_source, 32, 32);
    const unsigned ramp_normals = qvsdk::bump_to_normal(thread, ramp_source, 32, 32);

    scene_properties scene = plain_scene(64, 64, 24.0f);
    scene.material.unlitMode = 0;
    scene.lights = {make_light(0, {1, 1, 1, 1}, {}, {1, 0, 1})}; // from the left and the front

    render_frame(*proxy, image, 0, {scene});
    const float plain = image.channel(32, 32, 1);
    scene.material.normal_texture = flat_normals;
    render_frame(*proxy, image, 0, {scene});
    EXPECT_NEAR(image.channel(32, 32, 1), plain, 2e-3f) << "a flat map changes nothing";
    scene.material.normal_texture = ramp_normals;
    render_frame(*proxy, image, 0, {scene});
    image.save("normal_map_ramp");
    // Height rising to the right tilts the surface toward the light on the left.
    EXPECT_GT(image.channel(32, 32, 1), plain + 0.05f);

    for (unsigned texture : {flat_source, ramp_source, flat_normals, ramp_normals})
        qvsdk::release_texture(thread, texture);
}
