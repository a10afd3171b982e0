#include "toolkit_window_helpers.h"

#include "toolkit/event_manager.h"
#include "toolkit/render_context.h"

using namespace qvsdk::ui;

colour_widget::colour_widget(color c) : fill(c)
{
    subscribe_own(12, [this](const event_info&) {
        ++paints;
        render_context* context = window()->context();
        context->set_fill_color(fill);
        context->fill_rect(rect(0, 0, width(), height()));
    });
}

void event_recorder::watch(event_object* source, std::initializer_list<std::uint32_t> ids)
{
    for (std::uint32_t id : ids)
        event_manager::instance().subscribe(source, &subscriber, id, [this](const event_info& e) {
            all.push_back({e.id, reinterpret_cast<std::uintptr_t>(e.data), e.extra});
        });
}

std::vector<recorded_event> event_recorder::of(std::uint32_t id) const
{
    std::vector<recorded_event> out;
    for (const auto& e : all)
        if (e.id == id)
            out.push_back(e);
    return out;
}

void three_colour_window::open(const char* title, int x, int y)
{
    using qvsdk::ui::rect;
    w.create(title, rect(x, y, 200, 120), qvsdk::ui::window_topmost);
    background.attach(&w, &w.root(), rect(0, 0, 200, 120));
    left.attach(&w, &background, rect(20, 20, 60, 60));
    right.attach(&w, &background, rect(120, 20, 60, 60));
    ShowWindow(w.handle(), SW_SHOWNOACTIVATE);
    // Input and captures need the window on screen; the widgets' middles at any dpi.
    grab_window(w.handle(), title, "the red, green and blue widgets", [](auto& c) {
        return shows_colours(c, {{5, 5, 255, 0, 0}, {c.width / 4, c.height / 2, 0, 255, 0},
                                 {c.width * 3 / 4, c.height / 2, 0, 0, 255}});
    });
}
