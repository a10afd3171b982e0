// What the effect hands the renderer for a frame: the material and scene, the lights,
// the camera and the times of the motion-blur samples, each field checked against
// the value the parameters and the composition call for.

#include "plugin/ae_plugin_connection.h"
#include "in_process_effect.h"
#include "plugin/camera.h"
#include "plugin/parameter_ids.h"
#include "tools/qvhost/generated_images.h"
#include "tools/qvhost/render_command.h"
#include "tools/qvhost/test_host.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr double pi = 3.14159265358979323846;
constexpr A_long frame_units = qvhost::test_host::frame_duration;

// Keeps the frame record the host's buffers gave and, when asked, builds the camera
// once more at the frame's own time from that record.
class RecordingConnection : public AePluginConnection {
public:
    void smart_render(command_context& context, qvsdk::render_data& frame) override
    {
        AePluginConnection::smart_render(context, frame);
        frame_seen = frame;
        if (rebuild_camera)
            build_camera(camera_seen, context, frame);
    }

    bool rebuild_camera = false;
    qvsdk::render_data frame_seen{};
    qvsdk::render_properties camera_seen{};
};

class EffectRecords : public ::testing::Test {
protected:
    void SetUp() override
    {
        connection = std::make_unique<RecordingConnection>();
        in_process_plugin = connection.get();
        host = std::make_unique<qvhost::test_host>(in_process_entry);
        host->comp.width = 80;
        host->comp.height = 48;
        ASSERT_EQ(host->global_setup(), PF_Err_NONE);
        ASSERT_EQ(host->params_setup(), PF_Err_NONE);
        host->sequence_setup(instance);
        set("11", "40,24,0");
        set("16", "10");
    }

    void TearDown() override
    {
        host->fault = nullptr;
        if (instance.sequence_data)
            host->sequence_setdown(instance);
        host->global_setdown();
        host.reset();
        connection.reset();
        in_process_plugin = nullptr;
    }

    void set(const std::string& id, const std::string& value)
    {
        qvhost::set_value(*host, std::stol(id), value);
    }

    long add_layer(qvhost::host_layer layer)
    {
        host->comp.layers.push_back(std::move(layer));
        return static_cast<long>(host->comp.layers.size() - 1);
    }

    const qvsdk::scene_properties& render_scene()
    {
        const qvhost::rendered_frame frame = host->render(instance);
        EXPECT_EQ(frame.err, PF_Err_NONE);
        return connection->renderer_proxy->last_scene();
    }

    // The host's current time at each camera query of a frame: one per sample.
    std::vector<A_long> sample_times()
    {
        std::vector<A_long> times;
        qvhost::test_host& h = *host;
        host->fault = [&times, &h](const std::string& call) {
            if (call == "AEGP_GetEffectCameraMatrix")
                times.push_back(h.time());
        };
        EXPECT_EQ(host->render(instance).err, PF_Err_NONE);
        host->fault = nullptr;
        return times;
    }

    std::unique_ptr<RecordingConnection> connection;
    std::unique_ptr<qvhost::test_host> host;
    qvhost::test_host::instance instance;
};

// Three 16.16 degree angles to the quaternion: half angles, the x-y-z product with
// w carrying the negative sign.
std::vector<double> quaternion_of(PF_Fixed x, PF_Fixed y, PF_Fixed z)
{
    const double hx = x / 65536.0 * pi / 180 / 2, hy = y / 65536.0 * pi / 180 / 2,
                 hz = z / 65536.0 * pi / 180 / 2;
    const double sx = std::sin(hx), cx = std::cos(hx), sy = std::sin(hy), cy = std::cos(hy),
                 sz = std::sin(hz), cz = std::cos(hz);
    return {sx * cy * cz + cx * sy * sz, cx * sy * cz - sx * cy * sz, cx * cy * sz + sx * sy * cz,
            sx * sy * sz - cx * cy * cz};
}

