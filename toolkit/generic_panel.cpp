#include "toolkit/generic_panel.h"

#include "toolkit/event_ids.h"
#include "toolkit/render_context.h"
#include "toolkit/window.h"

namespace qvsdk::ui {

generic_panel::generic_panel()
{
    subscribe_own(paint_event, [this](const event_info&) { paint(); });
    subscribe_own(theme_changed_event, [this](const event_info&) { invalidate(false); });
}

void generic_panel::paint()
{
    render_context* rc = window() ? window()->context() : nullptr;
    if (!rc)
        return;
    const rect all(0, 0, width(), height());
    rc->set_fill_color(theme().get_color("default_back_color"));
    rc->fill_rect(all);
    rc->set_stroke(render_context::solid, false);
    rc->set_line(theme().get_color("default_border_color"), theme().get_float("default_border_width"));
    rc->draw_rect(all);
}

} // namespace qvsdk::ui
