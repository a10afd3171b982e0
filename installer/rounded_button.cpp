#include "installer/rounded_button.h"

#include "toolkit/render_context.h"
#include "toolkit/window.h"

#include <cmath>

using namespace qvsdk::ui;

pill_shape pill_of(std::int32_t w, std::int32_t h)
{
    const float r = float(h) * 0.5f;
    const std::int32_t c = std::int32_t(std::lround(r));
    return {{c, c}, {w - c, c}, r - 1.0f};
}

void RoundedButton::paint()
{
    render_context* rc = window() ? window()->context() : nullptr;
    if (!rc)
        return;
    const theme_store& t = theme();
    const std::int32_t w = width(), h = height();
    const bool usable = is_usable();
    if (!usable)
        rc->set_fill_color(t.get_color("rounded_button_back_color_disabled"));
    else
        rc->set_fill_color(t.get_color(is_hovered() ? theme_key("button_color_hover") : theme_key("button_color_normal")));
    const pill_shape pill = pill_of(w, h);
    rc->fill_circle(pill.left_centre, pill.radius, rect());
    rc->fill_circle(pill.right_centre, pill.radius, rect());
    const std::int32_t c = pill.left_centre.x;
    rc->fill_rect(rect(c, 1, w - 2 * c, h - 2));

    color text = t.get_color(is_hovered() ? theme_key("button_font_color_hover") : theme_key("button_font_color"));
    if (!usable)
        text = t.get_color("rounded_button_font_color_disabled");
    if (this->text().empty())
        return;
    rc->set_text_color(text);
    rc->set_font(t.get_text("button_font_name"), t.get_float("button_font_size"), t.get_int("button_font_weight"),
                 t.get_int("button_font_style"), false);
    rc->set_text_alignment(1, 0);
    rc->draw_text(rect(0, 0, w, h), this->text(), {});
}
