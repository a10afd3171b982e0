#include "toolkit/flow_panel.h"

#include "toolkit/event_ids.h"
#include "toolkit/flow_layout.h"
#include "toolkit/render_context.h"
#include "toolkit/window.h"

#include <algorithm>

namespace qvsdk::ui {

flow_panel::flow_panel(std::int32_t orientation, std::int32_t, bool fit, bool track)
    : axis(orientation), fit_to_content(fit), track_children(track)
{
    subscribe_own(created_event, [this](const event_info&) { on_created(); });
    theme().set_value("default_back_color", color(0, 0, 0, 0));
    if (is_visible(false))
        invalidate(false);
}

void flow_panel::on_created()
{
    subscribe_own(child_added_event, [this](const event_info& e) { on_child_added(static_cast<widget*>(e.data)); });
    subscribe_own(child_removed_event,
                  [this](const event_info& e) { on_child_removed(static_cast<widget*>(e.data)); });
    subscribe_own(paint_event, [this](const event_info&) { paint(); });
    subscribe_own(resized_event, [this](const event_info& e) {
        const size old = *static_cast<const size*>(e.data);
        if (!(old == size{width(), height()}) && (fill_cross_axis || expanding))
            layout();
    });
    if (fill_parent_flag || fit_to_content) {
        subscribe_own(parent_resized_event, [this](const event_info&) { fill_parent(); });
        fill_parent();
    }
}

void flow_panel::on_child_added(widget* child)
{
    const auto* panel = dynamic_cast<const flow_panel*>(child);
    const bool expand = panel && panel->axis != axis && panel->fill_parent_flag;
    items.push_back({child, 0, 0, expand});
    if (expand)
        expanding = true;
    if (track_children) {
        subscribe_to(child, resized_event, [this, child](const event_info& e) {
            const size old = *static_cast<const size*>(e.data);
            const bool changed = is_horizontal() ? old.width != child->width() || old.height != child->height()
                                                 : old.height != child->height();
            if (changed)
                layout();
        });
    }
    subscribe_to(child, hidden_event, [this](const event_info&) { layout(); });
    subscribe_to(child, shown_event, [this](const event_info&) { layout(); });
}

void flow_panel::on_child_removed(widget* child)
{
    items.erase(std::remove_if(items.begin(), items.end(), [child](const item& i) { return i.kind == 0 && i.child == child; }),
                items.end());
    expanding = std::any_of(items.begin(), items.end(), [](const item& i) { return i.expand; });
}

void flow_panel::add_stretch()
{
    items.push_back({nullptr, 1, 0, true});
    expanding = true;
}

void flow_panel::add_spacing(std::int32_t length)
{
    items.push_back({nullptr, 2, length, false});
}

void flow_panel::layout()
{
    // Placing a tracked child raises its resize, which would lay out again
    // half-way; the pass under way finishes the job.
    if (laying_out)
        return;
    struct pass_flag {
        bool& flag;
        explicit pass_flag(bool& f) : flag(f) { flag = true; }
        ~pass_flag() { flag = false; }
    } pass(laying_out);
    std::vector<flow_entry> entries;
    entries.reserve(items.size());
    for (const item& i : items) {
        flow_entry e;
        e.kind = flow_entry::kind_t(i.kind);
        e.expand = i.expand;
        e.fixed = i.spacing;
        if (i.kind == 0) {
            e.visible = i.child->is_visible(false);
            e.bounds = i.child->bounds();
            e.minimum = i.child->minimum_size();
        }
        entries.push_back(e);
    }
    const flow_result result = flow_layout(is_horizontal(), fill_cross_axis, {width(), height()}, entries);
    const std::vector<item> placed_items = items; // a handler may change the list
    for (const flow_placement& p : result.placed)
        placed_items[p.index].child->set_rect(p.bounds, true);

    const std::int32_t length = is_horizontal() ? width() : height();
    if (fit_to_content && result.end != length) {
        rect r = bounds();
        const std::int32_t fitted = std::max(result.end, 0);
        if (is_horizontal())
            r.width = fitted;
        else
            r.height = fitted;
        const size s = at_least_minimum({r.width, r.height});
        set_rect({r.x, r.y, s.width, s.height}, true);
    }
}

void flow_panel::fill_parent()
{
    const widget* p = parent();
    if (p && (axis == vertical || axis == horizontal)) {
        rect r = bounds();
        if (axis == vertical) {
            if (fill_parent_flag)
                r.width = p->width() - r.x;
            if (expanding)
                r.height = p->height() - r.y;
        } else {
            if (expanding)
                r.width = p->width() - r.x;
            if (fill_parent_flag)
                r.height = p->height() - r.y;
        }
        const size s = at_least_minimum({r.width, r.height});
        set_rect({r.x, r.y, s.width, s.height}, true);
    }
    layout();
}

void flow_panel::paint()
{
    render_context* rc = window() ? window()->context() : nullptr;
    if (!rc)
        return;
    rc->set_fill_color(theme().get_color("default_back_color"));
    rc->fill_rect({0, 0, width(), height()});
}

} // namespace qvsdk::ui
