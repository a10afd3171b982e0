#include "toolkit/cursor.h"

#include "toolkit/widget.h"
#include "toolkit/window.h"

#include <windows.h>

#include <array>
#include <cmath>
#include <vector>

namespace qvsdk::ui {

namespace {

// Loaded when the deliverable is loaded, before any of its own code runs.
const std::array<HCURSOR, 9> system_cursors = {
    LoadCursorW(nullptr, IDC_ARROW),    LoadCursorW(nullptr, IDC_CROSS),  LoadCursorW(nullptr, IDC_SIZEWE),
    LoadCursorW(nullptr, IDC_SIZENS),   LoadCursorW(nullptr, IDC_SIZENWSE), LoadCursorW(nullptr, IDC_IBEAM),
    LoadCursorW(nullptr, IDC_HAND),     LoadCursorW(nullptr, IDC_SIZENWSE), LoadCursorW(nullptr, IDC_SIZENESW)};

std::vector<HCURSOR>& custom_cursors()
{
    static std::vector<HCURSOR> list;
    return list;
}

point dpi_under_cursor{96, 96};

struct relative_mouse {
    bool active = false;
    point anchor{0, 0};
    point offset{0, 0};
} relative;

point system_dpi()
{
    HDC screen = GetDC(nullptr);
    const point dpi{GetDeviceCaps(screen, LOGPIXELSX), GetDeviceCaps(screen, LOGPIXELSY)};
    ReleaseDC(nullptr, screen);
    return dpi;
}

// The cursor in screen pixels, or in relative mode the anchor plus the movement so far.
POINT raw_cursor()
{
    POINT p{};
    GetCursorPos(&p);
    if (!relative.active)
        return p;
    const LONG dx = p.x - relative.anchor.x;
    const LONG dy = p.y - relative.anchor.y;
    bool moved = false;
    if (dx >= 2 || dx <= -2) {
        relative.offset.x += dx;
        moved = true;
    }
    if (dy >= 2 || dy <= -2) {
        relative.offset.y += dy;
        moved = true;
    }
    if (moved)
        SetCursorPos(relative.anchor.x, relative.anchor.y);
    return POINT{relative.anchor.x + relative.offset.x, relative.anchor.y + relative.offset.y};
}

} // namespace

point units_in_widget(point units, const chain_link* chain, std::size_t count)
{
    double x = units.x;
    double y = units.y;
    double g = 1.0;
    for (std::size_t i = 0; i < count; ++i) {
        if (i > 0) { // the root's own position is the window's origin
            x -= chain[i].position.x * g;
            y -= chain[i].position.y * g;
        }
        g *= chain[i].scale;
    }
    if (g == 0.0)
        return {0, 0};
    return {std::int32_t(std::lround(x / g)), std::int32_t(std::lround(y / g))};
}

point cursor_position(const widget* w)
{
    POINT p = raw_cursor();
    if (!w || !w->window()) {
        const point dpi = system_dpi();
        return {MulDiv(p.x, 96, dpi.x), MulDiv(p.y, 96, dpi.y)};
    }
    ScreenToClient(w->window()->handle(), &p);
    const point units{MulDiv(p.x, 96, dpi_under_cursor.x), MulDiv(p.y, 96, dpi_under_cursor.y)};
    std::vector<chain_link> chain;
    for (const widget* e = w; e; e = e->parent())
        chain.push_back({{e->bounds().x, e->bounds().y}, e->scale()});
    std::vector<chain_link> downward(chain.rbegin(), chain.rend());
    return units_in_widget(units, downward.data(), downward.size());
}

void* cursor_handle(std::int32_t shape)
{
    if (shape >= 0 && shape < std::int32_t(system_cursors.size()))
        return system_cursors[std::size_t(shape)];
    if (shape == 9 && !custom_cursors().empty())
        return custom_cursors().front();
    return nullptr;
}

void set_cursor(std::int32_t shape)
{
    if (HCURSOR c = static_cast<HCURSOR>(cursor_handle(shape)))
        SetCursor(c);
}

void add_custom_cursor(void* handle)
{
    custom_cursors().push_back(static_cast<HCURSOR>(handle));
}

void set_cursor_dpi(std::int32_t x, std::int32_t y)
{
    dpi_under_cursor = {x, y};
}

point cursor_dpi()
{
    return dpi_under_cursor;
}

void begin_relative_mouse(point anchor_on_screen)
{
    relative.active = true;
    relative.anchor = anchor_on_screen;
    relative.offset = {0, 0};
    ShowCursor(FALSE);
    SetCursorPos(anchor_on_screen.x, anchor_on_screen.y);
}

void end_relative_mouse()
{
    if (!relative.active)
        return;
    relative = relative_mouse{};
    ShowCursor(TRUE);
}

bool relative_mouse_active()
{
    return relative.active;
}

} // namespace qvsdk::ui