void expect_quaternion(const float* actual, const std::vector<double>& expected, const char* what)
{
    for (int i = 0; i < 4; ++i)
        EXPECT_NEAR(actual[i], expected[static_cast<std::size_t>(i)], 2e-4) << what << " " << i;
}

TEST_F(EffectRecords, EveryMaterialAndSceneParameterReachesItsOwnField)
{
    struct slider {
        A_long id;
        float qvsdk::material_properties::*field;
    };
    using M = qvsdk::material_properties;
    const slider sliders[] = {
        {param_id::diffuse_blend, &M::diffuseBlend},
        {param_id::edge_feather, &M::edgeFeather},
        {param_id::edge_shrink, &M::edgeShrink},
        {param_id::diffuse_gamma, &M::diffuseGamma},
        {param_id::glossiness_gamma, &M::glossinessGamma},
        {param_id::illumination_gamma, &M::illuminationGamma},
        {param_id::environment_gamma, &M::environmentGamma},
        {param_id::diffuse_brightness, &M::diffuseBrightness},
        {param_id::glossiness_brightness, &M::glossinessBrightness},
        {param_id::illumination_brightness, &M::illuminationBrightness},
        {param_id::environment_brightness, &M::environmentBrightness},
        {param_id::bump_intensity, &M::normalAmount},
        {param_id::bump_falloff, &M::clipLighting},
        {param_id::fresnel, &M::illuminationFresnel},
        {param_id::fresnel_bias, &M::illuminationFresnelBias},
        {param_id::shadow_light, &M::illuminationShadowLight},
        {param_id::shadow_light_contrast, &M::illuminationShadowLightContrast},
        {param_id::shadow_light_expansion, &M::illuminationShadowLightExpand},
        {param_id::bump_influence, &M::illuminationBumpInfluence},
        {param_id::reflectivity, &M::reflectivityAmount},
        {param_id::ambient, &M::ambientAmount},
        {param_id::diffuse, &M::diffuseAmount},
        {param_id::glossiness, &M::glossinessAmount},
        {param_id::specular, &M::specularAmount},
        {param_id::box_uv_feathering, &M::uv_feathering},
    };
    // Distinct values, none of them a default, so a slider read into another
    // slider's field shows.
    auto value_of = [](std::size_t i) { return 0.15 + 0.0371 * static_cast<double>(i); };
    for (std::size_t i = 0; i < std::size(sliders); ++i)
        host->value_by_id(sliders[i].id).u.fs_d.value = value_of(i);
    set("703", "2.5");   // UV Repeat X
    set("704", "3.75");  // UV Repeat Y
    set("705", "0.125"); // UV Offset X
    set("706", "-0.375");
    set("210", "0.6");   // Opacity
    set("206", "1.25");  // Illumination
    set("2004", "2.5");  // Gamma
    set("16", "13.5");   // Radius
    set("11", "30,20,7");
    set("50", "3");      // Surface: Back
    set("702", "5");     // UV Type: Plane ZY
    set("708", "2");     // UV Mode: Mirror
    set("10", "2");      // 3D Object: Hemisphere
    set("2003", "1");    // Unlit Only
    set("511", "1");     // Use Normal Map
    set("516", "1");     // Flip Normal Channels
    set("12", "30");
    set("13", "-45");
    set("14", "100");
    set("522", "10");
    set("523", "200");
    set("524", "-35");
    set("709", "33");    // UV Rotation
    host->value_by_id(param_id::color).u.cd.value = PF_Pixel{255, 51, 102, 153};
    host->value_by_id(param_id::illumination_color).u.cd.value = PF_Pixel{204, 10, 20, 30};
    // Half resolution on a layer of pixels 1.5 wide in a square-pixel composition.
    host->set_downsample(1, 2);
    host->comp.layers[host->comp.effect_layer].pixel_aspect = A_Ratio{3, 2};
    // Five different map layers.
    const A_long maps[] = {param_id::diffuse_layer, param_id::glossiness_layer,
                           param_id::illumination_layer, param_id::bump_layer,
                           param_id::environment_layer};
    for (int i = 0; i < 5; ++i)
        host->use_layer(maps[i], add_layer(qvhost::footage_layer(
                                     "map", qvhost::solid_image(16, 8,
                                                                PF_Pixel8{255, A_u_char(40 * i),
                                                                          90, 200}))));

    const qvsdk::scene_properties& scene = render_scene();
    const qvsdk::material_properties& m = scene.material;
    for (std::size_t i = 0; i < std::size(sliders); ++i)
        EXPECT_FLOAT_EQ(m.*sliders[i].field, static_cast<float>(value_of(i)))
            << "parameter " << sliders[i].id;
    EXPECT_FLOAT_EQ(m.uvRepeat[0], 2.5f);
    EXPECT_FLOAT_EQ(m.uvRepeat[1], 3.75f);
    EXPECT_FLOAT_EQ(m.uvOffset[0], 0.125f);
    EXPECT_FLOAT_EQ(m.uvOffset[1], -0.375f);
    EXPECT_EQ(m.surface, 3u);
    EXPECT_EQ(m.uvType, 5u);
    EXPECT_EQ(m.uv_mode, 2u);
    EXPECT_EQ(m.flattenBottom, 1u);
    EXPECT_EQ(m.unlitMode, 1u);
    EXPECT_EQ(m.normalInvertGreen, 1u);
    // Colours: 8-bit channels over 255; the illumination colour times "Illumination".
    const float expected_model[4] = {51 / 255.0f, 102 / 255.0f, 153 / 255.0f, 0.6f};
    const float expected_glow[4] = {10 / 255.0f * 1.25f, 20 / 255.0f * 1.25f,
                                    30 / 255.0f * 1.25f, 204 / 255.0f * 1.25f};
    for (int i = 0; i < 4; ++i) {
        EXPECT_NEAR(m.modelColor[i], expected_model[i], 1e-6f) << i;
        EXPECT_NEAR(m.illuminationColor[i], expected_glow[i], 1e-6f) << i;
    }
    const auto fixed = [this](A_long id) { return host->value_by_id(id).u.ad.value; };
    expect_quaternion(m.environmentRotation,
                      quaternion_of(fixed(param_id::env_rotation_x),
                                    fixed(param_id::env_rotation_y),
                                    fixed(param_id::env_rotation_z)),
                      "environment");
    EXPECT_NEAR(m.uvRotation, fixed(param_id::uv_rotation) / 65536.0 * pi / 180, 1e-6);

    // Each map's texture in its own field: the cache holds them in the order they
    // were made, diffuse to environment, the bump layer kept as a normal map.
    ASSERT_EQ(connection->texture_cache.size(), 5u);
    const std::uint32_t textures[5] = {m.diffuse_texture, m.glossiness_texture,
                                       m.illumination_texture, m.normal_texture,
                                       m.environment_texture};
    const std::uint32_t modes[5] = {0, 0, 0, 0, 2};
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_NE(textures[i], 0u) << i;
        EXPECT_EQ(textures[i], connection->texture_cache[i].texture_id) << i;
        EXPECT_EQ(connection->texture_cache[i].upload_mode, modes[i]) << i;
    }

    // The transform: position times the layer's pixel aspect and the downsampling
    // factor (the host gives points at the current downsampling); the radius as it
    // is; one over the gamma.
    const float a = 1.5f, k = 2.0f, given = 0.5f;
    EXPECT_FLOAT_EQ(scene.translation[0], 30 * given * a * k);
    EXPECT_FLOAT_EQ(scene.translation[1], 20 * given * k);
    EXPECT_FLOAT_EQ(scene.translation[2], 7 * given * k);
    EXPECT_FLOAT_EQ(scene.translation[3], 0);
    expect_quaternion(scene.rotation,
                      quaternion_of(fixed(param_id::rotation_x), fixed(param_id::rotation_y),
                                    fixed(param_id::rotation_z)),
                      "object");
    EXPECT_FLOAT_EQ(scene.scale, 13.5f);
    EXPECT_FLOAT_EQ(scene.inverse_gamma, 1 / 2.5f);

    // Without "Use Normal Map" the flip switch is not read, and the bump layer is
    // converted to a normal map.
    set("511", "0");
    const qvsdk::scene_properties& plain = render_scene();
    EXPECT_EQ(plain.material.normalInvertGreen, 0u);
    ASSERT_EQ(connection->texture_cache.size(), 5u);
    EXPECT_EQ(connection->texture_cache.back().upload_mode, 1u);
    EXPECT_EQ(plain.material.normal_texture, connection->texture_cache.back().texture_id);
}

