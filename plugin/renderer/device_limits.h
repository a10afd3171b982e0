#pragma once

#include "plugin/pixel_buffer.h"

#include <cstdint>

namespace qvsdk {

// What the device takes, read once when the Renderer is built. Callers check their
// buffers against it before they submit a job, so that a buffer the device cannot
// take fails alone instead of ending the render thread.
struct device_limits {
    std::int32_t max_texture_size = 0;
    std::int32_t max_renderbuffer_size = 0;
    std::uint64_t max_buffer_bytes = 0;
};

// Throws std::runtime_error for an output the device cannot render into (empty,
// larger than its render targets or its largest buffer, or malformed rows).
void check_output_fits(const device_limits& limits, const pixel_buffer& output);

// False for a layer that the device cannot take as a texture.
bool layer_fits(const device_limits& limits, const pixel_buffer& layer);

} // namespace qvsdk
