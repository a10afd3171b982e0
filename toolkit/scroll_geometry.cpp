#include "toolkit/scroll_geometry.h"

#include <algorithm>

namespace qvsdk::ui {

thumb_geometry place_thumb(const scroll_axis& a)
{
    thumb_geometry g{};
    g.range = std::max(a.content_length - a.view_length, 0);
    g.position = std::min(g.range, -a.content_offset);
    const float visible = a.content_length == 0 ? 1.0f : float(a.view_length) / float(a.content_length);
    const std::int32_t track = a.bar_length - 2 * a.button_length;
    g.length = std::min(track, std::max(a.min_thumb, std::int32_t(float(track) * visible)));
    g.pixels_per_unit = g.range == 0 ? 0.0f : float(track - g.length) / float(g.range);
    g.start = std::int32_t(float(g.position) * g.pixels_per_unit) + a.button_length;
    return g;
}

std::int32_t clamp_offset(std::int32_t range, std::int32_t offset)
{
    return std::max(-range, std::min(0, offset));
}

std::int32_t snap_to_step(std::int32_t value, std::int32_t step, bool exact)
{
    if (exact || step == 0)
        return value;
    return value - value % step;
}

std::optional<std::int32_t> track_press_value(const track_press& p)
{
    if (!(p.pixels_per_unit > 0.0f))
        return std::nullopt;
    if (p.cursor < p.thumb_start && (!p.buttons || p.cursor > p.first_button_end))
        return std::int32_t(float(p.cursor) / p.pixels_per_unit);
    const std::int32_t thumb_end = p.thumb_start + p.thumb_length;
    if (p.cursor > thumb_end && (!p.buttons || p.cursor < p.second_button_start))
        return std::int32_t(float(p.cursor - p.thumb_length) / p.pixels_per_unit);
    return std::nullopt;
}

std::optional<std::int32_t> drag_value(std::int32_t cursor, std::int32_t origin, float pixels_per_unit)
{
    if (!(pixels_per_unit > 0.0f))
        return std::nullopt;
    return std::int32_t(float(cursor - origin) / pixels_per_unit);
}

} // namespace qvsdk::ui
