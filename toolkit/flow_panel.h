#pragma once

#include "toolkit/widget.h"

#include <cstdint>
#include <vector>

namespace qvsdk::ui {

// A box layout: children one after another along an axis, with stretches
// and fixed spacings between them.
class flow_panel : public widget {
public:
    enum orientation_kind : std::int32_t { vertical = 0, horizontal = 1 };

    // The second argument is not used.
    flow_panel(std::int32_t orientation, std::int32_t unused, bool fit_to_content, bool track_children);

    // Stretches share what the children leave of the panel's length.
    void add_stretch();
    void add_spacing(std::int32_t length);
    void layout();
    // Follows the parent's size across the axis (and along it with an expanding item).
    void fill_parent();
    virtual void paint();

    std::int32_t orientation() const { return axis; }
    bool is_horizontal() const { return axis != vertical; }
    void set_fill_cross_axis(bool on) { fill_cross_axis = on; }
    bool fills_cross_axis() const { return fill_cross_axis; }
    // Set before the panel is created.
    void set_fill_parent(bool on) { fill_parent_flag = on; }
    bool fills_parent() const { return fill_parent_flag; }
    bool has_expanding_item() const { return expanding; }

private:
    struct item {
        widget* child;
        std::int32_t kind; // 0 widget, 1 stretch, 2 fixed spacing
        std::int32_t spacing;
        bool expand;
    };

    void on_created();
    void on_child_added(widget* child);
    void on_child_removed(widget* child);

    std::int32_t axis;
    bool fill_cross_axis = false;
    bool fill_parent_flag = false;
    bool fit_to_content;
    bool expanding = false;
    bool track_children;
    bool laying_out = false;
    std::vector<item> items;
};

} // namespace qvsdk::ui
