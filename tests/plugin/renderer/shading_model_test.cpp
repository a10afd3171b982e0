// The sphere's shading term by term: each case renders a small 32-bit frame and
// compares a grid of pixels with the value worked out on the CPU.
#include "frame_fixture.h"
#include "shading_reference.h"

#include "plugin/renderer/render_jobs.h"
#include "plugin/renderer/render_thread.h"

#include <gtest/gtest.h>

#include <GL/glew.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

using namespace qvtest;
using qvsdk::light_properties;
using qvsdk::scene_properties;

namespace {

constexpr int frame_size = 64;
constexpr float sphere_radius = 26.0f;
constexpr double pi = 3.14159265358979323846;

// A map whose red and green are its own texture coordinates: filtering at any
// level reproduces the coordinates, so the expected sample is known exactly.
rgba ramp(double s, double t) { return {s, t, 0.2 + 0.6 * s * t, 1.0}; }

// A tangent-space normal tilted toward +x and +y, packed into 0..1.
rgba tilted_normal(double, double)
{
    const double n[3] = {0.3, 0.5, 0.81};
    const double length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
    return {0.5 + 0.5 * n[0] / length, 0.5 + 0.5 * n[1] / length, 0.5 + 0.5 * n[2] / length, 1};
}

light_properties parallel_light(float x, float y, float z, float r, float g, float b)
{
    return make_light(0, {r, g, b, 1.0f}, {}, {x, y, z});
}

class ShadingModel : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        proxy = new qvsdk::RendererProxy(std::make_unique<qvsdk::RenderThread>());
        proxy->load_sphere_model();
        ramp_texture = upload(64, 64, ramp);
        normal_texture = upload(8, 8, tilted_normal);
    }
    static void TearDownTestSuite()
    {
        for (unsigned texture : {ramp_texture, normal_texture})
            qvsdk::release_texture(proxy->render_thread(), texture);
        delete proxy;
        proxy = nullptr;
    }

    static unsigned upload(int width, int height, rgba (*map)(double, double))
    {
        host_image layer(width, height, 4);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const rgba c = map((x + 0.5) / width, (y + 0.5) / height);
                const float argb[4] = {float(c[3]), float(c[0]), float(c[1]), float(c[2])};
                layer.set(x, y, argb);
            }
        }
        return qvsdk::load_layer_texture(proxy->render_thread(), layer.buffer());
    }

    static reference_maps ramp_maps()
    {
        reference_maps maps;
        maps.diffuse = maps.glossiness = maps.illumination = ramp;
        maps.normal = tilted_normal;
        return maps;
    }

    // Renders the scene into a 32-bit frame and compares every fourth pixel of the
    // disc's inner part with the expected pixel; returns how many were compared.
    static int compare_frame(const scene_properties& scene, const reference_maps& maps,
                             const std::string& name, int size = frame_size)
    {
        host_image image(size, size, 4);
        render_frame(*proxy, image, 0, {scene});
        image.save(name);
        const double inner = projected_radius(scene.scale) * 0.92;
        int compared = 0, mismatched = 0;
        for (int y = 1; y < size; y += 4) {
            for (int x = 1; x < size; x += 4) {
                if (std::hypot(x + 0.5 - scene.translation[0], y + 0.5 - scene.translation[1]) >
                    inner)
                    continue;
                const std::optional<rgba> expected = expected_pixel(scene, size, size, x, y, maps);
                if (!expected)
                    continue;
                for (int c = 0; c < 4; ++c) {
                    const double e = (*expected)[c];
                    const double got = image.channel(x, y, c);
                    if (std::fabs(got - e) <= 0.004 + 0.01 * std::fabs(e))
                        continue;
                    if (++mismatched <= 3)
                        ADD_FAILURE() << name << " at " << x << ", " << y << " channel " << c
                                      << ": " << got << ", expected " << e;
                }
                ++compared;
            }
        }
        EXPECT_EQ(mismatched, 0) << name;
        return compared;
    }

    static qvsdk::RendererProxy* proxy;
    static unsigned ramp_texture;
    static unsigned normal_texture;
};

