#pragma once

#include "plugin/pixel_buffer.h"
#include "plugin/render_data.h"
#include "plugin/render_properties.h"
#include "plugin/renderer/renderer_proxy.h"
#include "plugin/scene_properties.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace qvtest {

// A host pixel buffer (alpha, red, green, blue) that the test owns.
struct host_image {
    host_image(int width, int height, int bytes_per_channel, int padding = 0);

    // Channel c (0 alpha, 1 red, 2 green, 3 blue) of pixel (x, y) in 0..1 (the
    // 16-bit full value is 32768).
    float channel(int x, int y, int c) const;
    void set(int x, int y, const float argb[4]);
    qvsdk::pixel_buffer buffer();
    // One PNG in the test's output folder, colours un-premultiplied as stored.
    void save(const std::string& name) const;

    int width;
    int height;
    int bytes_per_channel;
    int row_bytes;
    std::vector<std::uint8_t> bytes;
};

// The host's default camera for a composition of this size, looking along +z at
// the composition's centre from `zoom` pixels away (y points down).
qvsdk::render_properties default_camera(int width, int height, float zoom = 1000.0f);
// Radius in pixels of a sphere of this radius at the image plane, as that camera sees it.
float projected_radius(float radius, float zoom = 1000.0f);

// A front-faced, white, unlit sphere of this radius in the composition's centre,
// spherical mapping, no maps, no lights.
qvsdk::scene_properties plain_scene(int width, int height, float radius);

qvsdk::render_data frame_for(host_image& output);

inline void set_colour(float* colour, float r, float g, float b, float a)
{
    colour[0] = r, colour[1] = g, colour[2] = b, colour[3] = a;
}

// A light of this type (0 parallel, 1 spot, 2 point, 3 ambient) and colour.
inline qvsdk::light_properties make_light(std::uint32_t type, std::array<float, 4> colour,
                                          std::array<float, 3> position = {},
                                          std::array<float, 3> direction = {})
{
    qvsdk::light_properties light;
    light.lightType = type;
    set_colour(light.color, colour[0], colour[1], colour[2], colour[3]);
    for (int i = 0; i < 3; ++i)
        light.position[i] = position[i], light.direction[i] = direction[i];
    return light;
}

// One frame through the proxy: sizes, then per scene a motion-blur sample with
// weight 1/k, then the output with the first scene's inverse gamma.
void render_frame(qvsdk::RendererProxy& proxy, host_image& output, unsigned samples,
                  const std::vector<qvsdk::scene_properties>& samples_scenes);

} // namespace qvtest
