// Writes the effect's unit sphere as two zlib streams: the vertex records and the
// 32-bit indices, both exactly as the renderer uploads them.
#include "tools/sphere_mesh/geodesic_sphere.h"

#include <zlib.h>

#include <cstdio>
#include <exception>
#include <stdexcept>
#include <string>
#include <vector>

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__,
              "the streams hold the records' little-endian bytes as they are in memory");

namespace {

constexpr int sphere_frequency = 40;

std::vector<unsigned char> deflate_best(const void* data, std::size_t size)
{
    uLongf out_size = compressBound(static_cast<uLong>(size));
    std::vector<unsigned char> out(out_size);
    if (compress2(out.data(), &out_size, static_cast<const Bytef*>(data), static_cast<uLong>(size),
                  Z_BEST_COMPRESSION) != Z_OK)
        throw std::runtime_error("compress2 failed");
    out.resize(out_size);
    return out;
}

void write_file(const std::string& path, const std::vector<unsigned char>& bytes)
{
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        throw std::runtime_error("cannot open " + path);
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    if (std::fclose(f) != 0 || !written) {
        std::remove(path.c_str());
        throw std::runtime_error("cannot write " + path);
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: sphere_mesh <vertices.z> <indices.z>\n");
        return 2;
    }
    try {
        const qvsdk::sphere_mesh mesh = build_geodesic_sphere(sphere_frequency);
        if (mesh.vertices.size() != qvsdk::sphere_vertex_count ||
            mesh.indices.size() != qvsdk::sphere_index_count)
            throw std::runtime_error("mesh size differs from the renderer's");
        const auto vertices =
            deflate_best(mesh.vertices.data(), mesh.vertices.size() * sizeof(qvsdk::mesh_vertex));
        const auto indices =
            deflate_best(mesh.indices.data(), mesh.indices.size() * sizeof(std::uint32_t));
        write_file(argv[1], vertices);
        write_file(argv[2], indices);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "sphere_mesh: %s\n", e.what());
        return 1;
    }
    return 0;
}