qvsdk::RendererProxy* ShadingModel::proxy = nullptr;
unsigned ShadingModel::ramp_texture = 0;
unsigned ShadingModel::normal_texture = 0;

struct shading_case {
    const char* name;
    std::function<void(scene_properties&, unsigned ramp, unsigned normals)> set_up;
};

} // namespace

TEST_F(ShadingModel, EachTermMatchesItsEquation)
{
    const shading_case cases[] = {
        {"ggx_specular_and_diffuse",
         [](scene_properties& s, unsigned, unsigned) {
             s.material.unlitMode = 0;
             s.material.diffuseAmount = 0.4f;
             s.material.specularAmount = 0.8f;
             s.material.glossinessAmount = 0.55f;
             s.lights = {parallel_light(0.5f, 0.4f, 1.0f, 0.9f, 0.7f, 0.5f)};
         }},
        {"glossiness_map_gamma_and_brightness",
         [](scene_properties& s, unsigned map, unsigned) {
             s.material.unlitMode = 0;
             s.material.diffuseAmount = 0.0f;
             s.material.specularAmount = 0.5f;
             s.material.glossinessAmount = 1.0f;
             s.material.glossiness_texture = map;
             s.material.glossinessGamma = 0.5f;
             s.material.glossinessBrightness = 1.4f;
             s.lights = {parallel_light(0.2f, 0.3f, 1.0f, 1.0f, 1.0f, 1.0f)};
         }},
        {"diffuse_map_gamma_blend_brightness",
         [](scene_properties& s, unsigned map, unsigned) {
             s.material.diffuse_texture = map;
             s.material.diffuseGamma = 2.2f;
             s.material.diffuseBlend = 0.8f;
             s.material.diffuseBrightness = 0.6f;
         }},
        {"illumination_map_and_positive_fresnel",
         [](scene_properties& s, unsigned map, unsigned) {
             set_colour(s.material.modelColor, 0.0f, 0.0f, 0.0f, 1.0f);
             s.material.illumination_texture = map;
             s.material.illuminationGamma = 1.8f;
             s.material.illuminationBrightness = 1.5f;
             set_colour(s.material.illuminationColor, 0.9f, 0.7f, 0.5f, 1.0f);
             s.material.illuminationFresnel = 0.8f;
             s.material.illuminationFresnelBias = 2.0f;
         }},
        {"negative_fresnel",
         [](scene_properties& s, unsigned, unsigned) {
             set_colour(s.material.modelColor, 0.0f, 0.0f, 0.0f, 1.0f);
             set_colour(s.material.illuminationColor, 1.0f, 1.0f, 0.5f, 1.0f);
             s.material.illuminationFresnel = -0.7f;
             s.material.illuminationFresnelBias = 0.8f;
         }},
        {"normal_map",
         [](scene_properties& s, unsigned, unsigned normals) {
             s.material.unlitMode = 0;
             s.material.normal_texture = normals;
             s.material.normalAmount = 0.8f;
             s.lights = {parallel_light(0.0f, 1.0f, 0.6f, 1.0f, 1.0f, 1.0f)};
         }},
        {"normal_map_inverted_green",
         [](scene_properties& s, unsigned, unsigned normals) {
             s.material.unlitMode = 0;
             s.material.normal_texture = normals;
             s.material.normalAmount = 0.8f;
             s.material.normalInvertGreen = 1;
             s.material.uvRotation = 0.8f;  // the map's x and y turn back by it
             s.lights = {parallel_light(0.0f, 1.0f, 0.6f, 1.0f, 1.0f, 1.0f)};
         }},
        {"clip_lighting_and_bump_influence",
         [](scene_properties& s, unsigned, unsigned normals) {
             s.material.unlitMode = 0;
             s.material.normal_texture = normals;
             s.material.normalAmount = 1.0f;
             s.material.clipLighting = 0.7f;
             s.material.illuminationBumpInfluence = 0.6f;
             set_colour(s.material.illuminationColor, 0.0f, 0.8f, 0.0f, 1.0f);
             s.material.illuminationShadowLight = 0.5f;  // so the light amount shows
             s.material.illuminationFresnel = 0.6f;      // and the bumped facing
             s.material.illuminationFresnelBias = 1.5f;
             // Grazing light from the right and the back: the tilted normals see it
             // where the geometric surface does not.
             s.lights = {parallel_light(-1.0f, -0.3f, -0.15f, 1.0f, 0.9f, 0.8f)};
         }},
        {"spot_light_with_feather",
         [](scene_properties& s, unsigned, unsigned) {
             s.material.unlitMode = 0;
             light_properties spot = make_light(1, {1, 1, 1, 1}, {32, 32, -200}, {0, 0, 1});
             spot.cone_angle = 2.0f * float(std::atan(20.0 / 174.0) * 180.0 / pi);
             spot.cone_feather = 0.7f;
             s.lights = {spot};
         }},
        {"ambient_and_point_light",
         [](scene_properties& s, unsigned, unsigned) {
             s.material.unlitMode = 0;
             s.material.ambientAmount = 0.6f;
             s.material.diffuseAmount = 0.7f;
             s.material.modelColor[2] = 0.5f;
             s.lights = {make_light(3, {0.2f, 0.4f, 0.6f, 1.0f}),
                         make_light(2, {0.8f, 0.8f, 0.8f, 0.8f}, {-60, 10, -80})};
         }},
        {"illumination_in_shadow_and_light",
         [](scene_properties& s, unsigned, unsigned) {
             s.material.unlitMode = 0;
             s.material.diffuseAmount = 0.3f;
             set_colour(s.material.illuminationColor, 0.2f, 0.6f, 1.0f, 1.0f);
             s.material.illuminationShadowLight = 0.3f;
             s.material.illuminationShadowLightContrast = 2.0f;
             s.material.illuminationShadowLightExpand = 0.2f;
             s.lights = {parallel_light(1.0f, 0.0f, 0.5f, 1.0f, 1.0f, 1.0f)};
         }},
        {"unlit_illumination_in_full_light",
         [](scene_properties& s, unsigned, unsigned) {
             // Unlit counts as full light: the shadow part goes, the light part stays.
             set_colour(s.material.modelColor, 0.0f, 0.0f, 0.0f, 1.0f);
             set_colour(s.material.illuminationColor, 0.4f, 0.8f, 0.6f, 1.0f);
             s.material.illuminationShadowLight = 0.6f;
             s.material.illuminationShadowLightExpand = -0.3f;
         }},
        {"illumination_fading_the_lit_side",
         [](scene_properties& s, unsigned, unsigned) {
             s.material.unlitMode = 0;
             set_colour(s.material.illuminationColor, 1.0f, 0.5f, 0.0f, 1.0f);
             s.material.illuminationShadowLight = -0.6f;
             s.material.illuminationShadowLightContrast = 0.5f;
             s.lights = {parallel_light(1.0f, 0.0f, 0.5f, 1.0f, 1.0f, 1.0f)};
         }},
        {"soft_edge",
         [](scene_properties& s, unsigned, unsigned) {
             set_colour(s.material.modelColor, 0.8f, 0.5f, 0.2f, 1.0f);
             s.material.edgeFeather = 0.6f;
             s.material.edgeShrink = 0.25f;
         }},
    };
    for (const shading_case& c : cases) {
        scene_properties scene = plain_scene(frame_size, frame_size, sphere_radius);
        c.set_up(scene, ramp_texture, normal_texture);
        EXPECT_GT(compare_frame(scene, ramp_maps(), std::string("shading_") + c.name), 80)
            << c.name;
    }

    // Each mapping of the diffuse map, turned, scaled and moved.
    struct mapping_case {
        const char* name;
        std::uint32_t uv_type;
        float rotation, repeat[2], offset[2], feathering;
    };
    const mapping_case mappings[] = {
        {"spherical", 1, 0.6f, {0.9f, 1.2f}, {0.05f, -0.1f}, 1.0f},
        {"box", 2, 0.5f, {0.8f, 0.7f}, {0.0f, 0.0f}, 0.8f},
        {"xy", 3, 0.5f, {0.8f, 0.6f}, {0.04f, 0.0f}, 1.0f},
        {"xz", 4, -0.7f, {0.8f, 0.6f}, {0.0f, 0.0f}, 1.0f},
        {"zy", 5, 0.9f, {0.7f, 0.8f}, {0.0f, 0.05f}, 1.0f},
    };
    for (const mapping_case& c : mappings) {
        scene_properties scene = plain_scene(frame_size, frame_size, sphere_radius);
        qvsdk::material_properties& m = scene.material;
        m.diffuse_texture = ramp_texture;
        m.uvType = c.uv_type;
        m.uvRotation = c.rotation;
        for (int i = 0; i < 2; ++i) {
            m.uvRepeat[i] = c.repeat[i];
            m.uvOffset[i] = c.offset[i];
        }
        m.uv_feathering = c.feathering;
        EXPECT_GT(compare_frame(scene, ramp_maps(), std::string("shading_") + c.name + "_mapping_rotated"), 80)
            << c.name;
    }
}

