#pragma once

#include "test_window.h"

#include "toolkit/generic_panel.h"
#include "toolkit/window.h"

#include <algorithm>
#include <climits>
#include <memory>

// Repaints a whole window and captures its client area until shows() accepts
// the capture (see capture_showing).
test_window::capture grab_window(HWND hwnd, const std::string& name, const std::string& what,
                                 const capture_test& shows);

// A frameless, topmost toolkit window for widget tests with a generic_panel
// filling it, shown at a screen position of its own (kept clear of the other
// tests' windows), and captures of what it painted.
class widget_host {
public:
    // Content painted dark grey (26, 26, 26).
    widget_host(int x, int y, int width, int height);

    qvsdk::ui::window& window() { return *host; }
    qvsdk::ui::generic_panel& content() { return panel; }
    HWND handle() const { return host->handle(); }
    // Screen point of a point in the content's units (96 dpi here).
    POINT screen_point(int x, int y) const;
    // Attaches a widget under a parent (the content when none).
    void add(qvsdk::ui::widget& w, const qvsdk::ui::rect& r, qvsdk::ui::widget* parent = nullptr);

    test_window::capture grab(const std::string& name, const std::string& what, const capture_test& shows)
    {
        return grab_window(host->handle(), name, what, shows);
    }

private:
    std::unique_ptr<qvsdk::ui::window> host;
    qvsdk::ui::generic_panel panel; // declared after the window, so it goes first
};

// Bounding box of the pixels of a capture that pass a test, within an area.
template <typename Test>
qvsdk::ui::rect ink_box(const test_window::capture& c, const qvsdk::ui::rect& area, Test test)
{
    int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN;
    for (int y = area.y; y < area.bottom(); ++y)
        for (int x = area.x; x < area.right(); ++x)
            if (test(c.at(x, y))) {
                left = std::min(left, x);
                top = std::min(top, y);
                right = std::max(right, x);
                bottom = std::max(bottom, y);
            }
    if (left > right)
        return {};
    return {left, top, right - left + 1, bottom - top + 1};
}

inline bool is_red(std::uint32_t p) { return red_of(p) > 180 && green_of(p) < 90 && blue_of(p) < 90; }
inline bool is_blue(std::uint32_t p) { return blue_of(p) > 150 && red_of(p) < 90 && green_of(p) < 90; }
inline bool is_light(std::uint32_t p) { return green_of(p) > 128; }
