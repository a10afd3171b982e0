#include "plugin/renderer/sample_table.h"

#include <cmath>
#include <cstdint>

namespace qvsdk {
namespace {

float radical_inverse(std::uint32_t bits)
{
    bits = (bits << 16) | (bits >> 16);
    bits = ((bits & 0x55555555u) << 1) | ((bits & 0xAAAAAAAAu) >> 1);
    bits = ((bits & 0x33333333u) << 2) | ((bits & 0xCCCCCCCCu) >> 2);
    bits = ((bits & 0x0F0F0F0Fu) << 4) | ((bits & 0xF0F0F0F0u) >> 4);
    bits = ((bits & 0x00FF00FFu) << 8) | ((bits & 0xFF00FF00u) >> 8);
    return static_cast<float>(bits) * 2.3283064365386963e-10f;
}

} // namespace

std::vector<float> prefilter_sample_table()
{
    std::vector<float> table(sample_table_width * sample_table_height * 4, 0.0f);
    const float pi = 3.14159265358979f;
    for (int row = 0; row < 6; ++row) {
        const float a = std::pow(static_cast<float>(row + 1) / 6.0f, 2.8f);
        for (int i = 0; i < sample_table_width; ++i) {
            const float e = radical_inverse(static_cast<std::uint32_t>(i));
            const float cos_theta = std::sqrt((1.0f - e) / (1.0f + (a * a - 1.0f) * e));
            const float sin_theta = std::sqrt(1.0f - cos_theta * cos_theta);
            const float phi = 2.0f * pi * static_cast<float>(i) / sample_table_width;
            float* texel = &table[(row * sample_table_width + i) * 4];
            texel[0] = std::cos(phi) * sin_theta;
            texel[1] = std::sin(phi) * sin_theta;
            texel[2] = cos_theta;
        }
    }
    return table;
}

} // namespace qvsdk
