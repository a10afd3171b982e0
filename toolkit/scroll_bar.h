#pragma once

#include "toolkit/image_ptr.h"
#include "toolkit/point.h"
#include "toolkit/scroll_geometry.h"
#include "toolkit/widget.h"

#include <cstdint>
#include <vector>

namespace qvsdk::ui {

// Scrolls a target widget inside the target's parent by moving it between
// minus the overflow and 0. Shows itself only while the target overflows;
// raises event 49 after each scroll.
class scroll_bar : public widget {
public:
    enum orientation_kind : std::int32_t { vertical = 0, horizontal = 1 };

    scroll_bar();

    // Set before the bar is created.
    void set_orientation(std::int32_t value) { axis = value; }
    void set_arrow_buttons(bool on) { arrow_buttons = on; }
    void set_step(std::int32_t value) { step = value; }

    // Replaces the target; the handlers held on an earlier one are dropped.
    void set_target(widget* w);
    // Null once the target was destroyed.
    widget* target() const { return target_alive() ? target_widget : nullptr; }
    // Positive moves the content towards its start.
    void scroll_by(std::int32_t delta);
    void scroll_to(std::int32_t value, bool exact);
    void update();
    void layout_bar();

    bool is_scrollable() const { return scrollable; }
    bool is_dragging() const { return dragging; }
    std::int32_t position() const { return scrolled; }
    std::int32_t range() const { return scroll_range; }
    const rect& thumb() const { return thumb_rect; }
    const rect& first_button() const { return first_button_rect; }
    const rect& second_button() const { return second_button_rect; }

    virtual void paint_buttons(const rect& button, bool first);
    virtual void paint_bar(const rect& thumb_area);
    virtual void paint_back(const rect& area);

private:
    void on_created();
    void paint();
    void on_down(const event_info& e);
    void on_up(const event_info& e);
    void on_move();
    void on_wheel(const event_info& e);
    void on_view_resized();
    void move_target(widget& t, std::int32_t coordinate);
    void drop_target_handlers();
    bool target_alive() const;
    // The target, after forgetting it when it was destroyed.
    widget* live_target();
    // Stops a drag, giving back the capture only when the bar still holds it.
    void end_drag();
    bool is_vertical() const { return axis == vertical; }
    // Along the bar's axis.
    std::int32_t along(point p) const { return is_vertical() ? p.y : p.x; }
    std::int32_t along_start(const rect& r) const { return is_vertical() ? r.y : r.x; }
    std::int32_t along_length(const rect& r) const { return is_vertical() ? r.height : r.width; }

    std::int32_t axis = vertical;
    bool arrow_buttons = false;
    bool scrollable = false;
    image_ptr arrow_image;
    rect thumb_rect;
    rect first_button_rect;
    rect second_button_rect;
    bool dragging = false;
    point drag_origin{0, 0};
    std::int32_t scrolled = 0;
    std::int32_t scroll_range = 0;
    std::int32_t step = 10;
    float pixels_per_unit = 0;
    widget* target_widget = nullptr;
    std::vector<std::pair<event_object*, std::uint32_t>> target_handlers;
};

} // namespace qvsdk::ui