TEST_F(ShadingModel, EnvironmentReflectionRotationAndBlurLevel)
{
    // One environment coloured by direction, for where the reflected ray points, and
    // one of sharp stripes, whose blur levels differ clearly, for which level is read.
    qvsdk::RenderThread& thread = proxy->render_thread();
    const unsigned smooth = environment_cube(thread, 256, 128, direction_colour);
    const unsigned striped = environment_cube(thread, 256, 128, striped_colour);
    ASSERT_NE(smooth, 0u);
    ASSERT_NE(striped, 0u);
    std::vector<cube_level> smooth_levels, striped_levels;
    for (int level = 0; level <= 6; ++level) {
        smooth_levels.push_back(read_cube_level(thread, smooth, level));
        striped_levels.push_back(read_cube_level(thread, striped, level));
    }

    struct environment_case {
        const char* name;
        bool stripes;
        float glossiness, reflectivity, model_grey;
        float rotation[4];  // quaternion x, y, z, w
    };
    const float s = float(std::sin(0.35)), c = float(std::cos(0.35));
    const environment_case cases[] = {
        // A mirror: level 0 along the reflected ray, nothing else.
        {"mirror", false, 1.0f, 1.0f, 0.0f, {0, 0, 0, 1}},
        {"mirror_rotated_about_y", false, 1.0f, 1.0f, 0.0f, {0, s, 0, c}},
        {"mirror_rotated_about_x", false, 1.0f, 1.0f, 0.0f, {s, 0, 0, c}},
        // Partial gloss reads levels 2 and 4, with the edge term and the image light.
        {"gloss_level_2_with_image_light", true, 2.0f / 3, 0.3f, 0.5f, {0, 0, s, c}},
        {"gloss_level_4", true, 1.0f / 3, 1.0f, 0.0f, {0, s, 0, c}},
        {"no_gloss", false, 0.0f, 0.6f, 0.3f, {0, 0, 0, 1}},
        // Negative glossiness asks for level 9: the cube stops at level 6.
        {"beyond_the_last_level", true, -0.5f, 1.0f, 0.0f, {0, 0, 0, 1}},
    };
    for (const environment_case& e : cases) {
        const std::vector<cube_level>& levels = e.stripes ? striped_levels : smooth_levels;
        reference_maps maps = ramp_maps();
        // Lookups beyond the last filtered level read level 6.
        maps.environment = [&levels](const vec3d& d, double level) {
            const double clamped = std::fmin(std::fmax(level, 0.0), 6.0);
            EXPECT_NEAR(clamped, std::round(clamped), 1e-4) << "between levels";
            return levels[static_cast<std::size_t>(std::lround(clamped))].lookup(d);
        };
        scene_properties scene = plain_scene(frame_size, frame_size, sphere_radius);
        qvsdk::material_properties& m = scene.material;
        m.environment_texture = e.stripes ? striped : smooth;
        m.glossinessAmount = e.glossiness;
        m.reflectivityAmount = e.reflectivity;
        m.modelColor[0] = m.modelColor[1] = m.modelColor[2] = e.model_grey;
        for (int i = 0; i < 4; ++i)
            m.environmentRotation[i] = e.rotation[i];
        m.environmentGamma = 1.3f;
        m.environmentBrightness = 0.9f;
        EXPECT_GT(compare_frame(scene, maps, std::string("environment_") + e.name), 80) << e.name;
    }
    qvsdk::release_texture(thread, smooth);
    qvsdk::release_texture(thread, striped);
}

