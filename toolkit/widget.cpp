#include "toolkit/widget.h"

#include "toolkit/event_ids.h"
#include "toolkit/mouse_capture.h"
#include "toolkit/window.h"

#include <algorithm>
#include <cmath>

namespace qvsdk::ui {

namespace {

bool is_within(const widget* w, const widget* ancestor)
{
    for (; w; w = w->parent())
        if (w == ancestor)
            return true;
    return false;
}

} // namespace

rect anchored_rect(const rect& r, size parent, const anchor& top, const anchor& bottom, const anchor& left,
                   const anchor& right)
{
    rect out = r;
    if (right.set && left.set) {
        out.x = left.distance;
        out.width = parent.width - left.distance - right.distance;
    } else if (right.set) {
        out.x = parent.width - right.distance - r.width;
    } else if (left.set) {
        out.x = left.distance;
    }
    if (bottom.set && top.set) {
        out.y = top.distance;
        out.height = parent.height - top.distance - bottom.distance;
    } else if (bottom.set) {
        out.y = parent.height - bottom.distance - r.height;
    } else if (top.set) {
        out.y = top.distance;
    }
    return out;
}

unit_box window_units_of(const widget& w)
{
    // Every ancestor scales what lies inside it, the widget's own scale its content.
    double x = w.bounds().x;
    double y = w.bounds().y;
    double width = w.bounds().width * double(w.scale());
    double height = w.bounds().height * double(w.scale());
    for (const widget* a = w.parent(); a; a = a->parent()) {
        x = x * a->scale() + a->bounds().x;
        y = y * a->scale() + a->bounds().y;
        width *= a->scale();
        height *= a->scale();
    }
    return {std::int32_t(std::lround(x)), std::int32_t(std::lround(y)), std::int32_t(std::lround(x + width)),
            std::int32_t(std::lround(y + height))};
}

unit_box child_box(point origin, float g, const widget& w)
{
    const rect& r = w.bounds();
    const std::int32_t left = origin.x + std::int32_t(std::lround(r.x * g));
    const std::int32_t top = origin.y + std::int32_t(std::lround(r.y * g));
    return {left, top, left + std::int32_t(std::lround(r.width * g * w.scale())),
            top + std::int32_t(std::lround(r.height * g * w.scale()))};
}

widget::widget() : own_theme(this) {}

widget::~widget()
{
    if (captured_widget() == this)
        release_mouse();
    if (owner_window)
        owner_window->forget_widget(this);
    if (parent_widget)
        parent_widget->remove_child(this);
    for (widget* child : child_list)
        child->parent_widget = nullptr;
    raise(destroyed_event);
}

void widget::attach(qvsdk::ui::window* owner, widget* parent_to_be, const rect& r)
{
    owner_window = owner;
    parent_widget = parent_to_be;
    create(r);
    raise(created_event);
    if (parent_to_be)
        parent_to_be->add_child(this);
}

bool widget::raise(std::uint32_t id, void* data, std::uint64_t extra)
{
    return event_manager::instance().dispatch(this, id, 2, 1, data, extra);
}

std::uint32_t widget::subscribe_to(event_object* source, std::uint32_t id, event_handler handler)
{
    const std::uint32_t handler_id = event_manager::instance().subscribe(source, this, id, std::move(handler));
    // Own events go with the widget itself; only other objects' are kept for removal.
    if (source != this)
        subscriptions[source].push_back(handler_id);
    return handler_id;
}

void widget::drop_subscriptions_on(event_object* other)
{
    auto it = subscriptions.find(other);
    if (it == subscriptions.end())
        return;
    for (std::uint32_t id : it->second)
        event_manager::instance().remove_handler(id);
    subscriptions.erase(it);
}

bool widget::is_visible(bool with_ancestors) const
{
    return visible && (!with_ancestors || inherited_visible);
}

size widget::at_least_minimum(size s) const
{
    return {std::max(s.width, minimum.width), std::max(s.height, minimum.height)};
}

// One rule everywhere: a child inherits whether its parent is usable, and
// whether its parent is visible through all its ancestors.
void widget::push_enabled_down()
{
    for (widget* child : child_list) {
        child->inherited_enabled = is_usable();
        child->push_enabled_down();
    }
}

void widget::push_visible_down(bool raise_events)
{
    for (widget* child : child_list) {
        child->inherited_visible = is_visible(true);
        child->push_visible_down(raise_events);
        if (raise_events)
            child->raise(child->inherited_visible ? shown_through_ancestor_event : hidden_through_ancestor_event);
    }
}

void widget::release_capture_within()
{
    if (is_within(captured_widget(), this))
        release_mouse();
}

void widget::create(const rect& r)
{
    area = r;
    target = r;
    if (!enabled) {
        enabled = true;
        push_enabled_down();
        raise(enabled_event);
        invalidate(false);
    }
    set_visible(true);
    if (owner_window)
        owner_window->remember_widget(this);
    if (parent_widget) {
        inherited_enabled = parent_widget->is_usable();
        inherited_visible = parent_widget->is_visible(true);
        push_enabled_down();
        push_visible_down(false);
    }
    created = true;
}

void widget::set_parent(widget* p)
{
    parent_widget = p;
    if (!p)
        return;
    raise(parent_set_event, p);
    size parent_size{p->width(), p->height()};
    raise(parent_resized_event, &parent_size);
}

void widget::add_child(widget* child)
{
    child->set_parent(this);
    child->inherited_enabled = is_usable();
    child->inherited_visible = is_visible(true);
    child->push_enabled_down();
    child->push_visible_down(false);
    child_list.push_back(child);
    raise(child_added_event, child);
}

void widget::remove_child(widget* child)
{
    auto it = std::find(child_list.begin(), child_list.end(), child);
    if (it == child_list.end())
        return;
    child_list.erase(it);
    child->parent_widget = nullptr;
    child->inherited_enabled = true;
    child->inherited_visible = true;
    child->push_enabled_down();
    child->push_visible_down(false);
    child->raise(shown_through_ancestor_event);
    raise(child_removed_event, child);
    drop_subscriptions_on(child);
}

void widget::remove_all_children()
{
    const std::vector<widget*> removed = std::move(child_list);
    child_list.clear();
    for (widget* child : removed) {
        child->parent_widget = nullptr;
        child->inherited_enabled = true;
        child->inherited_visible = true;
        child->push_enabled_down();
        child->push_visible_down(false);
        child->raise(shown_through_ancestor_event);
        raise(child_removed_event, child);
    }
    // Only the handlers held on the children go; those on other objects (a
    // scroll bar's target) stay.
    for (widget* child : removed)
        drop_subscriptions_on(child);
}

void widget::set_rect(const rect& r, bool also_target)
{
    const rect old = area;
    area = rect(r.x, r.y, std::max(r.width, 0), std::max(r.height, 0));
    if (also_target)
        target = r;
    if (!created)
        return;
    if (old.width != area.width || old.height != area.height) {
        size old_size{old.width, old.height};
        raise(resized_event, &old_size);
        const std::vector<widget*> kids = child_list;
        for (widget* child : kids) {
            child->raise(parent_resized_event, &old_size);
            child->apply_anchors({area.width, area.height});
        }
    }
    if (old.x != area.x || old.y != area.y) {
        point old_position{old.x, old.y};
        raise(moved_event, &old_position);
        const std::vector<widget*> kids = child_list;
        for (widget* child : kids)
            child->raise(parent_moved_event, &old_position);
    }
    if (!(old == area) && old.width > 0 && old.height > 0 && parent_widget)
        parent_widget->invalidate(false);
    invalidate(false);
}

void widget::apply_anchors(size parent_size)
{
    area = anchored_rect(area, parent_size, top_anchor, bottom_anchor, left_anchor, right_anchor);
    invalidate(false);
}

void widget::invalidate(bool update_now)
{
    if (!created || area.width <= 0 || area.height <= 0 || !owner_window)
        return;
    owner_window->invalidate_units(window_units_of(*this), update_now);
}

void widget::set_enabled(bool value)
{
    if (enabled == value)
        return;
    enabled = value;
    if (!value)
        release_capture_within();
    push_enabled_down();
    raise(value ? enabled_event : disabled_event);
    invalidate(false);
}

void widget::set_visible(bool value)
{
    if (visible == value)
        return;
    visible = value;
    if (!value)
        release_capture_within();
    push_visible_down(true);
    raise(value ? shown_event : hidden_event);
    invalidate(false);
}

} // namespace qvsdk::ui
