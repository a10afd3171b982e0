#include "toolkit/image_ptr.h"

#include <cmath>

namespace qvsdk::ui {

bool image_ptr::load(const image_data& picture)
{
    return owned->load(picture.data, static_cast<std::size_t>(picture.size), picture.scale);
}

size image_ptr::size() const
{
    const qvsdk::ui::size pixels = owned->pixel_size();
    const float scale = owned->scale();
    return {static_cast<std::int32_t>(pixels.width / scale), static_cast<std::int32_t>(pixels.height / scale)};
}

rect scaled_area(const rect& units, float scale)
{
    if (units.is_zero())
        return units;
    auto px = [scale](std::int32_t v) { return static_cast<std::int32_t>(std::lround(v * scale)); };
    return {px(units.x), px(units.y), px(units.width), px(units.height)};
}

void image_ptr::multiply(const color& factor, const rect& area)
{
    const rect pixels = scaled_area(area, owned->scale());
    const pixel_access access = owned->lock_pixels();
    // The bytes are premultiplied: colour carries alpha in it, so the alpha
    // factor scales the colour bytes too, or colour would exceed alpha.
    const float factors[4] = {factor.b * factor.a, factor.g * factor.a, factor.r * factor.a, factor.a};
    for (std::int32_t r = access.pixels.height - 1; r >= 0; --r) {
        if (!pixels.is_zero() && (r < pixels.y || r >= pixels.bottom()))
            continue;
        std::uint8_t* row = access.data + static_cast<std::size_t>(r) * access.stride;
        for (std::int32_t c = 0; c < access.pixels.width; ++c) {
            if (!pixels.is_zero() && (c < pixels.x || c >= pixels.right()))
                continue;
            for (int k = 0; k < 4; ++k)
                row[c * 4 + k] = static_cast<std::uint8_t>(row[c * 4 + k] * factors[k]);
        }
    }
    owned->unlock_pixels(access);
}

} // namespace qvsdk::ui