// One composition light as the host shows it, and the light record the effect
// should make of it.
struct comp_light {
    qvhost::host_layer layer;
    qvsdk::light_properties expected(float pixel_aspect) const
    {
        qvsdk::light_properties l{};
        const A_Matrix4& t = layer.transform;
        l.position[0] = static_cast<float>(t.mat[3][0] * pixel_aspect);
        l.position[1] = static_cast<float>(t.mat[3][1]);
        l.position[2] = static_cast<float>(t.mat[3][2]);
        const double rgb[3] = {layer.color.red, layer.color.green, layer.color.blue};
        for (int i = 0; i < 3; ++i)
            l.color[i] = static_cast<float>(std::max(0.0, rgb[i] * layer.intensity * 0.01));
        l.color[3] = 1;
        l.lightType = static_cast<std::uint32_t>(layer.light_type);
        l.falloff = static_cast<float>(layer.falloff);
        const bool aimed = layer.light_type == AEGP_LightType_PARALLEL ||
                           layer.light_type == AEGP_LightType_SPOT;
        for (int i = 0; aimed && i < 3; ++i)
            l.direction[i] = static_cast<float>(t.mat[2][i]);
        if (layer.light_type == AEGP_LightType_SPOT) {
            l.cone_angle = static_cast<float>(layer.cone_angle);
            l.cone_feather = static_cast<float>(layer.cone_feather * 0.01);
        }
        return l;
    }
};

