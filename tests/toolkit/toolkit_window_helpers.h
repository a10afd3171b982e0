#pragma once

#include "test_window.h"
#include "widget_host.h"

#include "toolkit/color.h"
#include "toolkit/widget.h"
#include "toolkit/window.h"

#include <windows.h>

#include <cstdint>
#include <vector>

// A widget that fills itself with one colour and counts its paints.
class colour_widget : public qvsdk::ui::widget {
public:
    explicit colour_widget(qvsdk::ui::color c);
    qvsdk::ui::color fill;
    int paints = 0;
};

// A topmost window, not activated, with a red background widget and a green and a
// blue child, on screen once opened.
struct three_colour_window {
    qvsdk::ui::window w;
    colour_widget background{qvsdk::ui::color(1, 0, 0, 1)};
    colour_widget left{qvsdk::ui::color(0, 1, 0, 1)};
    colour_widget right{qvsdk::ui::color(0, 0, 1, 1)};

    void open(const char* title, int x, int y);
};

// Records every event id raised on an object, with the data and extra values.
struct recorded_event {
    std::uint32_t id;
    std::uintptr_t data;
    std::uint64_t extra;
};
class event_recorder {
public:
    void watch(qvsdk::ui::event_object* source, std::initializer_list<std::uint32_t> ids);
    std::vector<recorded_event> of(std::uint32_t id) const;
    std::vector<recorded_event> all;

private:
    qvsdk::ui::widget subscriber; // holds the handlers; they go with the recorder
};
