#pragma once

#include "tools/qvhost/composition.h"

#include <cstdint>
#include <string>
#include <vector>

namespace qvhost {

// Decodes a picture file (PNG, JPEG, BMP, ...) with the imaging component; throws
// std::runtime_error naming the file when it cannot.
host_image load_image_file(const std::string& path);

// Writes 8-bit RGBA rows, top row first, as a PNG file; false when it cannot.
bool write_png(const std::string& path, int width, int height,
               const std::vector<std::uint8_t>& rgba);

} // namespace qvhost