void expect_light(const qvsdk::light_properties& actual, const qvsdk::light_properties& expected,
                  std::size_t index)
{
    SCOPED_TRACE("light " + std::to_string(index));
    for (int i = 0; i < 4; ++i) {
        EXPECT_NEAR(actual.position[i], expected.position[i], 1e-3f) << "position " << i;
        EXPECT_NEAR(actual.direction[i], expected.direction[i], 1e-5f) << "direction " << i;
        EXPECT_NEAR(actual.color[i], expected.color[i], 1e-5f) << "color " << i;
    }
    EXPECT_EQ(actual.lightType, expected.lightType);
    EXPECT_FLOAT_EQ(actual.falloff, expected.falloff);
    EXPECT_FLOAT_EQ(actual.cone_angle, expected.cone_angle);
    EXPECT_FLOAT_EQ(actual.cone_feather, expected.cone_feather);
}

qvhost::host_layer light(AEGP_LightType type, const AEGP_ThreeDVal& at, double intensity,
                         AEGP_ColorVal color)
{
    qvhost::host_layer l = qvhost::light_layer(type, at, {40, 18, 0});
    l.intensity = intensity;
    l.color = color;
    return l;
}

TEST_F(EffectRecords, CompositionLightsBecomeOneRecordEachWhileTheyAreOn)
{
    host->comp.pixel_aspect = A_Ratio{2, 1};
    host->comp.layers[host->comp.effect_layer].in_point = 10 * frame_units;
    std::vector<comp_light> lights;
    lights.push_back({light(AEGP_LightType_PARALLEL, {10, 20, -300}, 150, {1, 0.2, 0.4, 0.8})});
    lights.push_back({light(AEGP_LightType_SPOT, {70, 5, -200}, 80, {1, 1, 0.5, 0.25})});
    lights.back().layer.cone_angle = 40;
    lights.back().layer.cone_feather = 30;
    lights.back().layer.falloff = 120;
    lights.push_back({light(AEGP_LightType_POINT, {5, 30, -100}, -50, {1, 1, 1, 1})});
    lights.back().layer.falloff = 60;
    lights.push_back({light(AEGP_LightType_AMBIENT, {0, 0, 0}, 100, {1, 0.5, 0.25, 1})});
    lights.push_back({light(AEGP_LightType_POINT, {20, 20, -50}, 100, {1, 0.3, 0.3, 0.3})});
    lights.back().layer.video_on = false;
    // Starts two frames after the effect's layer.
    lights.push_back({light(AEGP_LightType_POINT, {60, 40, -80}, 120, {1, 0.9, 0.1, 0.6})});
    lights.back().layer.in_point = 12 * frame_units;
    // Ends where the first one starts.
    lights.push_back({light(AEGP_LightType_PARALLEL, {0, 0, -10}, 70, {1, 0.7, 0.8, 0.9})});
    lights.back().layer.in_point = 0;
    lights.back().layer.duration = 12 * frame_units;
    for (const comp_light& l : lights)
        add_layer(l.layer);
    set("2005", "1"); // Use Default Lights: not wanted while the composition has lights

    for (A_long frame : {1, 2}) {
        SCOPED_TRACE("effect frame " + std::to_string(frame));
        host->set_frame(frame);
        const A_long now = (10 + frame) * frame_units; // composition time
        std::vector<qvsdk::light_properties> expected;
        for (const comp_light& l : lights)
            if (l.layer.video_on && l.layer.in_point <= now &&
                now < l.layer.in_point + l.layer.duration)
                expected.push_back(l.expected(2.0f));
        ASSERT_EQ(expected.size(), 5u);
        const std::vector<qvsdk::light_properties> actual = render_scene().lights;
        ASSERT_EQ(actual.size(), expected.size());
        for (std::size_t i = 0; i < actual.size(); ++i)
            expect_light(actual[i], expected[i], i);
    }
}