TEST_F(ShadingModel, AccumulatedSamplesLeaveTheirWeightedMean)
{
    // Four samples of unequal colour and coverage with weights 1, 1/2, 1/3, 1/4: the
    // result is the plain mean of the premultiplied samples, which no swap of the
    // blend factors leaves.
    std::vector<scene_properties> samples;
    const float colours[4][3] = {{1.0f, 0.1f, 0.2f}, {0.2f, 0.9f, 0.1f}, {0.1f, 0.3f, 1.0f},
                                 {0.9f, 0.8f, 0.05f}};
    for (int k = 0; k < 4; ++k) {
        scene_properties scene = plain_scene(frame_size, frame_size, 20.0f);
        scene.translation[0] += 4.0f * k - 6.0f;
        for (int c = 0; c < 3; ++c)
            scene.material.modelColor[c] = colours[k][c];
        scene.material.edgeFeather = 0.3f * k;  // unequal alpha too
        samples.push_back(scene);
    }
    host_image image(frame_size, frame_size, 4);
    render_frame(*proxy, image, 0, samples);
    image.save("accumulated_four_samples");

    const reference_maps maps = ramp_maps();
    int compared = 0;
    for (int y = 2; y < frame_size; y += 3) {
        for (int x = 2; x < frame_size; x += 3) {
            rgba mean{};
            bool rim = false;
            for (const scene_properties& scene : samples) {
                const double d = std::hypot(x + 0.5 - scene.translation[0],
                                            y + 0.5 - scene.translation[1]);
                const double edge = projected_radius(scene.scale);
                rim = rim || std::fabs(d - edge) < 1.5;
                const std::optional<rgba> f =
                    expected_fragment(scene, frame_size, frame_size, x, y, maps);
                for (int c = 0; c < 4 && f; ++c)
                    mean[c] += (*f)[c] / samples.size();
            }
            if (rim || mean[3] < 0.05)
                continue;
            EXPECT_NEAR(image.channel(x, y, 0), mean[3], 0.004) << x << ", " << y;
            for (int c = 0; c < 3; ++c)
                EXPECT_NEAR(image.channel(x, y, c + 1), mean[c] / mean[3], 0.006)
                    << x << ", " << y << " channel " << c;
            ++compared;
        }
    }
    EXPECT_GT(compared, 60);
}

