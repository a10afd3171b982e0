#include "frame_fixture.h"

#include "png_file.h"

#include "plugin/renderer/render_jobs.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace qvtest {

host_image::host_image(int width, int height, int bytes_per_channel, int padding)
    : width(width), height(height), bytes_per_channel(bytes_per_channel),
      row_bytes(width * 4 * bytes_per_channel + padding),
      bytes(static_cast<std::size_t>(row_bytes) * height, 0xcd)
{
}

float host_image::channel(int x, int y, int c) const
{
    const std::uint8_t* at = bytes.data() + static_cast<std::size_t>(y) * row_bytes +
                             (static_cast<std::size_t>(x) * 4 + c) * bytes_per_channel;
    if (bytes_per_channel == 1)
        return *at / 255.0f;
    if (bytes_per_channel == 2) {
        std::uint16_t value;
        std::memcpy(&value, at, 2);
        return value / 32768.0f;
    }
    float value;
    std::memcpy(&value, at, 4);
    return value;
}

void host_image::set(int x, int y, const float argb[4])
{
    std::uint8_t* at = bytes.data() + static_cast<std::size_t>(y) * row_bytes +
                       static_cast<std::size_t>(x) * 4 * bytes_per_channel;
    for (int c = 0; c < 4; ++c, at += bytes_per_channel) {
        if (bytes_per_channel == 1) {
            *at = static_cast<std::uint8_t>(std::lround(argb[c] * 255.0f));
        } else if (bytes_per_channel == 2) {
            const auto value = static_cast<std::uint16_t>(std::lround(argb[c] * 32768.0f));
            std::memcpy(at, &value, 2);
        } else {
            std::memcpy(at, &argb[c], 4);
        }
    }
}

qvsdk::pixel_buffer host_image::buffer()
{
    qvsdk::pixel_buffer result;
    result.row_bytes = row_bytes;
    result.bytes_per_channel = static_cast<std::uint8_t>(bytes_per_channel);
    result.width = width;
    result.height = height;
    result.pixels = bytes.data();
    return result;
}

void host_image::save(const std::string& name) const
{
    std::vector<std::uint8_t> rgba(static_cast<std::size_t>(width) * height * 4);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::uint8_t* out = &rgba[(static_cast<std::size_t>(y) * width + x) * 4];
            for (int c = 0; c < 4; ++c) {
                const float value = std::clamp(channel(x, y, (c + 1) % 4), 0.0f, 1.0f);
                out[c] = static_cast<std::uint8_t>(std::lround(value * 255.0f));
            }
        }
    }
    write_png(test_output_path(name + ".png"), width, height, rgba);
}

qvsdk::render_properties default_camera(int width, int height, float zoom)
{
    qvsdk::render_properties camera;
    camera.viewSize[0] = static_cast<float>(width);
    camera.viewSize[1] = static_cast<float>(height);
    // Camera-to-world: no rotation, at the composition's centre, zoom in front of it;
    // the view flips z.
    camera.viewMatrix = qvsdk::mat4::identity();
    camera.viewMatrix[12] = -width / 2.0f;
    camera.viewMatrix[13] = -height / 2.0f;
    camera.viewMatrix[14] = zoom;
    for (int column = 0; column < 4; ++column)
        camera.viewMatrix[4 * column + 2] = -camera.viewMatrix[4 * column + 2];

    const float scale = 0.01f / zoom;
    const float x0 = -width / 2.0f * scale, x1 = width / 2.0f * scale;
    const float y0 = -height / 2.0f * scale, y1 = height / 2.0f * scale;
    qvsdk::mat4& p = camera.projMatrix;
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

float projected_radius(float radius, float zoom)
{
    return zoom * radius / std::sqrt(zoom * zoom - radius * radius);
}

qvsdk::scene_properties plain_scene(int width, int height, float radius)
{
    qvsdk::scene_properties scene;
    scene.translation[0] = width / 2.0f;
    scene.translation[1] = height / 2.0f;
    scene.rotation[3] = 1.0f;
    scene.scale = radius;
    scene.inverse_gamma = 1.0f;
    qvsdk::material_properties& m = scene.material;
    m.surface = 2;
    m.unlitMode = 1;
    m.diffuseBlend = 1.0f;
    m.diffuseGamma = m.glossinessGamma = m.illuminationGamma = m.environmentGamma = 1.0f;
    m.diffuseBrightness = m.glossinessBrightness = m.illuminationBrightness =
        m.environmentBrightness = 1.0f;
    m.normalAmount = 1.0f;
    m.illuminationShadowLightContrast = 1.0f;
    for (float& c : m.modelColor)
        c = 1.0f;
    m.diffuseAmount = 1.0f;
    m.environmentRotation[3] = 1.0f;
    m.uvType = 1;
    m.uv_mode = 1;
    m.uvRepeat[0] = m.uvRepeat[1] = 1.0f;
    m.uv_feathering = 1.0f;
    return scene;
}

qvsdk::render_data frame_for(host_image& output)
{
    qvsdk::render_data frame;
    frame.input = output.buffer();
    frame.output = output.buffer();
    frame.inverse_downsample_x = frame.inverse_downsample_y = 1.0f;
    frame.layer_width = output.width;
    frame.layer_height = output.height;
    frame.inverse_pixel_aspect = 1.0f;
    return frame;
}

void render_frame(qvsdk::RendererProxy& proxy, host_image& output, unsigned samples,
                  const std::vector<qvsdk::scene_properties>& sample_scenes)
{
    const qvsdk::render_data frame = frame_for(output);
    qvsdk::set_render_size(proxy.render_thread(), samples, frame);
    const qvsdk::render_properties camera = default_camera(output.width, output.height);
    for (std::size_t k = 0; k < sample_scenes.size(); ++k) {
        proxy.set_render_properties(camera);
        proxy.set_scene(sample_scenes[k]);
        qvsdk::begin_frame(proxy.render_thread());
        proxy.draw(1.0f / static_cast<float>(k + 1));
    }
    qvsdk::output(proxy.render_thread(), sample_scenes.front().inverse_gamma);
}

} // namespace qvtest
