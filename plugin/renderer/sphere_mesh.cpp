#include "plugin/renderer/sphere_mesh.h"

#include "embedded/sphere_mesh_data.h"

#include <zlib.h>

#include <limits>
#include <stdexcept>

namespace qvsdk {

void inflate_exactly(const unsigned char* stream, std::size_t stream_size, void* out,
                     std::size_t size)
{
    if (stream_size > std::numeric_limits<uLong>::max() || size > std::numeric_limits<uLongf>::max())
        throw std::runtime_error("sphere mesh stream too large");
    uLongf inflated = static_cast<uLongf>(size);
    const int rc = uncompress(static_cast<Bytef*>(out), &inflated, stream,
                              static_cast<uLong>(stream_size));
    // Z_OK with a short length is a stream that was cut or made for another mesh.
    if (rc != Z_OK || inflated != size)
        throw std::runtime_error("failed to inflate the sphere mesh");
}

sphere_mesh inflate_sphere_mesh()
{
    sphere_mesh mesh;
    mesh.vertices.resize(sphere_vertex_count);
    mesh.indices.resize(sphere_index_count);
    const embedded_file vertices = sphere_mesh_data::sphere_vertices();
    const embedded_file indices = sphere_mesh_data::sphere_indices();
    inflate_exactly(vertices.data, vertices.size, mesh.vertices.data(),
                    mesh.vertices.size() * sizeof(mesh_vertex));
    inflate_exactly(indices.data, indices.size, mesh.indices.data(),
                    mesh.indices.size() * sizeof(std::uint32_t));
    return mesh;
}

} // namespace qvsdk
