#pragma once

#include "hostsdk/pf_effect.h"
#include "plugin/render_data.h"

#include <cstdint>

// Bytes a channel for the host's bit depth: 8, 16 or 32 give 1, 2 or 4.
std::uint8_t bytes_per_channel(A_short bit_depth);

// Denominator over numerator, in single precision.
float inverse_ratio(const PF_RationalScale& ratio);

// The layer's size at the current downsampling, rounded up, at least `at_least`.
std::int32_t downsampled_size(A_long size, const PF_RationalScale& downsample,
                              std::int32_t at_least);

// The fields of a frame that come from the in-data alone.
void fill_frame_scale(qvsdk::render_data& frame, const PF_InData& in_data);

// The layer size fields, once the output buffer is known.
void fill_layer_size(qvsdk::render_data& frame, const PF_InData& in_data);
