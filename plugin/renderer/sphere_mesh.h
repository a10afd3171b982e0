#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace qvsdk {

// One vertex of the sphere exactly as the model program reads it (stride 64).
struct mesh_vertex {
    float position[4] = {};     // w is stored 0; the shader takes x, y, z only
    float tex_coords[2] = {};
    std::uint32_t reserved[2] = {};
    float normal[4] = {};       // w unused
    float tangent[4] = {};      // w: handedness, -1 or +1
};

static_assert(sizeof(mesh_vertex) == 64, "the vertex layout is the GPU's stride");
static_assert(offsetof(mesh_vertex, tex_coords) == 16 && offsetof(mesh_vertex, normal) == 32 &&
                  offsetof(mesh_vertex, tangent) == 48,
              "attribute offsets are fixed by the upload");

// Three unshared vertices a triangle: 32,000 triangles.
constexpr std::size_t sphere_vertex_count = 96000;
constexpr std::size_t sphere_index_count = 96000;

// The unit sphere carried in the module, inflated into host memory for upload.
struct sphere_mesh {
    std::vector<mesh_vertex> vertices;
    std::vector<std::uint32_t> indices;
};

// Inflates the two embedded streams. Throws std::runtime_error if either does not
// inflate to exactly its expected size, rather than upload a half-empty mesh.
sphere_mesh inflate_sphere_mesh();

// Inflates one zlib stream into exactly `size` bytes at `out`, or throws.
void inflate_exactly(const unsigned char* stream, std::size_t stream_size, void* out,
                     std::size_t size);

} // namespace qvsdk
