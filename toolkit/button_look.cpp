#include "toolkit/button_look.h"

#include <algorithm>

namespace qvsdk::ui {

button_fill button_fill_of(const button_state& s)
{
    if (s.pressed)
        return button_fill::pressed;
    if (s.hovered)
        return button_fill::hover;
    if (s.toggled)
        return button_fill::toggle;
    return button_fill::normal;
}

std::int32_t button_frame(std::int32_t n, const button_state& s)
{
    std::int32_t frame = 0;
    if (!s.toggled) {
        if (s.hovered && n > 1)
            frame = 1;
        if (!s.usable && n > 2)
            frame = 2;
        if (s.pressed && n > 3)
            frame = 3;
        return frame;
    }
    frame = n >= 5 ? 4 : 0;
    if (s.hovered)
        frame = n > 5 ? 5 : n > 1 ? 1 : frame;
    if (!s.usable && n > 2)
        frame = n > 6 ? 6 : 2;
    if (s.pressed)
        frame = n > 7 ? 7 : n > 3 ? 3 : frame;
    return frame;
}

std::int32_t button_auto_width(int_pair min_max, std::int32_t margin, std::int32_t text_width)
{
    const std::int32_t low = std::max(min_max.first, 2 * margin);
    const std::int32_t high = min_max.second == 0 ? 10000 : min_max.second;
    return std::max(low, std::min(high, text_width + 30));
}

clipped_text_box button_clipped_text_box(std::int32_t a, std::int32_t w, std::int32_t h, int_pair m)
{
    const std::int32_t mx = m.first, my = m.second;
    clipped_text_box box;
    if (a == 0)
        box.layout = rect(mx, my, w + 1000, h - 2 * my);
    else if (a == 1)
        box.layout = rect(-500, my, w - 2 * mx + 1000, h - 2 * my);
    else
        box.layout = rect(-1000, my, w - 2 * mx + 1000, h - 2 * my);
    box.clip = rect(mx, my, w - 2 * mx, h - 2 * my);
    return box;
}

} // namespace qvsdk::ui
