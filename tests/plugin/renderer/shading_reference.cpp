// The expected pixel of a sphere frame, worked out on the CPU in double precision:
// the camera ray, its hit on the sphere, then the surface's material and lights.
#include "shading_reference.h"

#include "plugin/renderer/render_jobs.h"

#include <GL/glew.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <stdexcept>

namespace qvtest {
namespace {

constexpr double pi = 3.14159265358979323846;

vec3d operator+(const vec3d& a, const vec3d& b) { return {a[0] + b[0], a[1] + b[1], a[2] + b[2]}; }
vec3d operator-(const vec3d& a, const vec3d& b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
vec3d operator*(const vec3d& a, double s) { return {a[0] * s, a[1] * s, a[2] * s}; }

} // namespace

double dot(const vec3d& a, const vec3d& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
vec3d cross(const vec3d& a, const vec3d& b)
{
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
vec3d unit(const vec3d& a) { return a * (1.0 / std::sqrt(dot(a, a))); }

namespace {

vec3d blend(const vec3d& a, const vec3d& b, double t) { return a * (1 - t) + b * t; }

rgba scaled(const rgba& c, double s) { return {c[0] * s, c[1] * s, c[2] * s, c[3] * s}; }
rgba sum(const rgba& a, const rgba& b) { return {a[0] + b[0], a[1] + b[1], a[2] + b[2], a[3] + b[3]}; }
rgba product(const rgba& a, const rgba& b)
{
    return {a[0] * b[0], a[1] * b[1], a[2] * b[2], a[3] * b[3]};
}
rgba from(const float c[4]) { return {c[0], c[1], c[2], c[3]}; }
double clamp01(double v) { return std::clamp(v, 0.0, 1.0); }
double colour_mean(const rgba& c) { return (c[0] + c[1] + c[2]) / 3; }

// Raising a map to its gamma; `alpha_too` also raises alpha.
rgba with_gamma(const rgba& c, double gamma, bool alpha_too)
{
    return {std::pow(c[0], gamma), std::pow(c[1], gamma), std::pow(c[2], gamma),
            alpha_too ? std::pow(c[3], gamma) : c[3]};
}

// Scaling the HSV value of a colour scales red, green and blue alike.
rgba with_brightness(const rgba& c, double b) { return {c[0] * b, c[1] * b, c[2] * b, c[3]}; }

struct uv_transform {
    double cos_r, sin_r, repeat[2], offset[2];
    std::array<double, 2> rotate(double x, double y) const
    {
        return {x * cos_r - y * sin_r, y * cos_r + x * sin_r};
    }
    std::array<double, 2> unrotate(double x, double y) const
    {
        return {x * cos_r + y * sin_r, y * cos_r - x * sin_r};
    }
};

class surface_point {
public:
    surface_point(const qvsdk::scene_properties& scene, const vec3d& p, double margin)
        : scene(scene), m(scene.material), p(p), margin(margin)
    {
        uv.cos_r = std::cos(m.uvRotation);
        uv.sin_r = std::sin(m.uvRotation);
        for (int i = 0; i < 2; ++i) {
            uv.repeat[i] = m.uvRepeat[i];
            uv.offset[i] = m.uvOffset[i];
        }
        const double hardness = 1.0 - m.uv_feathering;
        feather = 1 + 64 * hardness * hardness;
    }

    // The map's value at this point by the material's mapping, negatives cut to 0.
    rgba sample(const std::function<rgba(double, double)>& map) const
    {
        rgba c{};
        if (m.uvType == 1) {
            const vec3d d = unit(p);
            const double u = -std::atan2(-d[0], -d[2]) / (2 * pi) + 0.5;
            const double v = std::atan2(d[1], std::hypot(d[0], d[2])) / pi + 0.5;
            const auto r = uv.rotate(u - 0.5, v - 0.5);
            c = lookup(map, (r[0] + 0.5) * uv.repeat[0] + uv.offset[0],
                       (r[1] + 0.5) * uv.repeat[1] + uv.offset[1]);
        } else if (m.uvType == 2) {
            c = sum(triplanar(map, p, {-p[0], p[1], p[2]}),
                    triplanar(map, p * -1.0, {p[0], p[1], -p[2]}));
        } else if (m.uvType == 3) {
            c = plane(map, p[0], p[1]);
        } else if (m.uvType == 4) {
            c = plane(map, p[0], p[2]);
        } else {
            c = plane(map, p[2], p[1]);
        }
        for (double& channel : c)
            channel = std::max(channel, 0.0);
        return c;
    }

    // A tangent-space normal from a normal map.
    vec3d normal_from(const std::function<rgba(double, double)>& map) const
    {
        if (m.uvType == 2)
            throw std::logic_error("box-mapped normal maps are not modelled");
        const rgba c = sample(map);
        const double green = (c[1] * 2 - 1) * (m.normalInvertGreen ? -1.0 : 1.0);
        const auto xy = uv.unrotate(c[0] * 2 - 1, green);
        return {xy[0], xy[1], c[2] * 2 - 1};
    }

    bool near_wrap = false;

private:
    rgba lookup(const std::function<rgba(double, double)>& map, double s, double t,
                double weight = 1.0) const
    {
        const double fs = s - std::floor(s), ft = t - std::floor(t);
        if (weight > 1e-3 && margin > 0 &&
            (fs < margin || fs > 1 - margin || ft < margin || ft > 1 - margin))
            const_cast<surface_point*>(this)->near_wrap = true;
        return map(fs, ft);
    }

    rgba plane(const std::function<rgba(double, double)>& map, double a, double b) const
    {
        const auto r = uv.rotate(a, b);
        return lookup(map, r[0] * 0.5 * uv.repeat[0] + uv.offset[0] + 0.5,
                      r[1] * 0.5 * uv.repeat[1] + uv.offset[1] + 0.5);
    }

    rgba triplanar(const std::function<rgba(double, double)>& map, const vec3d& n,
                   const vec3d& position) const
    {
        vec3d w = unit({std::max(std::fabs(n[0]), 1e-5), std::max(std::fabs(n[1]), 1e-5),
                        std::max(std::fabs(n[2]), 1e-5)});
        for (double& c : w)
            c = std::pow(c, feather);
        const double total = w[0] + w[1] + w[2];
        for (int i = 0; i < 3; ++i)
            w[i] = w[i] / total * (n[i] > 0 ? 1.0 : 0.0);
        const vec3d q = position * 0.5;
        const std::array<double, 2> planes[3] = {{q[2], q[1]}, {q[0], q[2]}, {q[0], q[1]}};
        rgba result{};
        for (int i = 0; i < 3; ++i) {
            const auto r = uv.rotate(planes[i][0], planes[i][1]);
            result = sum(result, scaled(lookup(map, r[0] * uv.repeat[0] + uv.offset[0] + 0.5,
                                               r[1] * uv.repeat[1] + uv.offset[1] + 0.5, w[i]),
                                        w[i]));
        }
        return result;
    }

    const qvsdk::scene_properties& scene;
    const qvsdk::material_properties& m;
    vec3d p;
    double margin;
    uv_transform uv{};
    double feather = 1;
};

double ggx(const vec3d& n, double roughness, double n_dot_l, const vec3d& h, const vec3d& v)
{
    const double n_dot_h = std::max(0.0, dot(n, h));
    const double remapped = roughness * 0.875 + 0.125;
    const double alpha = remapped * remapped * remapped;
    const double a2 = alpha * alpha;
    const double denominator = n_dot_h * n_dot_h * (a2 - 1) + 1;
    const double distribution = a2 / (pi * denominator * denominator);
    const double k = alpha / 2;
    const double n_dot_v = std::max(0.0, dot(n, v));
    const double view_term = 1 / (n_dot_v * (1 - k) + k);
    const double light_term = 1 / (n_dot_l * (1 - k) + k);
    return distribution * view_term * light_term / 4 * n_dot_v;
}

double fresnel(double x, double f, double bias)
{
    if (bias < 0.01)
        return 1;
    const double i = f > 0 ? 1 - x : x;
    return std::pow(i, bias) * std::fabs(f) + (1 - std::fabs(f));
}

double smooth_step01(double x)
{
    const double t = clamp01(x);
    return t * t * (3 - 2 * t);
}

struct lighting {
    rgba diffuse{}, specular{};
    double amount = 0;
};

lighting light_sphere(const qvsdk::scene_properties& scene, const vec3d& position, const vec3d& e,
                      const vec3d& p, const vec3d& f, double g)
{
    const qvsdk::material_properties& m = scene.material;
    lighting result;
    rgba ambient{};
    int taken = 0;
    for (const qvsdk::light_properties& light : scene.lights) {
        if (taken == 8)
            break;
        if (light.lightType == 3) {
            ambient = sum(ambient, from(light.color));
            continue;
        }
        ++taken;
        const vec3d direction{light.direction[0], light.direction[1], light.direction[2]};
        const vec3d l = light.lightType == 0
                            ? unit(direction * -1.0)
                            : unit(vec3d{light.position[0], light.position[1], light.position[2]} -
                                   position);
        double s = 1;
        if (light.lightType == 1) {
            const double cone_cos = std::cos(light.cone_angle * pi / 360);
            const double c = dot(direction, l * -1.0);
            if (c <= cone_cos) {
                s = 0;
            } else if (light.cone_feather > 0) {
                const double cone = std::acos(cone_cos);
                s = clamp01(std::max(0.0, (cone - std::acos(c)) / cone) / light.cone_feather);
            }
            const double smooth = smooth_step01(s);
            s = clamp01(smooth * smooth);
        }
        const vec3d h = unit(l + e);
        const double f_dot_l = dot(f, l);
        const double clip =
            1 - clamp01(f_dot_l * -(1 / (1 - m.clipLighting * 0.99)));
        const double n_dot_l = dot(p, l);
        const double lit = std::max(0.0, n_dot_l);
        const double bump = m.illuminationBumpInfluence * clip;
        result.amount += s * (f_dot_l * (1 - bump) + n_dot_l * bump) *
                         clamp01(colour_mean(from(light.color)));
        result.specular = sum(result.specular,
                              scaled(from(light.color),
                                     s * lit * clip * ggx(p, 1 - g, lit, h, e)));
        result.diffuse = sum(result.diffuse, scaled(from(light.color), s * lit * clip));
    }
    result.specular = scaled(result.specular, m.specularAmount);
    result.diffuse = sum(scaled(result.diffuse, m.diffuseAmount), scaled(ambient, m.ambientAmount));
    return result;
}

// The inverse of the environment's rotation applied to a direction.
vec3d environment_direction(const float q[4], const vec3d& d)
{
    const double x = q[0], y = q[1], z = q[2], w = q[3];
    const double r[3][3] = {{1 - 2 * (y * y + z * z), 2 * (x * y - z * w), 2 * (x * z + w * y)},
                            {2 * (x * y + z * w), 1 - 2 * (x * x + z * z), 2 * (y * z - w * x)},
                            {2 * (x * z - w * y), 2 * (y * z + w * x), 1 - 2 * (x * x + y * y)}};
    vec3d result{};
    for (int i = 0; i < 3; ++i)
        result[i] = r[0][i] * d[0] + r[1][i] * d[1] + r[2][i] * d[2];
    return result;
}

} // namespace

namespace {

// The face a direction points at and its coordinates (s, t) in 0..1 on that face.
int face_coordinates(const vec3d& d, double& s, double& t)
{
    const double ax = std::fabs(d[0]), ay = std::fabs(d[1]), az = std::fabs(d[2]);
    int face;
    double sc, tc, ma;
    if (ax >= ay && ax >= az) {
        face = d[0] > 0 ? 0 : 1;
        sc = d[0] > 0 ? -d[2] : d[2];
        tc = -d[1];
        ma = ax;
    } else if (ay >= az) {
        face = d[1] > 0 ? 2 : 3;
        sc = d[0];
        tc = d[1] > 0 ? d[2] : -d[2];
        ma = ay;
    } else {
        face = d[2] > 0 ? 4 : 5;
        sc = d[2] > 0 ? d[0] : -d[0];
        tc = -d[1];
        ma = az;
    }
    s = (sc / ma + 1) / 2;
    t = (tc / ma + 1) / 2;
    return face;
}

// The inverse: the direction through (s, t) of a face, also beyond its border.
vec3d face_point(int face, double s, double t)
{
    const double sc = 2 * s - 1, tc = 2 * t - 1;
    switch (face) {
    case 0: return {1, -tc, -sc};
    case 1: return {-1, -tc, sc};
    case 2: return {sc, 1, tc};
    case 3: return {sc, -1, -tc};
    case 4: return {sc, -tc, 1};
    default: return {-sc, -tc, -1};
    }
}

} // namespace

double cube_level::texel(int face, int x, int y, int channel) const
{
    if (x < 0 || y < 0 || x >= size || y >= size) {
        // Past a face's border the filter reads the neighbouring face.
        double s, t;
        face = face_coordinates(face_point(face, (x + 0.5) / size, (y + 0.5) / size), s, t);
        x = std::clamp(static_cast<int>(s * size), 0, size - 1);
        y = std::clamp(static_cast<int>(t * size), 0, size - 1);
    }
    return faces[face][(static_cast<std::size_t>(y) * size + x) * 4 + channel];
}

rgba cube_level::lookup(const vec3d& d) const
{
    double s, t;
    const int face = face_coordinates(d, s, t);
    const double fx = s * size - 0.5, fy = t * size - 0.5;
    const int x0 = static_cast<int>(std::floor(fx)), y0 = static_cast<int>(std::floor(fy));
    const double wx = fx - x0, wy = fy - y0;
    rgba result{};
    for (int c = 0; c < 4; ++c) {
        result[c] = (texel(face, x0, y0, c) * (1 - wx) + texel(face, x0 + 1, y0, c) * wx) * (1 - wy) +
                    (texel(face, x0, y0 + 1, c) * (1 - wx) + texel(face, x0 + 1, y0 + 1, c) * wx) * wy;
    }
    return result;
}

vec3d cube_face_direction(int face, double u, double v)
{
    static const double table[6][3][3] = {
        {{0.5, 0.5, 0.5}, {0, 0, -1}, {0, -1, 0}},    {{-0.5, 0.5, -0.5}, {0, 0, 1}, {0, -1, 0}},
        {{-0.5, 0.5, -0.5}, {1, 0, 0}, {0, 0, 1}},    {{-0.5, -0.5, 0.5}, {1, 0, 0}, {0, 0, -1}},
        {{-0.5, 0.5, 0.5}, {1, 0, 0}, {0, -1, 0}},    {{0.5, 0.5, -0.5}, {-1, 0, 0}, {0, -1, 0}}};
    const auto& row = table[face];
    vec3d d{};
    for (int i = 0; i < 3; ++i)
        d[i] = row[0][i] + u * row[1][i] + v * row[2][i];
    return d;
}

vec3d ggx_sample(int row, int i)
{
    const float a = std::pow((row + 1) / 6.0f, 2.8f);
    std::uint32_t bits = static_cast<std::uint32_t>(i), reversed = 0;
    for (int b = 0; b < 32; ++b, bits >>= 1)
        reversed = (reversed << 1) | (bits & 1);
    const double e = reversed * (1.0 / 4294967296.0);
    const double cos_theta = std::sqrt((1 - e) / (1 + (double(a) * a - 1) * e));
    const double sin_theta = std::sqrt(1 - cos_theta * cos_theta);
    const double phi = 2 * pi * i / 512;
    return {std::cos(phi) * sin_theta, std::sin(phi) * sin_theta, cos_theta};
}

std::optional<rgba> expected_fragment(const qvsdk::scene_properties& scene, int width,
                                      int height, int x, int y, const reference_maps& maps,
                                      double wrap_margin, bool back)
{
    const qvsdk::material_properties& m = scene.material;
    // The default camera: eye zoom pixels in front of the composition's centre.
    const double zoom = 1000;
    const vec3d eye{width / 2.0, height / 2.0, -zoom};
    const vec3d ray = unit({x + 0.5 - width / 2.0, y + 0.5 - height / 2.0, zoom});
    const vec3d centre{scene.translation[0], scene.translation[1], scene.translation[2]};
    const double radius = scene.scale;
    const vec3d to_eye = eye - centre;
    const double b = dot(to_eye, ray);
    const double disc = b * b - (dot(to_eye, to_eye) - radius * radius);
    if (disc < 0)
        return std::nullopt;
    const double t = -b + (back ? std::sqrt(disc) : -std::sqrt(disc));
    const vec3d hit = eye + ray * t;
    const vec3d p = (hit - centre) * (1 / radius);  // mesh space: the unit sphere

    const vec3d e = unit(eye - hit);
    const vec3d f = back ? p * -1.0 : p;
    surface_point at(scene, p, wrap_margin);

    rgba dm{1, 1, 1, 1};
    if (m.diffuse_texture) {
        const rgba raised = with_gamma(at.sample(maps.diffuse), m.diffuseGamma, false);
        dm = with_brightness(sum(scaled({1, 1, 1, 1}, 1 - m.diffuseBlend),
                                 scaled(raised, m.diffuseBlend)),
                             m.diffuseBrightness);
    }
    double g = m.glossinessAmount;
    if (m.glossiness_texture) {
        const rgba gm = with_brightness(
            with_gamma(at.sample(maps.glossiness), m.glossinessGamma, true),
            m.glossinessBrightness);
        g *= clamp01(colour_mean(gm));
    }
    rgba im{1, 1, 1, 1};
    if (m.illumination_texture)
        im = with_brightness(with_gamma(at.sample(maps.illumination), m.illuminationGamma, true),
                             m.illuminationBrightness);

    vec3d n = f;
    if (m.normal_texture) {
        const vec3d tn = at.normal_from(maps.normal);
        // The mesh's tangent runs along increasing atan2(z, x); its handedness
        // makes the bitangent point along increasing y.
        const vec3d tangent = unit({-p[2], 0, p[0]});
        const double handedness = dot(cross(p, tangent), {0, 1, 0}) < 0 ? -1.0 : 1.0;
        const vec3d bitangent = unit(cross(f, tangent) * handedness);
        const vec3d mixed = unit(blend({0, 0, 1}, tn, m.normalAmount));
        n = unit(tangent * mixed[0] + bitangent * mixed[1] + f * mixed[2]);
    }
    if (at.near_wrap)
        return std::nullopt;

    rgba reflection{}, image_light{};
    if (m.environment_texture) {
        const double edge = std::max(0.0, 1 - std::fabs(dot(n, e)));
        const double rf = (1 - (1 - g) * 0.6) * (1 - m.reflectivityAmount) + m.reflectivityAmount;
        const double k = m.reflectivityAmount * 0.99 + 0.01;
        const double reflectivity = std::pow(edge, 5) * rf * (1 - k) + k;
        const vec3d incoming = e * -1.0;
        const vec3d reflected = unit(incoming - n * (2 * dot(n, incoming)));
        auto environment = [&](const vec3d& d, double level) {
            return with_brightness(
                with_gamma(maps.environment(environment_direction(m.environmentRotation, d), level),
                           m.environmentGamma, true),
                m.environmentBrightness);
        };
        reflection = scaled(environment(reflected, (1 - g) * 6), reflectivity);
        image_light = environment(n, 6);
    }

    lighting light;
    if (m.unlitMode) {
        light.amount = 1;
        light.diffuse = {1, 1, 1, 1};
    } else {
        light = light_sphere(scene, hit, e, n, f, g);
    }

    const vec3d in = unit(blend(f, n, m.illuminationBumpInfluence));
    const rgba illumination =
        scaled(product(im, from(m.illuminationColor)),
               fresnel(clamp01(dot(in, e)), m.illuminationFresnel, m.illuminationFresnelBias));
    const double a = clamp01(light.amount + m.illuminationShadowLightExpand);
    const double c = m.illuminationShadowLightContrast;
    const double contrast = std::exp2(1.5 * std::max(c - 1, 0.0)) * std::min(c, 1.0);
    const rgba shadow_part =
        scaled(illumination, std::pow(1 - a, contrast) *
                                 std::max(0.0, 1 - std::max(0.0, double(m.illuminationShadowLight))));
    const rgba light_part =
        scaled(illumination, std::pow(a, contrast) *
                                 std::max(0.0, 1 - std::max(0.0, -double(m.illuminationShadowLight))));

    rgba colour = product(product(from(m.modelColor), dm), sum(image_light, light.diffuse));
    for (const rgba& term : {light.specular, shadow_part, light_part, reflection})
        colour = sum(colour, term);
    colour[3] = dm[3] * m.modelColor[3];

    if (m.edgeFeather > 0 || m.edgeShrink > 0) {
        const double ef = std::max(0.001, double(m.edgeFeather));
        const double dist = 1 - std::acos(std::max(0.0, dot(e, f))) / (pi * 0.5);
        const double shrunk = clamp01((dist - m.edgeShrink) / (1 - m.edgeShrink * 0.999));
        colour[3] *= clamp01(1 - (ef - shrunk) / ef);
    }
    return rgba{colour[0] * colour[3], colour[1] * colour[3], colour[2] * colour[3], colour[3]};
}

std::optional<rgba> expected_pixel(const qvsdk::scene_properties& scene, int width, int height,
                                   int x, int y, const reference_maps& maps, double wrap_margin,
                                   bool back)
{
    const std::optional<rgba> fragment =
        expected_fragment(scene, width, height, x, y, maps, wrap_margin, back);
    if (!fragment)
        return std::nullopt;
    // The output conversion: alpha clamped, colour un-premultiplied, then the exponent.
    const double a = clamp01((*fragment)[3]);
    rgba result{a, 0, 0, 0};
    for (int c = 0; c < 3; ++c) {
        const double colour = a > 0 ? (*fragment)[c] / a : (*fragment)[c];
        result[c + 1] = std::pow(colour, scene.inverse_gamma);
    }
    return result;
}

host_image direction_layer(int width, int height, rgba (*colour)(const vec3d& direction))
{
    host_image layer(width, height, 4);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const double longitude = ((x + 0.5) / width - 0.5) * 2 * pi;
            const double latitude = ((y + 0.5) / height - 0.5) * 3.1415;
            const vec3d d{std::cos(latitude) * std::sin(longitude), std::sin(latitude),
                          std::cos(latitude) * std::cos(longitude)};
            const rgba c = colour(d);
            const float argb[4] = {float(c[3]), float(c[0]), float(c[1]), float(c[2])};
            layer.set(x, y, argb);
        }
    }
    return layer;
}

unsigned environment_cube(qvsdk::RenderThread& thread, int width, int height,
                          rgba (*colour)(const vec3d& direction))
{
    host_image layer = direction_layer(width, height, colour);
    const unsigned source = qvsdk::load_layer_texture(thread, layer.buffer());
    const unsigned cube = qvsdk::build_environment(thread, source);
    qvsdk::release_texture(thread, source);
    return cube;
}

rgba direction_colour(const vec3d& d)
{
    return {(d[0] + 1) / 2, (d[1] + 1) / 2, (d[2] + 1) / 2, 1};
}

rgba striped_colour(const vec3d& d)
{
    const double longitude = std::atan2(d[0], d[2]) * 180 / pi;
    const double latitude = std::asin(std::clamp(d[1], -1.0, 1.0)) * 180 / pi;
    return {std::fmod(longitude + 360, 24) < 12 ? 1.0 : 0.0,
            std::fmod(latitude + 180, 20) < 10 ? 1.0 : 0.0, 0.25 + 0.5 * (d[2] + 1) / 2, 1};
}

cube_level read_cube_level(qvsdk::RenderThread& thread, unsigned cube, int level)
{
    cube_level result;
    thread.submit([&] {
        glBindTexture(GL_TEXTURE_CUBE_MAP, cube);
        glGetTexLevelParameteriv(GL_TEXTURE_CUBE_MAP_POSITIVE_X, level, GL_TEXTURE_WIDTH, &result.size);
        for (int face = 0; face < 6; ++face) {
            result.faces[face].resize(static_cast<std::size_t>(result.size) * result.size * 4);
            glGetTexImage(GL_TEXTURE_CUBE_MAP_POSITIVE_X + face, level, GL_RGBA, GL_FLOAT,
                          result.faces[face].data());
        }
        glBindTexture(GL_TEXTURE_CUBE_MAP, 0);
    });
    return result;
}

} // namespace qvtest
