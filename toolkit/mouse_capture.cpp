#include "toolkit/mouse_capture.h"

#include "toolkit/cursor.h"
#include "toolkit/widget.h"
#include "toolkit/window.h"

#include <windows.h>

namespace qvsdk::ui {

namespace {
widget* captured = nullptr;
} // namespace

widget* captured_widget()
{
    return captured;
}

void capture_mouse(widget& w)
{
    captured = &w;
    if (w.window())
        SetCapture(w.window()->handle());
}

void release_mouse()
{
    end_relative_mouse();
    // Cleared first: the WM_CAPTURECHANGED that ReleaseCapture sends finds nothing to clear.
    captured = nullptr;
    ReleaseCapture();
}

void clear_captured_widget()
{
    captured = nullptr;
}

} // namespace qvsdk::ui
