#pragma once

#include <vector>

namespace qvsdk {

constexpr int sample_table_width = 512;
constexpr int sample_table_height = 24;

// GGX half-vectors for the environment prefilter: texel (i, r) of rows 0 to 5 is
// the i-th tangent-space direction (x, y, z, 0) of roughness row r; other rows are
// zero. Row-major RGBA floats, 512 x 24.
std::vector<float> prefilter_sample_table();

} // namespace qvsdk
