#include "installer/break_line.h"

#include "toolkit/render_context.h"
#include "toolkit/window.h"

using namespace qvsdk::ui;

void BreakLine::paint()
{
    render_context* rc = window() ? window()->context() : nullptr;
    if (!rc)
        return;
    rc->set_stroke(render_context::solid, false);
    rc->set_line(theme().get_color("breakline_color"), 1.0f);
    const std::int32_t middle = height() / 2;
    rc->draw_line({0, middle}, {width(), middle});
}
