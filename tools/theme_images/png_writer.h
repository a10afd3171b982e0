#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Writes 8-bit RGB (3 channels) or RGBA (4 channels) pixels, rows top to bottom,
// as a complete PNG file. False when the file cannot be written.
bool write_png(const std::string& path, int width, int height, int channels,
               const std::vector<std::uint8_t>& pixels);
