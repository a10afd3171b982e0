#include "plugin/render_data_fill.h"

#include <algorithm>

std::uint8_t bytes_per_channel(A_short bit_depth)
{
    return static_cast<std::uint8_t>(bit_depth / 8);
}

float inverse_ratio(const PF_RationalScale& ratio)
{
    return static_cast<float>(ratio.den) / static_cast<float>(ratio.num);
}

std::int32_t downsampled_size(A_long size, const PF_RationalScale& downsample,
                              std::int32_t at_least)
{
    float factor = static_cast<float>(downsample.num) / static_cast<float>(downsample.den);
    float scaled = static_cast<float>(size) * factor;
    auto rounded = static_cast<std::int32_t>(scaled);
    if (static_cast<float>(rounded) != scaled && scaled >= 0.0f)
        rounded += 1;
    return std::max(rounded, at_least);
}

void fill_frame_scale(qvsdk::render_data& frame, const PF_InData& in_data)
{
    frame.inverse_downsample_x = inverse_ratio(in_data.downsample_x);
    frame.inverse_downsample_y = inverse_ratio(in_data.downsample_y);
    frame.inverse_pixel_aspect = inverse_ratio(in_data.pixel_aspect_ratio);
}

void fill_layer_size(qvsdk::render_data& frame, const PF_InData& in_data)
{
    frame.layer_width = downsampled_size(in_data.width, in_data.downsample_x, frame.output.width);
    frame.layer_height =
        downsampled_size(in_data.height, in_data.downsample_y, frame.output.height);
}
