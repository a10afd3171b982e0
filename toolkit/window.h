#pragma once

#include "toolkit/event_object.h"
#include "toolkit/native_window.h"
#include "toolkit/point.h"
#include "toolkit/rect.h"
#include "toolkit/widget.h"

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace qvsdk::ui {

class ime_context;
class render_context;
class tooltip;

// Create flags of window::create.
enum window_flags : std::uint16_t {
    window_popup = 0x01,
    window_caption_only = 0x02,
    window_resizable = 0x04,
    window_minimize_box = 0x08,
    window_maximize_box = 0x10,
    window_topmost = 0x20,
    window_frameless = 0x40,
    window_child = 0x80,
    window_modal_frame = 0x100,
};

// One hover-help area of a widget; an all-zero rect is the whole widget.
struct tooltip_entry {
    rect area;
    std::string title;
    std::string text;
};

// A native top-level window holding a widget tree under its root widget,
// painted through its own drawing context; it can run a modal loop.
class window : public event_object {
public:
    window();
    ~window() override;

    // Every WM_USER message, with its lParam and wParam.
    virtual void on_user_message(std::uint64_t lparam, std::uintptr_t wparam);

    // rect in 96-dpi units; flags from window_flags.
    void create(std::string_view title, const rect& r, std::uint16_t flags);
    int run_modal();
    void end_modal(int result);

    void set_focus(widget* w, std::int32_t reason);
    void focus_previous();
    void set_tooltip(widget* w, const rect& area, std::string title, std::string text);
    void remove_tooltip(widget* w);
    // Hides a tooltip shown for the widget or one inside it, and lets go of it.
    void hide_tooltip_of(widget* w);
    void on_hover_tick();

    // Hands one toolkit event to the widgets that should have it, then the window.
    bool route_input(std::uint32_t id, void* data, std::uint64_t extra);
    // The drag left the window or ended in a drop: the drag target hears that it left.
    void leave_drag_target();
    // The widget at a point in root units; the captured widget wherever the point is.
    widget* hit_test(point p);
    // Paints a widget and its children where they meet the update box (root units).
    void paint_tree(widget& w, const unit_box& update);

    HWND handle() const { return native->hwnd; }
    native_window& native_record() { return *native; }
    render_context* context() const { return drawing.get(); }
    ime_context* ime() const { return input_method.get(); }
    widget& root() { return root_widget; }
    bool is_created() const { return created; }

    void set_owner(window* w) { owner = w; }
    window* owner_window() const { return owner; }
    widget* focused_widget() const { return focused; }
    widget* hovered_widget() const { return hovered; }
    widget* drag_target_widget() const { return drag_target; }
    const std::vector<widget*>& widgets() const { return widget_list; }
    void set_caption_widget(widget* w) { caption = w; }
    widget* caption_widget() const { return caption; }
    void set_tab_navigation(bool on) { tab_navigation = on; }
    void set_tooltips_enabled(bool on) { tooltips_enabled = on; }
    void set_painting_suspended(bool on) { painting_suspended = on; }
    bool is_modal_running() const { return native->modal_running; }
    tooltip* tooltip_window() const { return tip.get(); }
    std::size_t tooltip_count(widget* w) const;

    // Widget bookkeeping.
    void remember_widget(widget* w);
    void forget_widget(widget* w);
    void invalidate_units(const unit_box& box, bool update_now);

    // The window procedure's entry points.
    void on_close();
    void on_destroyed();
    void on_client_resized(size pixels);
    void on_dpi_changed(size pixels, std::int32_t dpi);
    void on_paint();
    void on_timer(UINT_PTR id);
    void on_capture_lost();
    void set_mouse_tracked(bool on) { mouse_tracked = on; }
    bool is_mouse_tracked() const { return mouse_tracked; }

    static constexpr UINT_PTR hover_timer_id = UINT_PTR(0xffffffffu);
    static constexpr UINT_PTR animation_timer_id = UINT_PTR(0xfffffffeu);

private:
    void raise_on(event_object* target, std::uint32_t id, void* data = nullptr, std::uint64_t extra = 0);
    static widget* first_enabled_up(widget* w);
    void focus_next();
    void route_press(std::uint32_t id, void* data);
    void route_wheel(void* data);
    void route_move();
    void route_drop(void* data, std::uint64_t extra);
    void show_tooltip(const tooltip_entry& entry, widget* theme_source);
    void hide_tooltip();
    void release_ended_modal();

    std::unique_ptr<native_window> native;
    std::unique_ptr<render_context> drawing;
    std::unique_ptr<ime_context> input_method;
    window* owner = nullptr;
    widget* focused = nullptr;
    widget* hovered = nullptr;
    widget* drag_target = nullptr;
    std::vector<widget*> widget_list;
    std::unique_ptr<tooltip> tip;
    std::unordered_map<widget*, std::vector<tooltip_entry>> tooltips;
    float hover_time = 0;
    widget* hover_owner = nullptr;
    rect hover_area;
    std::int32_t modal_result = 0;
    bool created = false;
    point paint_origin{0, 0};
    float paint_scale = 1.0f;
    widget* wheel_target = nullptr;
    double last_wheel_time = -1e9;
    point last_wheel_position{0, 0};
    widget* caption = nullptr;
    bool mouse_tracked = false;
    bool tab_navigation = true;
    bool swallow_release = false;
    bool tooltips_enabled = true;
    bool pressed_while_hovering = false;
    bool painting_suspended = false;
    // Last member: destroyed first, while the lists it leaves are still there.
    widget root_widget;
};

} // namespace qvsdk::ui
