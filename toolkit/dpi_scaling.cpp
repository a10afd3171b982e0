#include "toolkit/dpi_scaling.h"

#include <cmath>

namespace qvsdk::ui {

namespace {

LONG floor_scaled(std::int32_t v, int from, int to)
{
    return LONG(std::floor(double(v) * to / from));
}

LONG ceil_scaled(std::int32_t v, int from, int to)
{
    return LONG(std::ceil(double(v) * to / from));
}

} // namespace

RECT units_to_pixels(const unit_box& u, int dpi_x, int dpi_y)
{
    return {floor_scaled(u.left, 96, dpi_x), floor_scaled(u.top, 96, dpi_y), ceil_scaled(u.right, 96, dpi_x),
            ceil_scaled(u.bottom, 96, dpi_y)};
}

unit_box pixels_to_units(const RECT& p, int dpi_x, int dpi_y)
{
    return {std::int32_t(floor_scaled(p.left, dpi_x, 96)), std::int32_t(floor_scaled(p.top, dpi_y, 96)),
            std::int32_t(ceil_scaled(p.right, dpi_x, 96)), std::int32_t(ceil_scaled(p.bottom, dpi_y, 96))};
}

} // namespace qvsdk::ui