TEST_F(EffectRecords, WithoutCompositionLightsTheDefaultLightsOrNoneAtAll)
{
    set("2005", "1");
    const std::vector<qvsdk::light_properties> defaults = render_scene().lights;
    ASSERT_EQ(defaults.size(), 2u);
    qvsdk::light_properties key{};
    key.position[0] = key.position[1] = -10000;
    key.direction[0] = key.direction[1] = static_cast<float>(1 / std::sqrt(2.0));
    key.color[0] = key.color[1] = key.color[2] = key.color[3] = 1;
    qvsdk::light_properties fill{};
    fill.lightType = 3;
    fill.color[0] = fill.color[1] = fill.color[2] = fill.color[3] = 0.2f;
    expect_light(defaults[0], key, 0);
    expect_light(defaults[1], fill, 1);

    set("2005", "0");
    const qvhost::rendered_frame frame = host->render(instance);
    ASSERT_EQ(frame.err, PF_Err_NONE);
    EXPECT_TRUE(connection->renderer_proxy->last_scene().lights.empty());
    // The sphere is there, unlit: black.
    const std::array<float, 4> centre = frame.rgba(40, 24);
    EXPECT_GT(centre[3], 0.95f);
    for (int c = 0; c < 3; ++c)
        EXPECT_LT(centre[c], 0.01f) << c;
}

// Column-major 4 x 4 in doubles, element 4 * column + row.
using matrix = std::array<double, 16>;

