// Renders 1920 x 1080 frames with all five maps and four motion-blur samples
// through the proxy and prints how long each stage takes: the layer uploads once,
// then the median of 20 frames (or the count given) per stage, and what the
// OpenCL copy path costs.
#include "plugin/renderer/cl_device_list.h"
#include "plugin/renderer/render_jobs.h"
#include "plugin/renderer/render_target_pool.h"
#include "plugin/renderer/render_thread.h"
#include "plugin/renderer/renderer.h"
#include "plugin/renderer/renderer_proxy.h"

#include <GL/glew.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

using namespace qvsdk;

namespace {

constexpr int width = 1920;
constexpr int height = 1080;
constexpr int motion_samples = 4;

double milliseconds(const std::function<void()>& work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// A 16-bit host layer with a smooth pattern, so mipmaps and filters do real work.
struct layer16 {
    layer16(int w, int h, int seed) : width(w), height(h), pixels(static_cast<size_t>(w) * h * 4)
    {
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                std::uint16_t* p = &pixels[(static_cast<size_t>(y) * w + x) * 4];
                p[0] = 32768;
                p[1] = static_cast<std::uint16_t>(16384 + 16000 * std::sin((x + seed) * 0.01));
                p[2] = static_cast<std::uint16_t>(16384 + 16000 * std::cos((y + seed) * 0.013));
                p[3] = static_cast<std::uint16_t>(((x / 64 + y / 64 + seed) % 2) * 24000 + 4000);
            }
        }
    }
    pixel_buffer buffer()
    {
        pixel_buffer b;
        b.row_bytes = width * 8;
        b.bytes_per_channel = 2;
        b.width = width;
        b.height = height;
        b.pixels = pixels.data();
        return b;
    }
    int width;
    int height;
    std::vector<std::uint16_t> pixels;
};

render_properties camera_at(float zoom)
{
    render_properties camera;
    camera.viewSize[0] = width;
    camera.viewSize[1] = height;
    camera.viewMatrix = mat4::identity();
    camera.viewMatrix[12] = -width / 2.0f;
    camera.viewMatrix[13] = -height / 2.0f;
    camera.viewMatrix[14] = zoom;
    for (int column = 0; column < 4; ++column)
        camera.viewMatrix[4 * column + 2] = -camera.viewMatrix[4 * column + 2];
    const float s = 0.01f / zoom;
    const float x0 = -width / 2.0f * s, x1 = width / 2.0f * s;
    const float y0 = -height / 2.0f * s, y1 = height / 2.0f * s;
    mat4& p = camera.projMatrix;
    p = {};
    p[0] = 0.02f / (x1 - x0);
    p[8] = (x1 + x0) / (x1 - x0);
    p[5] = 0.02f / (y1 - y0);
    p[9] = (y1 + y0) / (y1 - y0);
    p[10] = -1.0f;
    p[14] = -0.01f;
    p[11] = -1.0f;
    camera.eyePosition[0] = width / 2.0f;
    camera.eyePosition[1] = height / 2.0f;
    camera.eyePosition[2] = -zoom;
    return camera;
}

