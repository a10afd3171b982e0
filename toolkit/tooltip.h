#pragma once

#include "toolkit/point.h"
#include "toolkit/size.h"
#include "toolkit/window.h"

#include <windows.h>

#include <cstdint>
#include <string>

namespace qvsdk::ui {

// The hover-help window of a toolkit window: a framed box with a title line and a text.
class tooltip : public window {
public:
    tooltip() = default;
    ~tooltip() override = default;

    // Lays out and shows the tooltip at a screen position in pixels; the theme
    // widget styles it (null: the tooltip's own root widget).
    void set_content(point position, std::string title_text, std::string body_text, widget* theme_widget);
    void paint();

    const std::string& title() const { return title_line; }
    const std::string& text() const { return body; }
    size content() const { return content_size; }
    std::int32_t gap() const { return line_gap; }
    // The widget whose theme styles the tooltip, null for its own.
    widget* styled_by() const { return theme_widget; }
    void forget_theme_widget() { theme_widget = nullptr; }

private:
    const theme_store& theme_source();

    std::string title_line;
    std::string body;
    size title_size{0, 0};
    size text_size{0, 0};
    size content_size{0, 0};
    std::uint8_t line_gap = 0;
    widget* theme_widget = nullptr;
};

// Where a tooltip window goes so that it stays inside the work area.
point kept_in_work_area(const RECT& window_rect, const RECT& work);

} // namespace qvsdk::ui