matrix inverse_of(matrix m)
{
    matrix inv{};
    for (int i = 0; i < 4; ++i)
        inv[4 * i + i] = 1;
    auto at = [](matrix& x, int r, int c) -> double& { return x[4 * c + r]; };
    for (int c = 0; c < 4; ++c) {
        int pivot = c;
        for (int r = c + 1; r < 4; ++r)
            if (std::fabs(at(m, r, c)) > std::fabs(at(m, pivot, c)))
                pivot = r;
        for (int k = 0; k < 4; ++k) {
            std::swap(at(m, c, k), at(m, pivot, k));
            std::swap(at(inv, c, k), at(inv, pivot, k));
        }
        const double d = at(m, c, c);
        for (int k = 0; k < 4; ++k) {
            at(m, c, k) /= d;
            at(inv, c, k) /= d;
        }
        for (int r = 0; r < 4; ++r)
            if (r != c) {
                const double f = at(m, r, c);
                for (int k = 0; k < 4; ++k) {
                    at(m, r, k) -= f * at(m, c, k);
                    at(inv, r, k) -= f * at(inv, c, k);
                }
            }
    }
    return inv;
}

// The camera worked out by hand from what the host reports.
struct expected_camera {
    double view[16];
    double projection[16];
    double size[2];
    double eye[3];
};

expected_camera camera_for(const A_Matrix4& camera, double zoom, bool orthographic,
                           bool camera_layer, double comp_aspect, double layer_aspect,
                           int plane_width, int plane_height, double k, int origin_x,
                           int origin_y, int out_width, int out_height)
{
    expected_camera e{};
    // The host's rows read in order are the columns of camera-to-world.
    matrix to_world{};
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            to_world[4 * r + c] = camera.mat[r][c];
    const matrix inv = inverse_of(to_world);
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r)
            e.view[4 * c + r] = (r == 2 ? -1 : 1) * inv[4 * c + r] * (c == 0 ? 1 / comp_aspect : 1);

    const double f = camera_layer ? layer_aspect : layer_aspect / comp_aspect;
    const double w = plane_width * f, h = plane_height;
    e.size[0] = w;
    e.size[1] = h;
    double x0 = origin_x * k - w / 2, x1 = (origin_x + out_width) * k - w / 2;
    double y0 = origin_y * k - h / 2, y1 = (origin_y + out_height) * k - h / 2;
    double* p = e.projection;
    if (orthographic) {
        p[0] = 2 / (x1 - x0);
        p[12] = -(x1 + x0) / (x1 - x0);
        p[5] = 2 / (y1 - y0);
        p[13] = -(y1 + y0) / (y1 - y0);
        p[10] = -0.000002;
        p[14] = 0.00000002;
        p[15] = 1;
    } else {
        const double s = 0.01 / zoom;
        x0 *= s, x1 *= s, y0 *= s, y1 *= s;
        p[0] = 0.02 / (x1 - x0);
        p[8] = (x1 + x0) / (x1 - x0);
        p[5] = 0.02 / (y1 - y0);
        p[9] = (y1 + y0) / (y1 - y0);
        p[10] = -1;
        p[14] = -0.01;
        p[11] = -1;
    }
    for (int i = 0; i < 3; ++i)
        e.eye[i] = camera.mat[3][i];
    return e;
}

void expect_camera(const qvsdk::render_properties& actual, const expected_camera& e)
{
    auto tolerance = [](double expected) { return 1e-5 + 1e-5 * std::fabs(expected); };
    for (int i = 0; i < 16; ++i) {
        EXPECT_NEAR(actual.viewMatrix[i], e.view[i], tolerance(e.view[i])) << "view " << i;
        EXPECT_NEAR(actual.projMatrix[i], e.projection[i], tolerance(e.projection[i]))
            << "projection " << i;
    }
    EXPECT_NEAR(actual.viewSize[0], e.size[0], 1e-3);
    EXPECT_NEAR(actual.viewSize[1], e.size[1], 1e-3);
    for (int i = 0; i < 3; ++i)
        EXPECT_NEAR(actual.eyePosition[i], e.eye[i], 1e-3) << "eye " << i;
    EXPECT_EQ(actual.eyePosition[3], 0.0f);
}