TEST_F(ShadingModel, FrontFacesBlendOverBackFacesWithTheirSoftEdgeAlpha)
{
    // Both sides drawn: the back faces first, replacing, then the front faces with
    // source alpha on premultiplied colour and (1, 1 - source alpha) for alpha.
    scene_properties scene = plain_scene(frame_size, frame_size, sphere_radius);
    scene.material.surface = 1;
    scene.material.diffuse_texture = ramp_texture;
    scene.material.uvType = 4;  // the far side reads other texels than the near side
    scene.material.uvRepeat[0] = scene.material.uvRepeat[1] = 0.8f;
    scene.material.edgeFeather = 0.9f;
    host_image image(frame_size, frame_size, 4);
    render_frame(*proxy, image, 0, {scene});
    image.save("front_over_back");

    const reference_maps maps = ramp_maps();
    const double inner = projected_radius(scene.scale) * 0.9;
    int compared = 0;
    for (int y = 1; y < frame_size; y += 4) {
        for (int x = 1; x < frame_size; x += 4) {
            if (std::hypot(x + 0.5 - 32, y + 0.5 - 32) > inner)
                continue;
            const auto back = expected_fragment(scene, frame_size, frame_size, x, y, maps, 0.03, true);
            const auto front = expected_fragment(scene, frame_size, frame_size, x, y, maps);
            if (!back || !front)
                continue;
            const double a = (*front)[3];
            const double alpha = a + (1 - a) * (*back)[3];
            EXPECT_NEAR(image.channel(x, y, 0), alpha, 0.004) << x << ", " << y;
            for (int c = 0; c < 3; ++c) {
                const double colour = a * (*front)[c] + (1 - a) * (*back)[c];
                EXPECT_NEAR(image.channel(x, y, c + 1), colour / alpha,
                            0.004 + 0.01 * colour / alpha)
                    << x << ", " << y << " channel " << c;
            }
            ++compared;
        }
    }
    EXPECT_GT(compared, 60);
}

