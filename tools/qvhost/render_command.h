#pragma once

#include "tools/qvhost/test_host.h"

#include <string>
#include <utility>
#include <vector>

namespace qvhost {

// The command line of a render run.
struct render_options {
    std::string module;
    std::string out = "frame.png";   // a range writes name-<frame>.png
    int width = 1920;
    int height = 1080;
    int first_frame = 0;
    int last_frame = 0;
    A_short bit_depth = 8;
    A_u_long downsample_x = 1;         // the factors' denominators,
    A_u_long downsample_y = 1;         // horizontal and vertical
    // Map sources: "checker", "gradient", "pattern" or a picture file.
    std::string diffuse, glossiness, illumination, bump, environment;
    std::string motion_blur;          // "on", "off" or "comp" (the effect's default)
    bool comp_motion_blur = false;    // the composition's and the layer's switches,
    bool layer_motion_blur = false;   // which "comp" follows
    double move[3] = {0, 0, 0};       // the sphere's travel per frame, pixels
    std::vector<std::pair<A_long, std::string>> values; // disk id, value text
    std::vector<std::string> lights;  // TYPE:x,y,z
    std::string camera;               // x,y,z looking at the composition's centre
};

// Throws std::invalid_argument on a bad option.
render_options parse_render_options(const std::vector<std::string>& arguments);

// Builds the composition, its layers and the effect's values on a host whose
// parameters are set up.
void prepare_scene(test_host& host, const render_options& options);

// Sets one parameter from text: sliders a number, popups a choice, check boxes 0/1,
// angles degrees, points and colours x,y,z or r,g,b (0..255).
void set_value(test_host& host, A_long disk_id, const std::string& text);

// qvhost MODULE render ...: renders frames into PNG files; exit code.
int run_render(const render_options& options);
// qvhost MODULE bench [frames [WxH]]: the full road (1920 x 1080 unless given)
// with five maps and 8 motion-blur samples; prints timings and uploads per frame.
// A size render --size refuses throws std::invalid_argument.
int run_bench(const std::string& module, int frames, int width = 1920, int height = 1080);

} // namespace qvhost