scene_properties full_scene(const unsigned maps[5])
{
    scene_properties scene;
    scene.translation[0] = width / 2.0f;
    scene.translation[1] = height / 2.0f;
    scene.rotation[1] = std::sin(0.3f);
    scene.rotation[3] = std::cos(0.3f);
    scene.scale = 450.0f;
    scene.inverse_gamma = 1.0f;
    material_properties& m = scene.material;
    m.surface = 1;
    m.diffuse_texture = maps[0];
    m.glossiness_texture = maps[1];
    m.illumination_texture = maps[2];
    m.normal_texture = maps[3];
    m.environment_texture = maps[4];
    m.diffuseBlend = 1.0f;
    m.diffuseGamma = m.glossinessGamma = m.illuminationGamma = m.environmentGamma = 2.2f;
    m.diffuseBrightness = m.glossinessBrightness = m.illuminationBrightness =
        m.environmentBrightness = 1.0f;
    m.normalAmount = 1.0f;
    m.clipLighting = 0.5f;
    m.illuminationFresnel = 0.5f;
    m.illuminationFresnelBias = 2.0f;
    m.illuminationShadowLightContrast = 1.0f;
    m.illuminationBumpInfluence = 0.5f;
    for (float& c : m.modelColor)
        c = 1.0f;
    m.illuminationColor[0] = m.illuminationColor[1] = 0.3f;
    m.illuminationColor[3] = 1.0f;
    m.reflectivityAmount = 0.2f;
    m.ambientAmount = 0.1f;
    m.diffuseAmount = 1.0f;
    m.glossinessAmount = 0.7f;
    m.specularAmount = 1.0f;
    m.environmentRotation[3] = 1.0f;
    m.uvType = 1;
    m.uv_mode = 1;
    m.uvRepeat[0] = m.uvRepeat[1] = 1.0f;
    m.uv_feathering = 0.5f;

    light_properties point;
    point.lightType = 2;
    point.position[0] = 0.0f;
    point.position[1] = 0.0f;
    point.position[2] = -1500.0f;
    point.color[0] = point.color[1] = point.color[2] = point.color[3] = 1.0f;
    light_properties spot = point;
    spot.lightType = 1;
    spot.position[0] = width;
    spot.direction[0] = -0.5f;
    spot.direction[2] = 0.8f;
    spot.cone_angle = 60.0f;
    spot.cone_feather = 0.5f;
    light_properties ambient = point;
    ambient.lightType = 3;
    scene.lights = {point, spot, ambient};
    return scene;
}