TEST_F(EffectRecords, CameraCoversExactlyWhatTheOutputBufferShows)
{
    connection->rebuild_camera = true;
    struct case_ {
        const char* name;
        bool camera_layer;
        AEGP_CameraType type;
        A_Ratio comp_aspect, layer_aspect;
        A_u_long downsample;
        PF_LRect area;  // empty: the whole layer
    };
    const case_ cases[] = {
        {"default camera", false, AEGP_CameraType_PERSPECTIVE, {1, 1}, {0, 1}, 1, {}},
        {"default camera, unequal aspects", false, AEGP_CameraType_PERSPECTIVE, {4, 3}, {3, 2},
         1, {}},
        {"perspective layer, unequal aspects", true, AEGP_CameraType_PERSPECTIVE, {4, 3},
         {3, 2}, 1, {}},
        {"orthographic layer", true, AEGP_CameraType_ORTHOGRAPHIC, {1, 1}, {0, 1}, 1, {}},
        {"orthographic, unequal aspects, origin, half size", true,
         AEGP_CameraType_ORTHOGRAPHIC, {4, 3}, {3, 2}, 2, {6, 4, 30, 20}},
        {"perspective, origin", true, AEGP_CameraType_PERSPECTIVE, {1, 1}, {0, 1}, 1,
         {10, 6, 70, 40}},
        {"default camera, origin, half size", false, AEGP_CameraType_PERSPECTIVE, {1, 1},
         {0, 1}, 2, {5, 3, 35, 21}},
    };
    // Off the composition's axis and turned, so the inverse is a general one.
    const long camera = add_layer(qvhost::camera_layer({70, 10, -120}, {30, 30, 0}, 90));
    for (const case_& c : cases) {
        SCOPED_TRACE(c.name);
        qvhost::host_layer& cam = host->comp.layers[static_cast<std::size_t>(camera)];
        cam.video_on = c.camera_layer;
        cam.camera_type = c.type;
        host->comp.pixel_aspect = c.comp_aspect;
        host->comp.layers[host->comp.effect_layer].pixel_aspect = c.layer_aspect;
        host->set_downsample(1, c.downsample);
        host->output_area = c.area;
        ASSERT_EQ(host->render(instance).err, PF_Err_NONE);

        const qvsdk::render_data& seen = connection->frame_seen;
        const bool whole = c.area.right == 0;
        const int out_width = whole ? (80 + int(c.downsample) - 1) / int(c.downsample)
                                    : c.area.right - c.area.left;
        const int out_height = whole ? (48 + int(c.downsample) - 1) / int(c.downsample)
                                     : c.area.bottom - c.area.top;
        EXPECT_EQ(seen.origin_x, c.area.left);
        EXPECT_EQ(seen.origin_y, c.area.top);
        EXPECT_EQ(seen.output.width, out_width);
        EXPECT_EQ(seen.output.height, out_height);

        const A_Matrix4 matrix =
            c.camera_layer ? cam.transform : qvhost::translation(40, 24, -qvhost::default_zoom(80));
        const double zoom = c.camera_layer ? cam.zoom : qvhost::default_zoom(80);
        const A_Ratio layer = c.layer_aspect.num ? c.layer_aspect : c.comp_aspect;
        expect_camera(connection->camera_seen,
                      camera_for(matrix, zoom, c.type == AEGP_CameraType_ORTHOGRAPHIC,
                                 c.camera_layer, double(c.comp_aspect.num) / c.comp_aspect.den,
                                 double(layer.num) / layer.den, 80, 48, double(c.downsample),
                                 c.area.left, c.area.top, out_width, out_height));
    }
}

