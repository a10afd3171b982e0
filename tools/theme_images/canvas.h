#pragma once

#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

struct rgba {
    float r, g, b, a;
};

// A picture in straight-alpha floats; shapes are painted source-over with
// 4x4 supersampled coverage, in pixel coordinates (pixel centres at +0.5).
class canvas {
public:
    using shape = std::function<bool(float x, float y)>;

    canvas(int width, int height, rgba background = {0, 0, 0, 0});

    void paint(const shape& inside, rgba colour);
    // Bytes for the PNG writer, 3 or 4 channels.
    std::vector<std::uint8_t> bytes(int channels) const;

    int width, height;

private:
    std::vector<rgba> pixels;
};

// Shape builders; every point set is closed under the given bounds.
canvas::shape circle(float cx, float cy, float r);
canvas::shape ring(float cx, float cy, float outer, float inner);
canvas::shape box(float x0, float y0, float x1, float y1);
canvas::shape rounded_box(float x0, float y0, float x1, float y1, float radius);
canvas::shape polygon(std::vector<std::pair<float, float>> points);
canvas::shape segment(float x0, float y0, float x1, float y1, float width);
canvas::shape translated(canvas::shape s, float dx, float dy);
