#include "tools/qvhost/render_command.h"

#include "tools/qvhost/debug_output.h"
#include "tools/qvhost/effect_module.h"
#include "tools/qvhost/generated_images.h"
#include "tools/qvhost/image_file.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <stdexcept>

namespace qvhost {

namespace {

std::vector<double> numbers(const std::string& text)
{
    std::vector<double> result;
    std::stringstream in(text);
    std::string part;
    while (std::getline(in, part, ','))
        result.push_back(std::stod(part));
    return result;
}

AEGP_ThreeDVal point(const std::string& text)
{
    std::vector<double> n = numbers(text);
    if (n.size() != 3)
        throw std::invalid_argument("expected x,y,z: " + text);
    return AEGP_ThreeDVal{n[0], n[1], n[2]};
}

host_image map_image(const std::string& source, int comp_width)
{
    const int size = std::max(64, comp_width / 2);
    if (source == "checker")
        return checker_image(size, size / 2, 16, PF_Pixel8{255, 230, 60, 40},
                             PF_Pixel8{255, 245, 235, 200});
    if (source == "gradient")
        return gradient_environment(size, size / 2);
    if (source == "pattern")
        return bump_pattern(size, size / 2, 12);
    return load_image_file(source);
}

void use_map(test_host& host, A_long disk_id, const std::string& source)
{
    if (source.empty())
        return;
    host.comp.layers.push_back(footage_layer(source, map_image(source, host.comp.width)));
    host.use_layer(disk_id, static_cast<long>(host.comp.layers.size() - 1));
}

AEGP_LightType light_type(const std::string& name)
{
    if (name == "parallel")
        return AEGP_LightType_PARALLEL;
    if (name == "spot")
        return AEGP_LightType_SPOT;
    if (name == "point")
        return AEGP_LightType_POINT;
    if (name == "ambient")
        return AEGP_LightType_AMBIENT;
    throw std::invalid_argument("unknown light type " + name);
}

std::string frame_file(const std::string& out, int frame, bool range)
{
    if (!range)
        return out;
    const std::size_t dot = out.rfind('.');
    const std::string stem = dot == std::string::npos ? out : out.substr(0, dot);
    char number[16];
    std::snprintf(number, sizeof number, "-%04d", frame);
    return stem + number + ".png";
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n == 0 ? 0 : n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

bool frame_size_fits(int width, int height)
{
    return width > 0 && height > 0 && width <= 30000 && height <= 30000;
}

} // namespace

render_options parse_render_options(const std::vector<std::string>& arguments)
{
    render_options options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& name = arguments[i];
        if (i + 1 >= arguments.size())
            throw std::invalid_argument("option " + name + " needs a value");
        const std::string& value = arguments[++i];
        if (name == "--out") {
            options.out = value;
        } else if (name == "--size") {
            if (std::sscanf(value.c_str(), "%dx%d", &options.width, &options.height) != 2 ||
                !frame_size_fits(options.width, options.height))
                throw std::invalid_argument("bad size " + value);
        } else if (name == "--frames") {
            const int read = std::sscanf(value.c_str(), "%d-%d", &options.first_frame,
                                         &options.last_frame);
            if (read < 1)
                throw std::invalid_argument("bad frames " + value);
            if (read == 1)
                options.last_frame = options.first_frame;
            if (options.last_frame < options.first_frame)
                throw std::invalid_argument("bad frames " + value);
        } else if (name == "--depth") {
            options.bit_depth = static_cast<A_short>(std::stoi(value));
            if (options.bit_depth != 8 && options.bit_depth != 16 && options.bit_depth != 32)
                throw std::invalid_argument("depth is 8, 16 or 32");
        } else if (name == "--downsample") {
            int x = 0, y = 0;
            char rest = 0;
            const int read = std::sscanf(value.c_str(), "%d,%d%c", &x, &y, &rest);
            if (read < 1 || read > 2 || x < 1 || (read == 2 && y < 1))
                throw std::invalid_argument("bad downsample " + value);
            options.downsample_x = static_cast<A_u_long>(x);
            options.downsample_y = static_cast<A_u_long>(read == 2 ? y : x);
        } else if (name == "--diffuse") {
            options.diffuse = value;
        } else if (name == "--glossiness") {
            options.glossiness = value;
        } else if (name == "--illumination") {
            options.illumination = value;
        } else if (name == "--bump") {
            options.bump = value;
        } else if (name == "--environment") {
            options.environment = value;
        } else if (name == "--motion-blur") {
            if (value != "on" && value != "off" && value != "comp")
                throw std::invalid_argument("motion blur is on, off or comp");
            options.motion_blur = value;
        } else if (name == "--comp-motion-blur" || name == "--layer-motion-blur") {
            if (value != "on" && value != "off")
                throw std::invalid_argument(name + " is on or off");
            (name == "--comp-motion-blur" ? options.comp_motion_blur : options.layer_motion_blur) =
                value == "on";
        } else if (name == "--move") {
            const AEGP_ThreeDVal by = point(value);
            options.move[0] = by.x;
            options.move[1] = by.y;
            options.move[2] = by.z;
        } else if (name == "--set") {
            const std::size_t equals = value.find('=');
            if (equals == std::string::npos)
                throw std::invalid_argument("--set takes ID=VALUE");
            options.values.emplace_back(std::stol(value.substr(0, equals)),
                                        value.substr(equals + 1));
        } else if (name == "--light") {
            options.lights.push_back(value);
        } else if (name == "--camera") {
            options.camera = value;
        } else {
            throw std::invalid_argument("unknown option " + name);
        }
    }
    return options;
}

void set_value(test_host& host, A_long disk_id, const std::string& text)
{
    PF_ParamDef& value = host.value_by_id(disk_id);
    const std::vector<double> n = numbers(text);
    if (n.empty())
        throw std::invalid_argument("no value for parameter " + std::to_string(disk_id));
    switch (value.param_type) {
    case PF_Param_FLOAT_SLIDER:
        value.u.fs_d.value = n[0];
        break;
    case PF_Param_POPUP:
        value.u.pd.value = static_cast<A_long>(n[0]);
        break;
    case PF_Param_CHECKBOX:
        value.u.bd.value = n[0] != 0 ? 1 : 0;
        break;
    case PF_Param_ANGLE:
        value.u.ad.value = static_cast<PF_Fixed>(n[0] * 65536.0);
        break;
    case PF_Param_POINT_3D:
        if (n.size() != 3)
            throw std::invalid_argument("a point takes x,y,z");
        value.u.point3d_d.x_value = n[0];
        value.u.point3d_d.y_value = n[1];
        value.u.point3d_d.z_value = n[2];
        break;
    case PF_Param_COLOR:
        if (n.size() != 3)
            throw std::invalid_argument("a colour takes r,g,b");
        value.u.cd.value = PF_Pixel{255, static_cast<A_u_char>(n[0]), static_cast<A_u_char>(n[1]),
                                    static_cast<A_u_char>(n[2])};
        break;
    default:
        throw std::invalid_argument("parameter " + std::to_string(disk_id) + " takes no value");
    }
}

void prepare_scene(test_host& host, const render_options& options)
{
    composition& comp = host.comp;
    comp.width = options.width;
    comp.height = options.height;
    host.set_downsample({1, options.downsample_x}, {1, options.downsample_y});
    use_map(host, 502, options.diffuse);
    use_map(host, 504, options.glossiness);
    use_map(host, 506, options.illumination);
    use_map(host, 508, options.bump);
    use_map(host, 517, options.environment);

    // The sphere in the middle, large enough to show its maps.
    PF_ParamDef& position = host.value_by_id(11);
    position.u.point3d_d.x_value = options.width / 2.0;
    position.u.point3d_d.y_value = options.height / 2.0;
    host.value_by_id(16).u.fs_d.value = options.height * 0.3;
    if (options.motion_blur == "on")
        host.value_by_id(2102).u.pd.value = 2;
    else if (options.motion_blur == "off")
        host.value_by_id(2102).u.pd.value = 3;
    comp.motion_blur = options.comp_motion_blur;
    comp.layers.at(comp.effect_layer).motion_blur = options.layer_motion_blur;
    for (const auto& value : options.values)
        set_value(host, value.first, value.second);

    if (options.move[0] != 0 || options.move[1] != 0 || options.move[2] != 0) {
        const PF_Point3DDef start = host.value_by_id(11).u.point3d_d;
        const double by[3] = {options.move[0], options.move[1], options.move[2]};
        host.animations[11] = [start, by](PF_ParamDef& param, A_long time) {
            const double frames = static_cast<double>(time) / test_host::frame_duration;
            param.u.point3d_d.x_value = start.x_value + by[0] * frames;
            param.u.point3d_d.y_value = start.y_value + by[1] * frames;
            param.u.point3d_d.z_value = start.z_value + by[2] * frames;
        };
    }
    const AEGP_ThreeDVal centre{options.width / 2.0, options.height / 2.0, 0};
    for (const std::string& light : options.lights) {
        const std::size_t colon = light.find(':');
        const AEGP_LightType type = light_type(light.substr(0, colon));
        const AEGP_ThreeDVal at =
            colon == std::string::npos ? AEGP_ThreeDVal{0, 0, -1000} : point(light.substr(colon + 1));
        comp.layers.push_back(light_layer(type, at, centre));
    }
    if (!options.camera.empty())
        comp.layers.push_back(
            camera_layer(point(options.camera), centre, default_zoom(options.width)));
}

int run_render(const render_options& options)
{
    effect_module module(options.module);
    if (!module.main_by_name())
        throw std::runtime_error("the module exports no PluginMain");
    test_host host(module.main_by_name());
    host.comp.width = options.width;
    host.comp.height = options.height;
    if (host.global_setup() != PF_Err_NONE)
        throw std::runtime_error("global set-up failed");
    if (host.params_setup() != PF_Err_NONE)
        throw std::runtime_error("parameter set-up failed");
    test_host::instance instance;
    host.sequence_setup(instance);
    prepare_scene(host, options);

    int failures = 0;
    const bool range = options.first_frame != options.last_frame;
    for (int frame = options.first_frame; frame <= options.last_frame; ++frame) {
        host.set_frame(frame);
        const rendered_frame image = host.render(instance, options.bit_depth);
        const std::string file = frame_file(options.out, frame, range);
        if (image.err != PF_Err_NONE || image.width == 0) {
            std::fprintf(stderr, "frame %d: error %ld\n", frame, static_cast<long>(image.err));
            ++failures;
            continue;
        }
        if (!write_png(file, image.width, image.height, image.rgba8())) {
            std::fprintf(stderr, "cannot write %s\n", file.c_str());
            ++failures;
            continue;
        }
        std::printf("frame %d: %dx%d, %d bits a channel -> %s\n", frame, image.width, image.height,
                    options.bit_depth, file.c_str());
    }
    host.sequence_setdown(instance);
    host.global_setdown();
    return failures == 0 ? 0 : 1;
}

int run_bench(const std::string& module_path, int frames, int width, int height)
{
    // An empty frame is done without drawing: its timings would mean nothing.
    if (!frame_size_fits(width, height))
        throw std::invalid_argument("bad size " + std::to_string(width) + "x" +
                                    std::to_string(height));
    effect_module module(module_path);
    test_host host(module.main_by_name());
    host.comp.width = width;
    host.comp.height = height;
    if (host.global_setup() != PF_Err_NONE || host.params_setup() != PF_Err_NONE)
        throw std::runtime_error("the effect did not set up");
    test_host::instance instance;
    host.sequence_setup(instance);
    render_options options;
    options.width = width;
    options.height = height;
    options.diffuse = "checker";
    options.glossiness = "checker";
    options.illumination = "pattern";
    options.bump = "pattern";
    options.environment = "gradient";
    options.motion_blur = "on";
    // Still: every sample draws the whole sphere all the same, and the timings do not
    // depend on where a moving sphere happens to be.
    options.values = {{2103, "8"}, {206, "0.5"}, {218, "0.3"}};
    prepare_scene(host, options);

    std::printf("full road through the test host: %d x %d, five maps, 8 samples, %d frames\n",
                width, height, frames);
    std::vector<double> input_ms, render_ms, full_ms, wall_ms;
    for (int frame = 0; frame <= frames; ++frame) {
        debug_output output;
        host.set_frame(frame);
        const auto start = std::chrono::steady_clock::now();
        const rendered_frame image = host.render(instance, 16);
        const double wall = std::chrono::duration<double, std::milli>(
                                std::chrono::steady_clock::now() - start)
                                .count();
        if (image.err != PF_Err_NONE)
            throw std::runtime_error("frame failed with error " + std::to_string(image.err));
        int uploads = 0;
        for (const std::string& line : output.lines()) {
            float ms = 0;
            if (line.rfind("Load Layer", 0) == 0)
                ++uploads;
            else if (std::sscanf(line.c_str(), "Input Render: %f", &ms) == 1 && frame > 0)
                input_ms.push_back(ms);
            else if (std::sscanf(line.c_str(), "Render: %f", &ms) == 1 && frame > 0)
                render_ms.push_back(ms);
            else if (std::sscanf(line.c_str(), "Full Render: %f", &ms) == 1 && frame > 0)
                full_ms.push_back(ms);
            std::printf("  frame %d: %s", frame, line.c_str());
        }
        if (frame > 0)
            wall_ms.push_back(wall);
        std::printf("frame %2d: %8.1f ms, %d uploads\n", frame, wall, uploads);
        std::fflush(stdout);
    }
    std::printf("median over %d frames after the first:\n", frames);
    std::printf("  Input Render: %.2f ms\n", median(input_ms));
    std::printf("  Render: %.2f ms\n", median(render_ms));
    std::printf("  Full Render: %.2f ms\n", median(full_ms));
    std::printf("  through the host: %.2f ms\n", median(wall_ms));
    host.sequence_setdown(instance);
    host.global_setdown();
    return 0;
}

} // namespace qvhost
