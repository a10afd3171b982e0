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

private:
    HWND hwnd = nullptr;
};

// What the window's client area shows now (BitBlt from its DC into a DIB).
test_window::capture capture_client(HWND hwnd);

// Runs the thread's messages until done() holds, at most bound_ms; whether it held.
bool pump_until(const std::function<bool()>& done, int bound_ms = 10000);

// Captures the client area until shows() accepts the capture, running the
// thread's messages between tries and calling paint() (when given) before each.
// Under Wine a window's presents reach the screen late, so the first capture
// with anything in it may still be an earlier frame: the caller says what the
// frame it asked for looks like. The capture is saved under `name`; when the
// bound runs out the test fails naming `what`, with the last capture saved.
using capture_test = std::function<bool(const test_window::capture&)>;
test_window::capture capture_showing(HWND hwnd, const std::string& name, const std::string& what,
                                     const capture_test& shows, const std::function<void()>& paint = {},
                                     int bound_ms = 10000);

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
inline bool shows_colours(const test_window::capture& c, std::initializer_list<colour_at> points, int tolerance = 12)
{
    for (const colour_at& p : points)
        if (!colour_near(c.at(p.x, p.y), p.r, p.g, p.b, tolerance))
            return false;
    return true;
}
// Captures until every point shows its colour; a failure names each point that does not.
test_window::capture capture_colours(HWND hwnd, const std::string& name, std::initializer_list<colour_at> points,
                                     const std::function<void()>& paint = {}, int tolerance = 12);
// Whether two captures differ anywhere within an area.
bool differs_within(const test_window::capture& a, const test_window::capture& b, int x, int y, int width, int height);

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
