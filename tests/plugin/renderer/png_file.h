#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qvtest {

// Writes 8-bit RGBA rows (top row first) as a PNG file; false when it cannot.
bool write_png(const std::string& path, int width, int height,
               const std::vector<std::uint8_t>& rgba);

// QV_TEST_OUTPUT joined with a file name, or just the name when it is unset.
std::string test_output_path(const std::string& file_name);

} // namespace qvtest
