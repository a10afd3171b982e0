#include "widget_host.h"

#include "widget_input.h"

using namespace qvsdk::ui;

widget_host::widget_host(int x, int y, int width, int height) : host(std::make_unique<qvsdk::ui::window>())
{
    host->create("widget test", rect(x, y, width, height), window_popup | window_topmost);
    panel.theme().set_value("default_back_color", color(0.1f, 0.1f, 0.1f, 1));
    panel.attach(host.get(), &host->root(), rect(0, 0, width, height));
    // Not activated: input tests take the foreground themselves when they need it.
    ShowWindow(host->handle(), SW_SHOWNOACTIVATE);
    UpdateWindow(host->handle());
    widget_input::pump_for(200);
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

test_window::capture grab_window(HWND hwnd)
{
    test_window::capture c;
    for (int attempt = 0; attempt < 20; ++attempt) {
        InvalidateRect(hwnd, nullptr, FALSE);
        UpdateWindow(hwnd);
        widget_input::pump_for(300);
        RECT client{};
        GetClientRect(hwnd, &client);
        c.width = client.right;
        c.height = client.bottom;
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = c.width;
        info.bmiHeader.biHeight = -c.height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        HDC window_dc = GetDC(hwnd);
        HDC memory_dc = CreateCompatibleDC(window_dc);
        HBITMAP dib = CreateDIBSection(window_dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ old = SelectObject(memory_dc, dib);
        BitBlt(memory_dc, 0, 0, c.width, c.height, window_dc, 0, 0, SRCCOPY);
        GdiFlush();
        const auto* p = static_cast<const std::uint32_t*>(bits);
        c.pixels.assign(p, p + static_cast<std::size_t>(c.width) * c.height);
        for (auto& px : c.pixels)
            px &= 0x00ffffff;
        SelectObject(memory_dc, old);
        DeleteObject(dib);
        DeleteDC(memory_dc);
        ReleaseDC(hwnd, window_dc);
        for (std::uint32_t px : c.pixels)
            if (px != 0)
                return c;
    }
    return c;
}
