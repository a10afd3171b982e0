#include "png_writer.h"

#include <zlib.h>

#include <fstream>

namespace {

void put_u32(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    out.push_back(static_cast<std::uint8_t>(v >> 24));
    out.push_back(static_cast<std::uint8_t>(v >> 16));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
    out.push_back(static_cast<std::uint8_t>(v));
}

void put_chunk(std::vector<std::uint8_t>& out, const char* type, const std::vector<std::uint8_t>& body)
{
    put_u32(out, static_cast<std::uint32_t>(body.size()));
    const std::size_t type_at = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), body.begin(), body.end());
    // The CRC covers the type and the body, not the length.
    const uLong crc = crc32(0, out.data() + type_at, static_cast<uInt>(out.size() - type_at));
    put_u32(out, static_cast<std::uint32_t>(crc));
}

} // namespace

bool write_png(const std::string& path, int width, int height, int channels,
               const std::vector<std::uint8_t>& pixels)
{
    const std::size_t row = static_cast<std::size_t>(width) * channels;
    if (pixels.size() != row * height || (channels != 3 && channels != 4))
        return false;

    // Filter type 0 (none) in front of every row.
    std::vector<std::uint8_t> raw;
    raw.reserve((row + 1) * height);
    for (int y = 0; y < height; ++y) {
        raw.push_back(0);
        raw.insert(raw.end(), pixels.begin() + y * row, pixels.begin() + (y + 1) * row);
    }
    uLongf packed_size = compressBound(static_cast<uLong>(raw.size()));
    std::vector<std::uint8_t> packed(packed_size);
    if (compress2(packed.data(), &packed_size, raw.data(), static_cast<uLong>(raw.size()), 9) != Z_OK)
        return false;
    packed.resize(packed_size);

    std::vector<std::uint8_t> header;
    put_u32(header, static_cast<std::uint32_t>(width));
    put_u32(header, static_cast<std::uint32_t>(height));
    header.push_back(8);                       // bits per channel
    header.push_back(channels == 4 ? 6 : 2);   // colour type: RGBA or RGB
    header.push_back(0);                       // deflate
    header.push_back(0);                       // adaptive filtering
    header.push_back(0);                       // no interlace

    std::vector<std::uint8_t> file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    put_chunk(file, "IHDR", header);
    put_chunk(file, "IDAT", packed);
    put_chunk(file, "IEND", {});

    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
    return static_cast<bool>(out);
}