void run(int frame_count)
{
    std::printf("render benchmark: %d x %d, 16 bits per channel, %d motion-blur samples, %d frames\n",
                width, height, motion_samples, frame_count);
    RendererProxy proxy(std::make_unique<RenderThread>());
    RenderThread& thread = proxy.render_thread();
    const double sphere_ms = milliseconds([&] { proxy.load_sphere_model(); });
    std::printf("sphere inflate and upload (once): %.2f ms\n", sphere_ms);

    std::vector<std::uint16_t> output_pixels(static_cast<size_t>(width) * height * 4);
    render_data frame{};
    frame.output.row_bytes = width * 8;
    frame.output.bytes_per_channel = 2;
    frame.output.width = width;
    frame.output.height = height;
    frame.output.pixels = output_pixels.data();
    frame.input = frame.output;
    frame.inverse_downsample_x = frame.inverse_downsample_y = 1.0f;
    frame.layer_width = width;
    frame.layer_height = height;
    frame.inverse_pixel_aspect = 1.0f;
    set_render_size(thread, 4, frame);

    // The layer textures: uploaded once, then reused by every frame as the cache does.
    layer16 diffuse(width, height, 0), gloss(width, height, 7), illumination(width, height, 13),
        bump(1024, 1024, 21), environment(2048, 1024, 5);
    unsigned maps[5] = {};
    unsigned bump_source = 0, environment_source = 0;
    std::printf("Load Layer 0 (diffuse %dx%d): %.2f ms\n", width, height,
                milliseconds([&] { maps[0] = load_layer_texture(thread, diffuse.buffer()); }));
    std::printf("Load Layer 1 (glossiness): %.2f ms\n",
                milliseconds([&] { maps[1] = load_layer_texture(thread, gloss.buffer()); }));
    std::printf("Load Layer 2 (illumination): %.2f ms\n",
                milliseconds([&] { maps[2] = load_layer_texture(thread, illumination.buffer()); }));
    std::printf("Load Layer 3 (bump 1024x1024): %.2f ms\n",
                milliseconds([&] { bump_source = load_layer_texture(thread, bump.buffer()); }));
    std::printf("  bump to normal map: %.2f ms\n",
                milliseconds([&] { maps[3] = bump_to_normal(thread, bump_source, 1024, 1024); }));
    std::printf("Load Layer 4 (environment 2048x1024): %.2f ms\n", milliseconds([&] {
                    environment_source = load_layer_texture(thread, environment.buffer());
                }));
    std::printf("  cube map and prefilter: %.2f ms\n",
                milliseconds([&] { maps[4] = build_environment(thread, environment_source); }));
    release_texture(thread, bump_source);
    release_texture(thread, environment_source);

    const render_properties camera = camera_at(2000.0f);
    std::vector<scene_properties> scenes;
    for (int k = 0; k < motion_samples; ++k) {
        scenes.push_back(full_scene(maps));
        scenes.back().translation[0] += 6.0f * k;
    }

    // Per frame: each stage's time summed over the frame's samples.
    std::map<std::string, std::vector<double>> stages;
    std::vector<double> outside_draw;
    std::vector<GLuint> first_buffers;
    int remade = 0;
    for (int f = 0; f < frame_count; ++f) {
        std::map<std::string, double> frame_stages;
        const double full_ms = milliseconds([&] {
            frame_stages["set render size"] =
                milliseconds([&] { set_render_size(thread, 4, frame); });
            for (int k = 0; k < motion_samples; ++k) {
                frame_stages["samples: camera"] +=
                    milliseconds([&] { proxy.set_render_properties(camera); });
                frame_stages["samples: scene and lights"] +=
                    milliseconds([&] { proxy.set_scene(scenes[k]); });
                frame_stages["samples: begin frame"] += milliseconds([&] { begin_frame(thread); });
                frame_stages["samples: draw and accumulate"] +=
                    milliseconds([&] { proxy.draw(1.0f / (k + 1)); });
            }
            frame_stages["output (copy-in, kernel, read-back)"] =
                milliseconds([&] { output(thread, proxy.last_scene().inverse_gamma); });
        });
        frame_stages["Full Render"] = full_ms;
        for (const auto& [name, ms] : frame_stages)
            stages[name].push_back(ms);
        outside_draw.push_back(100.0 * (full_ms - frame_stages["samples: draw and accumulate"]) /
                               full_ms);

        std::vector<GLuint> buffers;
        thread.submit([&] { buffers = thread.renderer()->targets().textures; });
        if (f == 0)
            first_buffers = buffers;
        else
            remade += buffers != first_buffers;
    }

    // The copying stand-in's own share of the output: one acquire and one release of
    // a frame-sized read-write image, without any kernel.
    std::vector<double> copies;
    thread.submit([&] {
        Renderer& renderer = *thread.renderer();
        const cl_device& device = *renderer.devices().selected;
        GLuint texture = renderer.targets().textures.front();
        cl_int error = 0;
        cl_mem image = renderer.devices().sharing().create_image(
            device.context.get(), CL_MEM_READ_WRITE, GL_TEXTURE_2D, 0, texture, &error);
        for (int i = 0; i < 5; ++i) {
            copies.push_back(milliseconds([&] {
                renderer.devices().sharing().acquire(device.queue.get(), image);
                renderer.devices().sharing().release(device.queue.get(), image);
                clFinish(device.queue.get());
            }));
        }
        renderer.devices().sharing().release_image(image);
    });

    std::printf("\nmedian of %d frames (sample stages summed over the frame's %d samples):\n",
                frame_count, motion_samples);
    for (const auto& [name, values] : stages)
        std::printf("  %-38s %9.2f ms\n", name.c_str(), median(values));
    const double output_share = 100.0 * median(stages["output (copy-in, kernel, read-back)"]) /
                                median(stages["Full Render"]);
    std::printf("  sharing stand-in copy of one %dx%d image (acquire + release): %.2f ms\n", width,
                height, median(copies));
    std::printf("share of the frame outside the draw passes: %.1f %% (output alone %.1f %%)\n",
                median(outside_draw), output_share);
    std::printf("render buffers remade after the first frame: %d of %d frames\n", remade,
                frame_count - 1);
    for (unsigned map : maps)
        release_texture(thread, map);
}

} // namespace

// Optional argument: the number of frames (20 by default).
int main(int argc, char** argv)
{
    const int frame_count = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    try {
        run(frame_count);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "render benchmark failed: %s\n", e.what());
        return 1;
    }
    return 0;
}
