#include "widget_host.h"

using namespace qvsdk::ui;

widget_host::widget_host(int x, int y, int width, int height) : host(std::make_unique<qvsdk::ui::window>())
{
    host->create("widget test", rect(x, y, width, height), window_popup | window_topmost);
    panel.theme().set_value("default_back_color", color(0.1f, 0.1f, 0.1f, 1));
    panel.attach(host.get(), &host->root(), rect(0, 0, width, height));
    // Not activated: input tests take the foreground themselves when they need it.
    ShowWindow(host->handle(), SW_SHOWNOACTIVATE);
    // Input and captures need the window on screen.
    grab_window(handle(), "widget_host", "the host's dark content", [](auto& c) { return c.at(0, 0) == 0x1a1a1au; });
}

POINT widget_host::screen_point(int x, int y) const
{
    POINT p{x, y};
    ClientToScreen(host->handle(), &p);
    return p;
}

void widget_host::add(widget& w, const rect& r, widget* parent)
{
    w.attach(host.get(), parent ? parent : &panel, r);
}

test_window::capture grab_window(HWND hwnd, const std::string& name, const std::string& what,
                                 const capture_test& shows)
{
    return capture_showing(hwnd, name, what, shows, [hwnd] {
        InvalidateRect(hwnd, nullptr, FALSE);
        UpdateWindow(hwnd);
    });
}
