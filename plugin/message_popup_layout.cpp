#include "plugin/message_popup_layout.h"

#include <algorithm>

namespace {

std::int32_t picture_width(const message_popup_metrics& m)
{
    return m.picture.width > 0 ? m.picture.width + m.margin_x : 0;
}

} // namespace

std::int32_t message_text_width_limit(const message_popup_metrics& m)
{
    return m.requested.width - picture_width(m) - 2 * m.margin_x;
}

message_popup_placement place_message_popup(const message_popup_metrics& m)
{
    const std::int32_t iw = picture_width(m);
    const std::int32_t ih = m.picture.height;
    message_popup_placement p;
    // The measurement adds a unit to each side: a wrapped line would widen the window by it.
    const std::int32_t text_width = std::min(m.text.width, message_text_width_limit(m));
    p.window.width = std::max(text_width + iw + 2 * m.margin_x, m.requested.width);
    const std::int32_t content = std::max(ih, m.text.height) + m.check_box_height;
    p.window.height = content + 2 * (m.component_margin + m.margin_y) + m.button.height;
    p.text = {m.margin_x + iw, m.margin_y, p.window.width - iw - 2 * m.margin_x, m.text.height};

    p.button = m.current_button;
    switch (m.button_align) {
    case 0:
        p.button.x = m.margin_x;
        break;
    case 1:
        p.button.x = (p.window.width - m.button.width) / 2;
        break;
    case 2:
        p.button.x = p.window.width - m.button.width - m.margin_x;
        break;
    default:
        break; // the button stays where it is
    }
    p.button.y = p.window.height - m.margin_y - m.button.height;
    p.button.width = m.button.width;
    p.button.height = m.button.height;
    return p;
}
