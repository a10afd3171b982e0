#include "plugin/renderer/sphere_mesh.h"

#include "embedded/sphere_mesh_data.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <map>
#include <set>
#include <stdexcept>
#include <unordered_map>
#include <vector>

using namespace qvsdk;

namespace {

constexpr double pi = 3.14159265358979323846;
constexpr std::size_t triangle_count = sphere_index_count / 3;

struct vec3 {
    double x, y, z;
};
vec3 operator-(vec3 a, vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
vec3 operator+(vec3 a, vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
vec3 operator*(vec3 a, double s) { return {a.x * s, a.y * s, a.z * s}; }
double dot(vec3 a, vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
vec3 cross(vec3 a, vec3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
double length(vec3 a) { return std::sqrt(dot(a, a)); }
vec3 unit(vec3 a) { return a * (1 / length(a)); }

vec3 position(const mesh_vertex& v) { return {v.position[0], v.position[1], v.position[2]}; }
vec3 normal(const mesh_vertex& v) { return {v.normal[0], v.normal[1], v.normal[2]}; }
vec3 tangent(const mesh_vertex& v) { return {v.tangent[0], v.tangent[1], v.tangent[2]}; }
double azimuth_u(const mesh_vertex& v)
{
    return std::atan2(double(v.position[2]), double(v.position[0])) / (2 * pi);
}

bool touches_pole(const mesh_vertex* tri)
{
    for (int k = 0; k < 3; ++k)
        if (std::fabs(tri[k].position[1]) > 0.99999f)
            return true;
    return false;
}

std::vector<unsigned char> deflate(const std::vector<unsigned char>& bytes)
{
    uLongf size = compressBound(static_cast<uLong>(bytes.size()));
    std::vector<unsigned char> out(size);
    compress(out.data(), &size, bytes.data(), static_cast<uLong>(bytes.size()));
    out.resize(size);
    return out;
}

// The records of each distinct position, found with a tolerance so that a
// rounding difference between two faces' copies of an edge point cannot split it.
struct position_clusters {
    std::vector<int> of_record;
    std::vector<vec3> centre;

    explicit position_clusters(const std::vector<mesh_vertex>& vertices)
    {
        constexpr double cell = 0.01;
        std::unordered_map<std::int64_t, std::vector<int>> grid;
        auto key = [](std::int64_t x, std::int64_t y, std::int64_t z) {
            return ((x + 512) << 20) | ((y + 512) << 10) | (z + 512);
        };
        for (const mesh_vertex& v : vertices) {
            const vec3 p = position(v);
            const std::int64_t cx = std::llround(p.x / cell);
            const std::int64_t cy = std::llround(p.y / cell);
            const std::int64_t cz = std::llround(p.z / cell);
            int found = -1;
            for (int dx = -1; dx <= 1 && found < 0; ++dx)
                for (int dy = -1; dy <= 1 && found < 0; ++dy)
                    for (int dz = -1; dz <= 1 && found < 0; ++dz) {
                        auto it = grid.find(key(cx + dx, cy + dy, cz + dz));
                        if (it == grid.end())
                            continue;
                        for (int c : it->second)
                            if (length(centre[c] - p) < 1e-5) {
                                found = c;
                                break;
                            }
                    }
            if (found < 0) {
                found = static_cast<int>(centre.size());
                centre.push_back(p);
                grid[key(cx, cy, cz)].push_back(found);
            }
            of_record.push_back(found);
        }
    }
};

std::array<vec3, 12> expected_corners()
{
    const double h = 1 / std::sqrt(5.0);
    const double r = 2 / std::sqrt(5.0);
    std::array<vec3, 12> c{};
    c[0] = {0, 1, 0};
    c[1] = {0, -1, 0};
    const double upper[5] = {180, 108, -108, 36, -36};
    const double lower[5] = {0, 72, -72, 144, -144};
    for (int k = 0; k < 5; ++k) {
        const double a = upper[k] * pi / 180;
        const double b = lower[k] * pi / 180;
        c[2 + k] = {r * std::cos(a), h, r * std::sin(a)};
        c[7 + k] = {r * std::cos(b), -h, r * std::sin(b)};
    }
    return c;
}

class SphereMesh : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        try {
            mesh = new sphere_mesh(inflate_sphere_mesh());
        } catch (const std::exception&) {
            mesh = nullptr;
        }
    }
    static void TearDownTestSuite()
    {
        delete mesh;
        mesh = nullptr;
    }
    void SetUp() override { ASSERT_NE(mesh, nullptr) << "the embedded mesh does not inflate"; }
    static const mesh_vertex* triangle(std::size_t t) { return &mesh->vertices[3 * t]; }

    static sphere_mesh* mesh;
};

sphere_mesh* SphereMesh::mesh = nullptr;

} // namespace

TEST(SphereMeshStreams, AreBestCompressionZlibOfTheExactSizes)
{
    const embedded_file streams[2] = {sphere_mesh_data::sphere_vertices(),
                                      sphere_mesh_data::sphere_indices()};
    const std::size_t sizes[2] = {6144000, 384000};
    for (int s = 0; s < 2; ++s) {
        ASSERT_GT(streams[s].size, 2u);
        EXPECT_EQ(streams[s].data[0], 0x78);
        EXPECT_EQ(streams[s].data[1], 0xDA) << "not level 9";
        // Room to spare, so a stream that grew would show its real size.
        std::vector<unsigned char> out(sizes[s] + 4096);
        uLongf inflated = static_cast<uLongf>(out.size());
        ASSERT_EQ(uncompress(out.data(), &inflated, streams[s].data,
                             static_cast<uLong>(streams[s].size)),
                  Z_OK);
        EXPECT_EQ(inflated, sizes[s]);
    }
    EXPECT_EQ(sizeof(mesh_vertex) * sphere_vertex_count, sizes[0]);
    EXPECT_EQ(sizeof(std::uint32_t) * sphere_index_count, sizes[1]);
}

TEST(SphereMeshStreams, InflationRefusesStreamsOfAnyOtherLength)
{
    const std::vector<unsigned char> content(1000, 7);
    const std::vector<unsigned char> stream = deflate(content);
    std::vector<unsigned char> out(2000, 0);

    EXPECT_NO_THROW(inflate_exactly(stream.data(), stream.size(), out.data(), 1000));
    EXPECT_EQ(out[999], 7);
    // Shorter than expected: zlib says Z_OK, but half a mesh is not a mesh.
    EXPECT_THROW(inflate_exactly(stream.data(), stream.size(), out.data(), 1001), std::runtime_error);
    EXPECT_THROW(inflate_exactly(stream.data(), stream.size(), out.data(), 999), std::runtime_error);
    EXPECT_THROW(inflate_exactly(stream.data(), stream.size() - 5, out.data(), 1000), std::runtime_error);
    std::vector<unsigned char> corrupt = stream;
    corrupt[corrupt.size() / 2] ^= 0xFF;
    EXPECT_THROW(inflate_exactly(corrupt.data(), corrupt.size(), out.data(), 1000), std::runtime_error);
}

TEST_F(SphereMesh, TrianglesOwnTheirRecordsAndFaceOutwards)
{
    for (std::size_t t = 0; t < triangle_count; ++t) {
        const std::uint32_t* i = &mesh->indices[3 * t];
        const std::uint32_t first = static_cast<std::uint32_t>(3 * t);
        ASSERT_EQ(i[1], first) << "triangle " << t;
        ASSERT_TRUE((i[0] == first + 1 && i[2] == first + 2) || (i[0] == first + 2 && i[2] == first + 1))
            << "triangle " << t;
        const vec3 a = position(mesh->vertices[i[0]]);
        const vec3 b = position(mesh->vertices[i[1]]);
        const vec3 c = position(mesh->vertices[i[2]]);
        ASSERT_GT(dot(cross(b - a, c - a), a + b + c), 0) << "triangle " << t << " faces inwards";
    }
}

TEST_F(SphereMesh, PositionsLieOnTheUnitSphereWithTheirNormals)
{
    for (std::size_t r = 0; r < sphere_vertex_count; ++r) {
        const mesh_vertex& v = mesh->vertices[r];
        const vec3 p = position(v);
        ASSERT_NEAR(length(p), 1.0, 0.0005) << "record " << r;
        ASSERT_LT(length(normal(v) - unit(p)), 1e-5) << "record " << r;
        ASSERT_EQ(v.position[3], 0.0f) << "record " << r;
    }
}

TEST_F(SphereMesh, TextureCoordinatesFollowAzimuthAndHeightWithoutSpanningTheSeam)
{
    int shifted = 0;
    for (std::size_t t = 0; t < triangle_count; ++t) {
        const mesh_vertex* tri = triangle(t);
        double raw[3];
        double u[3];
        int turned = 0;
        for (int k = 0; k < 3; ++k) {
            const mesh_vertex& v = tri[k];
            raw[k] = azimuth_u(v);
            u[k] = v.tex_coords[0];
            ASSERT_NEAR(v.tex_coords[1], (double(v.position[1]) + 1) / 2, 0.001) << "triangle " << t;
            ASSERT_LE(std::fabs(u[k]), 1.0) << "triangle " << t;
            const double turns = std::round(u[k] - raw[k]);
            ASSERT_NEAR(u[k] - turns, raw[k], 0.002) << "triangle " << t;
            turned += turns != 0;
        }
        const double raw_spread = *std::max_element(raw, raw + 3) - *std::min_element(raw, raw + 3);
        const double spread = *std::max_element(u, u + 3) - *std::min_element(u, u + 3);
        if (raw_spread <= 0.5) {
            ASSERT_EQ(turned, 0) << "triangle " << t << " shifted off the seam";
        }
        // At a pole u is atan2(0, 0) = 0 whatever its neighbours, so those few are wider.
        ASSERT_LT(spread, touches_pole(tri) ? 0.75 : 0.25) << "triangle " << t;
        shifted += turned;
    }
    EXPECT_GT(shifted, 0) << "nothing crossed the seam";
}

TEST_F(SphereMesh, IsAnIcosahedronOfFrequencyFortyInTheGivenOrientation)
{
    const position_clusters clusters(mesh->vertices);
    ASSERT_EQ(clusters.centre.size(), 16002u);

    std::vector<std::set<int>> neighbours(clusters.centre.size());
    std::set<std::pair<int, int>> directed;
    for (std::size_t t = 0; t < triangle_count; ++t) {
        const std::uint32_t* i = &mesh->indices[3 * t];
        for (int k = 0; k < 3; ++k) {
            const int a = clusters.of_record[i[k]];
            const int b = clusters.of_record[i[(k + 1) % 3]];
            ASSERT_NE(a, b) << "degenerate triangle " << t;
            neighbours[a].insert(b);
            neighbours[b].insert(a);
            ASSERT_TRUE(directed.insert({a, b}).second) << "edge used twice the same way, triangle " << t;
        }
    }
    // Closed and consistently wound: every edge is walked once each way.
    for (const auto& [a, b] : directed)
        ASSERT_EQ(directed.count({b, a}), 1u);

    const std::array<vec3, 12> corners = expected_corners();
    std::set<int> corners_found;
    for (std::size_t c = 0; c < neighbours.size(); ++c) {
        const std::size_t count = neighbours[c].size();
        if (count == 6)
            continue;
        ASSERT_EQ(count, 5u) << "position " << c;
        int match = -1;
        for (int k = 0; k < 12; ++k)
            if (length(clusters.centre[c] - corners[k]) < 1e-5)
                match = k;
        ASSERT_GE(match, 0) << "five neighbours away from a corner at (" << clusters.centre[c].x << ", "
                            << clusters.centre[c].y << ", " << clusters.centre[c].z << ")";
        corners_found.insert(match);
    }
    EXPECT_EQ(corners_found.size(), 12u);
}

TEST_F(SphereMesh, TangentsRunAlongIncreasingUWithTheirHandedness)
{
    for (std::size_t t = 0; t < triangle_count; ++t) {
        const mesh_vertex* tri = triangle(t);
        const vec3 e1 = position(tri[1]) - position(tri[0]);
        const vec3 e2 = position(tri[2]) - position(tri[0]);
        const double du1 = double(tri[1].tex_coords[0]) - tri[0].tex_coords[0];
        const double dv1 = double(tri[1].tex_coords[1]) - tri[0].tex_coords[1];
        const double du2 = double(tri[2].tex_coords[0]) - tri[0].tex_coords[0];
        const double dv2 = double(tri[2].tex_coords[1]) - tri[0].tex_coords[1];
        const double det = du1 * dv2 - du2 * dv1;
        const vec3 along_u = (e1 * dv2 - e2 * dv1) * (1 / det);
        const vec3 along_v = unit((e2 * du1 - e1 * du2) * (1 / det));
        for (int k = 0; k < 3; ++k) {
            const mesh_vertex& v = tri[k];
            const vec3 n = normal(v);
            const vec3 tg = tangent(v);
            ASSERT_NEAR(length(tg), 1.0, 1e-4) << "triangle " << t;
            ASSERT_NEAR(dot(tg, n), 0.0, 1e-4) << "triangle " << t;
            ASSERT_GT(dot(tg, unit(along_u - n * dot(n, along_u))), 0.9999) << "triangle " << t;
            ASSERT_TRUE(v.tangent[3] == -1.0f || v.tangent[3] == 1.0f) << "triangle " << t;
            const double side = dot(cross(n, tg), along_v);
            if (std::fabs(side) > 1e-3) {
                ASSERT_EQ(v.tangent[3], side < 0 ? -1.0f : 1.0f) << "triangle " << t;
            }
            if (v.position[1] > -0.99f) {
                ASSERT_EQ(v.tangent[3], -1.0f) << "triangle " << t << " away from the bottom pole";
            }
        }
    }
}
