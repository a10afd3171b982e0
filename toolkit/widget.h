#pragma once

#include "toolkit/event_object.h"
#include "toolkit/event_manager.h"
#include "toolkit/point.h"
#include "toolkit/rect.h"
#include "toolkit/size.h"
#include "toolkit/theme_store.h"

#include <climits>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace qvsdk::ui {

class window;

// One edge anchor: when set, the widget keeps this distance to that edge of its parent.
struct anchor {
    bool set = false;
    std::int32_t distance = 0;
};

// An element of a window's widget tree: a rectangle in 96-dpi units relative
// to its parent, with children, theme overrides, visibility, enabled state and
// focus. Parents never own their children.
class widget : public event_object {
public:
    widget();
    ~widget() override;

    virtual void add_child(widget* child);
    virtual void remove_child(widget* child);
    virtual void remove_all_children();
    virtual void invalidate(bool update_now);
    virtual bool is_visible(bool with_ancestors) const;

    // Puts the widget into a tree: window and parent, create, event 20, the parent's add_child.
    void attach(qvsdk::ui::window* owner, widget* parent_widget, const rect& r);

    void create(const rect& r);
    void set_parent(widget* p);
    void set_rect(const rect& r, bool also_target);
    void set_enabled(bool value);
    void set_visible(bool value);
    void set_name(std::string text) { widget_name = std::move(text); }
    void apply_anchors(size parent_size);

    // Own flag, or own and inherited together.
    bool is_enabled(bool with_ancestors) const { return enabled && (!with_ancestors || inherited_enabled); }
    bool is_usable() const { return is_enabled(true); }

    // Subscribes on another object with this widget as subscriber and keeps the
    // id, so that the handler goes when that object is removed as a child.
    std::uint32_t subscribe_to(event_object* source, std::uint32_t id, event_handler handler);
    std::uint32_t subscribe_own(std::uint32_t id, event_handler handler) { return subscribe_to(this, id, std::move(handler)); }
    bool raise(std::uint32_t id, void* data = nullptr, std::uint64_t extra = 0);

    theme_store& theme() { return own_theme; }
    const theme_store& theme() const { return own_theme; }

    bool is_created() const { return created; }
    widget* parent() const { return parent_widget; }
    qvsdk::ui::window* window() const { return owner_window; }
    void set_window(qvsdk::ui::window* w) { owner_window = w; }
    const std::vector<widget*>& children() const { return child_list; }
    const std::string& name() const { return widget_name; }
    const rect& bounds() const { return area; }
    const rect& target_rect() const { return target; }
    std::int32_t width() const { return area.width; }
    std::int32_t height() const { return area.height; }
    size minimum_size() const { return minimum; }
    void set_minimum_size(size s) { minimum = s; }
    // Raises a size to the minimum, where one is set (INT_MIN = none).
    size at_least_minimum(size s) const;
    bool is_focusable() const { return focusable; }
    void set_focusable(bool value) { focusable = value; }
    float scale() const { return content_scale; }
    void set_scale(float s) { content_scale = s; }
    anchor top_anchor, bottom_anchor, left_anchor, right_anchor;

    // The window forgets it without touching it (the window is going away).
    void detach_from_window() { owner_window = nullptr; }

private:
    void push_enabled_down();
    void push_visible_down(bool raise_events);
    void drop_subscriptions_on(event_object* other);
    void release_capture_within();

    theme_store own_theme;
    bool created = false;
    std::unordered_map<event_object*, std::vector<std::uint32_t>> subscriptions;
    widget* parent_widget = nullptr;
    qvsdk::ui::window* owner_window = nullptr;
    std::vector<widget*> child_list;
    std::string widget_name = "Widget";
    bool visible = false;
    bool inherited_visible = true;
    bool focusable = false;
    bool enabled = true;
    bool inherited_enabled = true;
    rect area;
    rect target;
    size minimum{INT_MIN, INT_MIN};
    float content_scale = 1.0f;
};

// The rectangle of a widget in its window's root coordinates (96-dpi units),
// through the ancestors' scales: {left, top, right, bottom}.
struct unit_box {
    std::int32_t left, top, right, bottom;
};
unit_box window_units_of(const widget& w);
// The box of a widget whose parent's content starts at origin (root units),
// with g the product of its ancestors' scales.
unit_box child_box(point origin, float g, const widget& w);

// Where anchors put a child of the given size in a parent of parent_size.
rect anchored_rect(const rect& current, size parent_size, const anchor& top, const anchor& bottom,
                   const anchor& left, const anchor& right);

} // namespace qvsdk::ui