TEST_F(EffectRecords, TimesBeforeZeroAskForTheCameraAtTheLayersStart)
{
    connection->rebuild_camera = true;
    // Effect time 0 is composition frame 10, where the (orthographic) camera starts.
    host->comp.layers[host->comp.effect_layer].in_point = 10 * frame_units;
    qvhost::host_layer cam = qvhost::camera_layer({70, 10, -120}, {30, 30, 0}, 90,
                                                  AEGP_CameraType_ORTHOGRAPHIC);
    cam.in_point = 10 * frame_units;
    add_layer(cam);
    host->set_frame(-3);
    ASSERT_EQ(host->render(instance).err, PF_Err_NONE);
    expect_camera(connection->camera_seen,
                  camera_for(cam.transform, 90, true, true, 1, 1, 80, 48, 1, 0, 0, 80, 48));
}

// Sample k of n at T0 + trunc(step * (k * shutter / n)), in single precision.
std::vector<A_long> times_for(A_long start, std::uint32_t n, float shutter)
{
    std::vector<A_long> times;
    for (std::uint32_t k = 0; k < n; ++k)
        times.push_back(start + static_cast<A_long>(static_cast<float>(frame_units) *
                                                    (static_cast<float>(k) * shutter /
                                                     static_cast<float>(n))));
    return times;
}

TEST_F(EffectRecords, SampleTimesFollowTheModeAndTheSwitches)
{
    struct case_ {
        const char* name;
        A_long mode; // 1 Comp Settings, 2 On, 3 Off
        bool comp_switch, layer_switch;
        double samples, shutter;
        std::uint32_t expected_count;
        float expected_shutter;
    };
    // The composition's shutter: 225 / 2 = 112.5 degrees.
    const float comp_shutter = 112.5f / 360.0f;
    const case_ cases[] = {
        {"off, switches on", 3, true, true, 6, 180, 1, 0},
        {"comp settings, both switches on", 1, true, true, 6.5, 180, 7, comp_shutter},
        {"comp settings, composition's switch off", 1, false, true, 6, 180, 1, 0},
        {"comp settings, layer's switch off", 1, true, false, 6, 180, 1, 0},
        {"on, switches off", 2, false, false, 6.4, 90, 6, 0.25f},
        {"on, six samples over half a frame", 2, true, true, 6, 180, 6, 0.5f},
        {"on, wide shutter", 2, false, false, 4, 540, 4, 1.5f},
    };
    host->comp.shutter_angle = A_Ratio{225, 2};
    host->set_frame(3);
    for (const case_& c : cases) {
        SCOPED_TRACE(c.name);
        host->comp.motion_blur = c.comp_switch;
        host->comp.layers[host->comp.effect_layer].motion_blur = c.layer_switch;
        host->value_by_id(param_id::motion_blur).u.pd.value = c.mode;
        host->value_by_id(param_id::motion_blur_samples).u.fs_d.value = c.samples;
        host->value_by_id(param_id::shutter_angle).u.fs_d.value = c.shutter;
        EXPECT_EQ(sample_times(), times_for(3 * frame_units, c.expected_count, c.expected_shutter));
        EXPECT_EQ(host->time(), 3 * frame_units);
    }
}

TEST_F(EffectRecords, RenderCommandSwitchesLetCompSettingsBlur)
{
    qvhost::render_options options = qvhost::parse_render_options(
        {"--size", "80x48", "--motion-blur", "comp", "--comp-motion-blur", "on",
         "--layer-motion-blur", "on", "--set", "2103=5"});
    EXPECT_TRUE(options.comp_motion_blur);
    EXPECT_TRUE(options.layer_motion_blur);
    qvhost::prepare_scene(*host, options);
    host->comp.shutter_angle = A_Ratio{180, 1};
    EXPECT_EQ(sample_times(), times_for(0, 5, 0.5f));

    options = qvhost::parse_render_options(
        {"--size", "80x48", "--motion-blur", "comp", "--layer-motion-blur", "on"});
    qvhost::prepare_scene(*host, options);
    EXPECT_EQ(sample_times().size(), 1u);
    EXPECT_THROW(qvhost::parse_render_options({"--comp-motion-blur", "maybe"}),
                 std::invalid_argument);
}

} // namespace
