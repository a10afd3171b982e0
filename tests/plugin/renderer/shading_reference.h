#pragma once

#include "frame_fixture.h"

#include "plugin/renderer/render_thread.h"
#include "plugin/scene_properties.h"

#include <array>
#include <functional>
#include <optional>
#include <vector>

namespace qvtest {

using vec3d = std::array<double, 3>;
using rgba = std::array<double, 4>;

// One level of a cube map read back from the GPU: six square faces of RGBA floats,
// rows from t = 0, faces in the order +X, -X, +Y, -Y, +Z, -Z.
struct cube_level {
    int size = 0;
    std::vector<float> faces[6];

    // Bilinear lookup on the face that the direction points at; texels past its
    // border come from the neighbouring face.
    rgba lookup(const vec3d& direction) const;
    double texel(int face, int x, int y, int channel) const;
};

// Level `level` of a cube map, read back on the render thread.
cube_level read_cube_level(qvsdk::RenderThread& thread, unsigned cube, int level);

double dot(const vec3d& a, const vec3d& b);
vec3d cross(const vec3d& a, const vec3d& b);
vec3d unit(const vec3d& a);

// Map lookups the expected pixel uses in place of the GPU's textures: a 2D map by
// its texture coordinates, the environment by direction and level.
struct reference_maps {
    std::function<rgba(double s, double t)> diffuse, glossiness, illumination, normal;
    std::function<rgba(const vec3d& direction, double level)> environment;
};

// The expected output pixel (alpha, red, green, blue as stored in a 32-bit host
// buffer) at pixel (x, y) of a width x height frame seen by default_camera, with
// the sphere of `scene` (rotation must be the identity). `back` shades the far
// side of the sphere, as a back-face pass sees it. Empty when the ray misses the
// sphere or when `wrap_margin` is above 0 and a 2D map is read closer than that to
// a texture edge (where repeat filtering mixes both sides).
std::optional<rgba> expected_pixel(const qvsdk::scene_properties& scene, int width, int height,
                                   int x, int y, const reference_maps& maps,
                                   double wrap_margin = 0.03, bool back = false);

// The shaded colour before the output conversion: premultiplied (r, g, b, a).
std::optional<rgba> expected_fragment(const qvsdk::scene_properties& scene, int width,
                                      int height, int x, int y, const reference_maps& maps,
                                      double wrap_margin = 0.03, bool back = false);

// Ideal direction of the cube map texel (u, v) in 0..1 of a face, from the face table.
vec3d cube_face_direction(int face, double u, double v);

// The importance sample i of row r, as the sample table holds it: (x, y, z).
vec3d ggx_sample(int row, int i);

// A latitude-longitude layer (32-bit) whose colour is a function of its direction,
// with the cube pass's own angles (3.1415 for pi along the latitude).
host_image direction_layer(int width, int height, rgba (*colour)(const vec3d& direction));
// A cube map built by the renderer from such a layer; the layer itself is let go.
unsigned environment_cube(qvsdk::RenderThread& thread, int width, int height,
                          rgba (*colour)(const vec3d& direction));
// (d + 1) / 2: every direction its own colour.
rgba direction_colour(const vec3d& d);
// Sharp stripes: red every 24 degrees of longitude, green every 20 of latitude.
rgba striped_colour(const vec3d& d);

} // namespace qvtest
