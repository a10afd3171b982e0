#pragma once

namespace qvsdk::ui {

// Straight (not premultiplied) RGBA in 0..1.
struct color {
    float r, g, b, a;

    constexpr color() : r(0), g(0), b(0), a(0) {}
    constexpr explicit color(float v) : r(v), g(v), b(v), a(v) {}
    constexpr color(float r_, float g_, float b_, float a_) : r(r_), g(g_), b(b_), a(a_) {}

    friend constexpr bool operator==(const color& l, const color& r)
    {
        return l.r == r.r && l.g == r.g && l.b == r.b && l.a == r.a;
    }
    friend constexpr bool operator!=(const color& l, const color& r) { return !(l == r); }
};

static_assert(sizeof(color) == 16);

} // namespace qvsdk::ui