TEST_F(ShadingModel, OutputExponentAtEveryDepth)
{
    scene_properties scene = plain_scene(frame_size, frame_size, sphere_radius);
    scene.material.diffuse_texture = ramp_texture;
    scene.material.edgeFeather = 0.5f;
    scene.inverse_gamma = 0.5f;
    const reference_maps maps = ramp_maps();
    host_image floats(frame_size, frame_size, 4);
    for (int bytes : {4, 2, 1}) {
        host_image image(frame_size, frame_size, bytes, bytes == 2 ? 6 : 0);
        render_frame(*proxy, bytes == 4 ? floats : image, 0, {scene});
        if (bytes == 4) {
            floats.save("output_exponent_32bit");
            image = floats;
        } else {
            image.save("output_exponent_" + std::to_string(bytes * 8) + "bit");
        }
        int compared = 0, truncated = 0;
        for (int y = 1; y < frame_size; y += 2) {
            for (int x = 1; x < frame_size; x += 2) {
                if (std::hypot(x + 0.5 - 32, y + 0.5 - 32) > projected_radius(scene.scale) - 1.5)
                    continue;
                const auto expected = expected_pixel(scene, frame_size, frame_size, x, y, maps);
                if (!expected)
                    continue;
                for (int c = 0; c < 4; ++c) {
                    const double e = std::fmin((*expected)[c], 1.0);
                    const double quantum = bytes == 1 ? 1.0 / 255 : bytes == 2 ? 1.0 / 32768 : 0;
                    EXPECT_NEAR(image.channel(x, y, c), e, quantum + 0.004 + 0.01 * e)
                        << bytes << " bytes at " << x << ", " << y << " channel " << c;
                    if (bytes == 4)
                        continue;
                    // The same frame in floats, truncated: 8 bits to 1/255, 16 bits to
                    // half of 65535 steps. Values on a step's edge are left out.
                    const double full = std::fmin(floats.channel(x, y, c), 1.0) * (bytes == 1 ? 255 : 65535);
                    const double edge = bytes == 1 ? 1e-3 : 1e-2;  // float rounding of the product
                    if (full - std::floor(full) < edge || full - std::floor(full) > 1 - edge)
                        continue;
                    const double levels = bytes == 1 ? std::floor(full) : std::floor(std::floor(full) / 2);
                    EXPECT_EQ(std::lround(image.channel(x, y, c) * (bytes == 1 ? 255 : 32768)),
                              std::lround(levels))
                        << bytes << " bytes at " << x << ", " << y << " channel " << c;
                    ++truncated;
                }
                ++compared;
            }
        }
        EXPECT_GT(compared, 300) << bytes;
        if (bytes != 4) {
            EXPECT_GT(truncated, 1000) << bytes;
        }
    }
}
