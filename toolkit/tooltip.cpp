#include "toolkit/tooltip.h"

#include "toolkit/native_window.h"
#include "toolkit/render_context.h"

#include <algorithm>

namespace qvsdk::ui {

point kept_in_work_area(const RECT& r, const RECT& work)
{
    const LONG width = r.right - r.left;
    const LONG height = r.bottom - r.top;
    return {std::max(work.left, std::min(r.left, work.right - width)),
            std::max(work.top, std::min(r.top, work.bottom - height))};
}

const theme_store& tooltip::theme_source()
{
    return theme_widget ? theme_widget->theme() : root().theme();
}

void tooltip::set_content(point position, std::string title_text, std::string body_text, widget* theme)
{
    title_line = std::move(title_text);
    body = std::move(body_text);
    theme_widget = theme;
    line_gap = (!title_line.empty() && !body.empty()) ? 2 : 0;
    const theme_store& t = theme_source();
    render_context& c = *context();
    c.set_font(t.get_text("tooltip_title_font_name"), t.get_float("tooltip_title_font_size"),
               t.get_int("tooltip_title_font_weight"), t.get_int("tooltip_title_font_style"), false);
    title_size = title_line.empty() ? size{0, 0} : c.measure_text(title_line, 0, 0, {});
    c.set_font(t.get_text("tooltip_font_name"), t.get_float("tooltip_font_size"), t.get_int("tooltip_font_weight"),
               t.get_int("tooltip_font_style"), false);
    text_size = body.empty() ? size{0, 0} : c.measure_text(body, 0, 0, {});
    content_size = {std::max(title_size.width, text_size.width), title_size.height + text_size.height + line_gap};
    native_record().set_rect(rect(position.x, position.y, content_size.width + 16, content_size.height + 8));
    native_record().shown = true;
    ShowWindow(handle(), SW_SHOWNOACTIVATE);
    UpdateWindow(handle());
}

void tooltip::paint()
{
    const theme_store& t = theme_source();
    render_context& c = *context();
    const std::int32_t w = root().width();
    const std::int32_t h = root().height();
    c.set_fill_color(t.get_color("tooltip_back_color"));
    c.fill_rect(rect(0, 0, w, h));
    c.set_stroke(render_context::solid, false);
    c.set_line(t.get_color("tooltip_border_color"), 1.0f);
    c.draw_rect(rect(0, 0, w, h));
    c.set_line(t.get_color("tooltip_border_color_1"), 1.0f);
    c.draw_rect(rect(1, 1, w - 2, h - 2));
    c.set_text_alignment(0, 1);
    if (!title_line.empty()) {
        c.set_text_color(t.get_color("tooltip_title_font_color"));
        c.set_font(t.get_text("tooltip_title_font_name"), t.get_float("tooltip_title_font_size"),
                   t.get_int("tooltip_title_font_weight"), t.get_int("tooltip_title_font_style"), false);
        c.draw_text(rect(8, 4, w - 16, title_size.height), title_line, {});
    }
    if (!body.empty()) {
        c.set_text_color(t.get_color("tooltip_font_color"));
        c.set_font(t.get_text("tooltip_font_name"), t.get_float("tooltip_font_size"), t.get_int("tooltip_font_weight"),
                   t.get_int("tooltip_font_style"), false);
        c.draw_text(rect(8, title_size.height + line_gap + 4, w - 16, text_size.height), body, {});
    }
}

} // namespace qvsdk::ui
