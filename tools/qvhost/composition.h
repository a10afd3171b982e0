#pragma once

#include "hostsdk/aegp_suites.h"

#include <string>
#include <vector>

namespace qvhost {

// An 8-bit picture, four channels a pixel in the host's order (alpha, red, green, blue).
struct host_image {
    int width = 0;
    int height = 0;
    std::vector<PF_Pixel8> pixels;
    PF_Pixel8& at(int x, int y) { return pixels[static_cast<std::size_t>(y) * width + x]; }
    const PF_Pixel8& at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

enum class layer_kind { av, light, camera };

// One layer of the test composition. Times are composition time in its frame scale.
struct host_layer {
    layer_kind kind = layer_kind::av;
    std::string name;
    host_image image;          // footage layers
    int content_version = 0;   // raise it when the pixels change
    A_long in_point = 0;
    A_long duration = 1 << 20;
    bool video_on = true;
    bool motion_blur = false;
    A_Ratio pixel_aspect{0, 1}; // the effect's layer: 0 takes the composition's
    A_Matrix4 transform{};     // layer to world, row-vector convention
    // lights
    AEGP_LightType light_type = AEGP_LightType_POINT;
    double intensity = 100;    // percent
    AEGP_ColorVal color{1, 1, 1, 1};
    double cone_angle = 90;    // degrees
    double cone_feather = 50;  // percent
    double falloff = 0;
    // cameras
    AEGP_CameraType camera_type = AEGP_CameraType_PERSPECTIVE;
    double zoom = 0;
};

// The composition that holds the effect's layer.
struct composition {
    int width = 1920;
    int height = 1080;
    A_Ratio pixel_aspect{1, 1};
    A_u_long frame_rate = 30;  // also the time scale: one unit a frame
    bool motion_blur = false;
    A_Ratio shutter_angle{180, 1}; // degrees
    A_Ratio shutter_phase{-90, 1};
    std::vector<host_layer> layers;
    std::size_t effect_layer = 0; // index of the layer that carries the effect
};

A_Matrix4 translation(double x, double y, double z);
// A layer at `position` whose z axis points at `target` (lights, cameras).
A_Matrix4 pointing(const AEGP_ThreeDVal& position, const AEGP_ThreeDVal& target);
// The zoom of the host's default camera for a composition this wide.
double default_zoom(int comp_width);

host_layer footage_layer(const std::string& name, host_image image);
host_layer light_layer(AEGP_LightType type, const AEGP_ThreeDVal& position,
                       const AEGP_ThreeDVal& target);
host_layer camera_layer(const AEGP_ThreeDVal& position, const AEGP_ThreeDVal& target, double zoom,
                        AEGP_CameraType type = AEGP_CameraType_PERSPECTIVE);

} // namespace qvhost
