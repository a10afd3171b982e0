#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

// A plain visible top-level window with a client area of the given size, and
// captures of what was drawn into it (BitBlt from its DC, which also sees
// Direct2D output).
class test_window {
public:
    test_window(int width, int height);
    ~test_window();
    test_window(const test_window&) = delete;
    test_window& operator=(const test_window&) = delete;

    HWND handle() const { return hwnd; }

    struct capture {
        int width = 0, height = 0;
        std::vector<std::uint32_t> pixels; // 0x00RRGGBB, top row first

        std::uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
        // Saves the capture as <QV_TEST_OUTPUT>/<name>.png when the folder is set.
        void save(const std::string& name) const;
    };
    capture grab() const;
    // Paints and captures; paints again while the capture is still blank, as
    // under Wine a window's first presents can be lost before it is mapped.
    capture paint_and_grab(const std::function<void()>& paint) const;

private:
    HWND hwnd = nullptr;
};

// What the window's client area shows now (BitBlt from its DC into a DIB).
test_window::capture capture_client(HWND hwnd);

inline int red_of(std::uint32_t p) { return (p >> 16) & 0xff; }
inline int green_of(std::uint32_t p) { return (p >> 8) & 0xff; }
inline int blue_of(std::uint32_t p) { return p & 0xff; }

// Whether a pixel is within tolerance of (r, g, b) in every channel.
inline bool colour_near(std::uint32_t pixel, int r, int g, int b, int tolerance = 12)
{
    return std::abs(red_of(pixel) - r) <= tolerance && std::abs(green_of(pixel) - g) <= tolerance
           && std::abs(blue_of(pixel) - b) <= tolerance;
}

// A point of a capture and the colour it should show.
struct colour_at {
    int x, y, r, g, b;
};
inline void expect_colours(const test_window::capture& c, std::initializer_list<colour_at> points,
                           int tolerance = 12)
{
    for (const colour_at& p : points)
        EXPECT_TRUE(colour_near(c.at(p.x, p.y), p.r, p.g, p.b, tolerance)) << "at " << p.x << ", " << p.y;
}

// Runs the thread's messages for about the given time.
inline void pump_for(int milliseconds)
{
    const DWORD end = GetTickCount() + DWORD(milliseconds);
    do {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(10);
    } while (LONG(GetTickCount() - end) < 0);
}
