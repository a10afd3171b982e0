#pragma once

#include <cstdint>

namespace qvsdk::ui {

// {x, y, width, height} in 96-dpi units; also the theme's four-int value.
struct rect {
    std::int32_t x, y, width, height;

    constexpr rect() : x(0), y(0), width(0), height(0) {}
    constexpr rect(std::int32_t x_, std::int32_t y_, std::int32_t w, std::int32_t h)
        : x(x_), y(y_), width(w), height(h)
    {
    }
    constexpr std::int32_t right() const { return x + width; }
    constexpr std::int32_t bottom() const { return y + height; }
    constexpr bool is_zero() const { return x == 0 && y == 0 && width == 0 && height == 0; }

    friend constexpr bool operator==(const rect& l, const rect& r)
    {
        return l.x == r.x && l.y == r.y && l.width == r.width && l.height == r.height;
    }
};

static_assert(sizeof(rect) == 16);

} // namespace qvsdk::ui
