#include "tools/sphere_mesh/geodesic_sphere.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <stdexcept>
#include <utility>

using qvsdk::mesh_vertex;

namespace {

constexpr double pi = 3.14159265358979323846;

struct vec3 {
    double x, y, z;
};

vec3 operator+(vec3 a, vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
vec3 operator-(vec3 a, vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
vec3 operator*(vec3 a, double s) { return {a.x * s, a.y * s, a.z * s}; }
double dot(vec3 a, vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
vec3 cross(vec3 a, vec3 b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
double length(vec3 a) { return std::sqrt(dot(a, a)); }

// A ring corner; azimuth measured in the x-z plane from +x towards +z. The axis
// directions are exact so that the -x meridian (the texture seam) has z == 0.
vec3 ring_corner(double height, int azimuth_degrees)
{
    const double radius = std::sqrt(1 - height * height);
    double c = 0;
    double s = 0;
    if (azimuth_degrees == 0) {
        c = 1;
    } else if (azimuth_degrees == 180) {
        c = -1;
    } else {
        c = std::cos(azimuth_degrees * pi / 180);
        s = std::sin(azimuth_degrees * pi / 180);
    }
    return {radius * c, height, radius * s};
}

// 0 top pole, 1-5 upper ring, 6-10 lower ring, 11 bottom pole; each ring in
// order of increasing azimuth.
std::array<vec3, 12> icosahedron_corners()
{
    const double h = 1 / std::sqrt(5.0);
    std::array<vec3, 12> c{};
    c[0] = {0, 1, 0};
    const int upper[5] = {36, 108, 180, -108, -36};
    const int lower[5] = {0, 72, 144, -144, -72};
    for (int k = 0; k < 5; ++k) {
        c[1 + k] = ring_corner(h, upper[k]);
        c[6 + k] = ring_corner(-h, lower[k]);
    }
    c[11] = {0, -1, 0};
    return c;
}

struct face {
    int corner[3];
};

// Upper corner k sits between lower corners k and k+1 in azimuth.
std::array<face, 20> icosahedron_faces(const std::array<vec3, 12>& corners)
{
    std::array<face, 20> faces{};
    for (int k = 0; k < 5; ++k) {
        const int k1 = (k + 1) % 5;
        faces[k] = {{0, 1 + k, 1 + k1}};
        faces[5 + k] = {{1 + k, 6 + k, 6 + k1}};
        faces[10 + k] = {{6 + k1, 1 + k, 1 + k1}};
        faces[15 + k] = {{11, 6 + k, 6 + k1}};
    }
    for (face& f : faces) {
        const vec3 a = corners[f.corner[0]];
        const vec3 b = corners[f.corner[1]];
        const vec3 c = corners[f.corner[2]];
        if (dot(cross(b - a, c - a), a + b + c) < 0)
            std::swap(f.corner[1], f.corner[2]);
    }
    return faces;
}

// The point with integer barycentric weights on the face's corners. Terms are
// summed in corner-id order, skipping zero weights, so a point on an edge comes out
// bit-identical from both faces that share the edge.
vec3 face_point(const std::array<vec3, 12>& corners, const face& f, const int weight[3])
{
    std::array<std::pair<int, int>, 3> terms{};
    for (int i = 0; i < 3; ++i)
        terms[i] = {f.corner[i], weight[i]};
    std::sort(terms.begin(), terms.end());
    vec3 sum{0, 0, 0};
    for (const auto& [id, w] : terms) {
        if (w != 0)
            sum = sum + corners[id] * w;
    }
    return sum * (1 / length(sum));
}

vec3 position_of(const mesh_vertex& v) { return {v.position[0], v.position[1], v.position[2]}; }

void set_on_sphere(mesh_vertex& v, vec3 p)
{
    // + 0.0f turns a -0 into +0, so atan2 puts the seam's own points at u = +0.5.
    const float x = static_cast<float>(p.x) + 0.0f;
    const float y = static_cast<float>(p.y) + 0.0f;
    const float z = static_cast<float>(p.z) + 0.0f;
    const vec3 n = vec3{x, y, z} * (1 / length(vec3{x, y, z}));
    v.position[0] = x;
    v.position[1] = y;
    v.position[2] = z;
    v.normal[0] = static_cast<float>(n.x);
    v.normal[1] = static_cast<float>(n.y);
    v.normal[2] = static_cast<float>(n.z);
    v.tex_coords[0] = static_cast<float>(std::atan2(double(z), double(x)) / (2 * pi));
    v.tex_coords[1] = static_cast<float>((double(y) + 1) / 2);
}

float u_spread(const float u[3])
{
    return std::max({u[0], u[1], u[2]}) - std::min({u[0], u[1], u[2]});
}

// A triangle across the seam has u near +0.5 on one side and -0.5 on the other.
// Move the far side by one turn: the side whose move leaves the narrower triangle,
// on a tie the side with fewer vertices.
void unwrap_seam(mesh_vertex* tri)
{
    float u[3] = {tri[0].tex_coords[0], tri[1].tex_coords[0], tri[2].tex_coords[0]};
    if (u_spread(u) <= 0.5f)
        return;
    float up[3];   // negative u moved +1
    float down[3]; // positive u moved -1
    int moved_up = 0;
    int moved_down = 0;
    for (int i = 0; i < 3; ++i) {
        up[i] = u[i] < 0 ? (++moved_up, u[i] + 1) : u[i];
        down[i] = u[i] > 0 ? (++moved_down, u[i] - 1) : u[i];
    }
    const float spread_up = u_spread(up);
    const float spread_down = u_spread(down);
    bool use_down = spread_down < spread_up - 1e-6f;
    if (std::fabs(spread_down - spread_up) <= 1e-6f)
        use_down = moved_down < moved_up;
    for (int i = 0; i < 3; ++i)
        tri[i].tex_coords[0] = use_down ? down[i] : up[i];
}

// Tangent: the direction of increasing u across the triangle, orthogonal to each
// vertex normal; w = -1 where normal x tangent runs against increasing v.
void set_tangents(mesh_vertex* tri)
{
    const vec3 p0 = position_of(tri[0]);
    const vec3 e1 = position_of(tri[1]) - p0;
    const vec3 e2 = position_of(tri[2]) - p0;
    const double du1 = double(tri[1].tex_coords[0]) - tri[0].tex_coords[0];
    const double dv1 = double(tri[1].tex_coords[1]) - tri[0].tex_coords[1];
    const double du2 = double(tri[2].tex_coords[0]) - tri[0].tex_coords[0];
    const double dv2 = double(tri[2].tex_coords[1]) - tri[0].tex_coords[1];
    const double det = du1 * dv2 - du2 * dv1;
    if (std::fabs(det) < 1e-12)
        throw std::runtime_error("triangle with degenerate texture coordinates");
    const vec3 along_u = (e1 * dv2 - e2 * dv1) * (1 / det);
    const vec3 along_v = (e2 * du1 - e1 * du2) * (1 / det);
    for (int i = 0; i < 3; ++i) {
        const vec3 n{tri[i].normal[0], tri[i].normal[1], tri[i].normal[2]};
        const vec3 t = along_u - n * dot(n, along_u);
        const double len = length(t);
        if (len < 1e-9)
            throw std::runtime_error("tangent parallel to the normal");
        const vec3 unit = t * (1 / len);
        tri[i].tangent[0] = static_cast<float>(unit.x);
        tri[i].tangent[1] = static_cast<float>(unit.y);
        tri[i].tangent[2] = static_cast<float>(unit.z);
        tri[i].tangent[3] = dot(cross(n, unit), along_v) < 0 ? -1.0f : 1.0f;
    }
}

// Indices name the triangle's own records with 3t in the middle; the outer two
// are ordered so that the triangle is counter-clockwise seen from outside.
void set_indices(const mesh_vertex* tri, std::uint32_t first, std::uint32_t* out)
{
    const vec3 p0 = position_of(tri[0]);
    const vec3 p1 = position_of(tri[1]);
    const vec3 p2 = position_of(tri[2]);
    const bool ccw = dot(cross(p1 - p0, p2 - p0), p0 + p1 + p2) > 0;
    out[0] = ccw ? first + 2 : first + 1;
    out[1] = first;
    out[2] = ccw ? first + 1 : first + 2;
}

} // namespace

qvsdk::sphere_mesh build_geodesic_sphere(int frequency)
{
    if (frequency < 1)
        throw std::runtime_error("frequency must be at least 1");
    const std::array<vec3, 12> corners = icosahedron_corners();
    const std::array<face, 20> faces = icosahedron_faces(corners);
    const int n = frequency;

    qvsdk::sphere_mesh mesh;
    const std::size_t triangles = std::size_t(20) * n * n;
    mesh.vertices.resize(triangles * 3);
    mesh.indices.resize(triangles * 3);

    std::size_t t = 0;
    auto emit = [&](const face& f, const int (&a)[2], const int (&b)[2], const int (&c)[2]) {
        mesh_vertex* tri = &mesh.vertices[3 * t];
        const int* ij[3] = {a, b, c};
        for (int k = 0; k < 3; ++k) {
            const int weight[3] = {n - ij[k][0] - ij[k][1], ij[k][0], ij[k][1]};
            set_on_sphere(tri[k], face_point(corners, f, weight));
        }
        unwrap_seam(tri);
        set_tangents(tri);
        set_indices(tri, static_cast<std::uint32_t>(3 * t), &mesh.indices[3 * t]);
        ++t;
    };

    // Point (i, j) lies i steps from the first corner towards the second and j
    // towards the third; both triangle kinds keep the face's winding.
    for (const face& f : faces) {
        for (int i = 0; i < n; ++i) {
            for (int j = 0; j < n - i; ++j) {
                emit(f, {i, j}, {i + 1, j}, {i, j + 1});
                if (j < n - i - 1)
                    emit(f, {i + 1, j}, {i + 1, j + 1}, {i, j + 1});
            }
        }
    }
    return mesh;
}
