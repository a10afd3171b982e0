#include "toolkit/text_label.h"

#include "toolkit/cursor.h"
#include "toolkit/event_ids.h"
#include "toolkit/html_text.h"
#include "toolkit/render_context.h"
#include "toolkit/text_encoding.h"
#include "toolkit/text_layout_metrics.h"
#include "toolkit/window.h"

#include <windows.h>
#include <shellapi.h>

#include <algorithm>

namespace qvsdk::ui {

namespace {
// Bounds included; an empty region (a link whose text is all clipped) holds no point.
bool contains(const rect& r, point p)
{
    return r.width > 0 && r.height > 0 && p.x >= r.x && p.y >= r.y && p.x <= r.right() && p.y <= r.bottom();
}

// The part of r inside {0, 0, width, height}; empty when they do not meet.
rect within(const rect& r, std::int32_t width, std::int32_t height)
{
    const std::int32_t left = std::max(r.x, 0), top = std::max(r.y, 0);
    const std::int32_t right = std::min(r.right(), width), bottom = std::min(r.bottom(), height);
    if (right <= left || bottom <= top)
        return {};
    return {left, top, right - left, bottom - top};
}
} // namespace

text_label::text_label()
{
    subscribe_own(paint_event, [this](const event_info&) { paint(); });
    subscribe_own(theme_changed_event, [this](const event_info&) {
        fit_to_text();
        invalidate(false);
    });
    subscribe_own(mouse_move_event, [this](const event_info&) { on_move(); });
    subscribe_own(button_up_event, [this](const event_info&) { on_up(); });
}

void text_label::set_text(std::string value, bool width_too, bool height_too)
{
    auto_width = width_too;
    auto_height = height_too;
    plain = std::move(value);
    fit_to_text();
    invalidate(false);
}

void text_label::set_auto_size(bool width_too, bool height_too)
{
    auto_width = width_too;
    auto_height = height_too;
}

void text_label::set_html(std::string_view source, bool width_too, bool height_too)
{
    html_mode = true;
    set_auto_size(width_too, height_too);
    parse_html(source);
    fit_to_text();
    update_links();
    invalidate(false);
}

void text_label::parse_html(std::string_view source)
{
    plain.clear();
    style_runs.clear();
    // Regions of the old text would open its links over the new one.
    link_regions.clear();
    style_run base;
    base.font_name = std::string(theme().get_text("label_font_name"));
    base.size = theme().get_float("label_font_size");
    html_text parsed = qvsdk::ui::parse_html(source, base);
    plain = std::move(parsed.text);
    style_runs = std::move(parsed.runs);
}

void text_label::set_label_font()
{
    render_context* rc = window()->context();
    const theme_store& t = theme();
    rc->set_font(t.get_text("label_font_name"), t.get_float("label_font_size"), t.get_int("label_font_weight"),
                 t.get_int("label_font_style"), t.get_bool("label_text_underlined"));
    rc->set_text_alignment(t.get_int("label_text_align"), t.get_int("label_text_valign"));
}

void text_label::fit_to_text()
{
    if (!auto_width && !auto_height)
        return;
    render_context* rc = window() ? window()->context() : nullptr;
    if (!rc)
        return;
    set_label_font();
    const size measured =
        rc->measure_text(plain, auto_width ? 0 : width(), auto_height ? 0 : height(), style_runs);
    const size s = at_least_minimum({auto_width ? measured.width + 1 : width(), auto_height ? measured.height + 1 : height()});
    set_rect({bounds().x, bounds().y, s.width, s.height}, true);
}

void text_label::update_links()
{
    link_regions.clear();
    render_context* rc = window() ? window()->context() : nullptr;
    if (!rc)
        return;
    set_label_font();
    // The box the text is drawn in: an unbounded layout would align the text
    // against an infinite width or height.
    const size layout{width(), height()};
    const theme_store& t = theme();
    const text_font font{std::string(t.get_text("label_font_name")), t.get_float("label_font_size"),
                         t.get_int("label_font_weight"), t.get_int("label_font_style"),
                         t.get_bool("label_text_underlined"), t.get_int("label_text_align"),
                         t.get_int("label_text_valign")};
    for (const style_run& run : style_runs) {
        if (run.link.empty())
            continue;
        std::vector<rect> boxes;
        if (!plain.empty() && run.start < run.end) {
            boxes = rc->text_range_rects(plain, style_runs, layout, run.start, run.end);
            // Where the layout's hit-testing gives nothing, its line and
            // cluster metrics still place the link.
            if (boxes.empty())
                boxes = text_range_from_metrics(plain, style_runs, font, layout, run.start, run.end);
        }
        // A region per line: a wrapped link takes no clicks beside its own text.
        const std::size_t before = link_regions.size();
        for (const rect& box : boxes) {
            const rect area = within(box, width(), height());
            if (!area.is_zero())
                link_regions.push_back({area, run.link});
        }
        if (link_regions.size() == before)
            link_regions.push_back({rect(), run.link});
    }
}

const text_label::link_region* text_label::link_at(point p) const
{
    for (const link_region& link : link_regions)
        if (contains(link.area, p))
            return &link;
    return nullptr;
}

void text_label::on_move()
{
    if (!html_mode)
        return;
    set_cursor(link_at(cursor_position(this)) ? 6 : 0);
}

void text_label::on_up()
{
    if (!html_mode)
        return;
    if (const link_region* link = link_at(cursor_position(this))) {
        const std::wstring target = qvsdk::utf8_to_wide(link->target);
        // A target that cannot be opened is ignored.
        ShellExecuteW(nullptr, L"open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    }
}

void text_label::paint()
{
    render_context* rc = window() ? window()->context() : nullptr;
    if (!rc)
        return;
    const theme_store& t = theme();
    const rect all(0, 0, width(), height());
    rc->set_fill_color(t.get_color("default_back_color"));
    rc->fill_rect(all);
    rc->set_stroke(render_context::solid, false);
    rc->set_line(t.get_color("default_border_color"), 1.0f);
    rc->draw_rect(all);
    color text = t.get_color("label_font_color");
    if (!is_usable())
        text.a = 0.5f;
    rc->set_text_color(text);
    rc->set_text_alignment(t.get_int("label_text_align"), t.get_int("label_text_valign"));
    if (plain.empty())
        return;
    if (html_mode) {
        rc->draw_text(all, plain, style_runs);
    } else {
        set_label_font();
        rc->draw_text(all, plain, {});
    }
}

} // namespace qvsdk::ui
