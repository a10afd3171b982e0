#include "plugin/renderer/device_limits.h"

#include "plugin/renderer/pixel_buffer_size.h"

#include <stdexcept>

namespace qvsdk {
namespace {

bool over_texture_size(const device_limits& limits, const pixel_buffer& buffer)
{
    return buffer.width > limits.max_texture_size || buffer.height > limits.max_texture_size;
}

} // namespace

void check_output_fits(const device_limits& limits, const pixel_buffer& output)
{
    if (output.width <= 0 || output.height <= 0)
        throw std::runtime_error("output buffer is empty");
    if (over_texture_size(limits, output))
        throw std::runtime_error("render texture size is over maximum supported size");
    if (output.width > limits.max_renderbuffer_size || output.height > limits.max_renderbuffer_size)
        throw std::runtime_error("render buffer size is over maximum supported size");
    pixel_buffer_size(output, limits.max_buffer_bytes);
}

bool layer_fits(const device_limits& limits, const pixel_buffer& layer)
{
    if (layer.width <= 0 || layer.height <= 0 || over_texture_size(limits, layer))
        return false;
    try {
        pixel_buffer_size(layer, limits.max_buffer_bytes);
    } catch (const std::runtime_error&) {
        return false;
    }
    return true;
}

} // namespace qvsdk
