#include "canvas.h"

#include <algorithm>
#include <cmath>

canvas::canvas(int w, int h, rgba background)
    : width(w), height(h), pixels(static_cast<std::size_t>(w) * h, background)
{
}

void canvas::paint(const shape& inside, rgba c)
{
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            int hits = 0;
            for (int sy = 0; sy < 4; ++sy)
                for (int sx = 0; sx < 4; ++sx)
                    hits += inside(x + (sx + 0.5f) / 4, y + (sy + 0.5f) / 4) ? 1 : 0;
            if (hits == 0)
                continue;
            const float sa = c.a * hits / 16.0f;
            rgba& d = pixels[static_cast<std::size_t>(y) * width + x];
            const float out_a = sa + d.a * (1 - sa);
            if (out_a <= 0)
                continue;
            d.r = (c.r * sa + d.r * d.a * (1 - sa)) / out_a;
            d.g = (c.g * sa + d.g * d.a * (1 - sa)) / out_a;
            d.b = (c.b * sa + d.b * d.a * (1 - sa)) / out_a;
            d.a = out_a;
        }
    }
}

std::vector<std::uint8_t> canvas::bytes(int channels) const
{
    auto to_byte = [](float v) {
        return static_cast<std::uint8_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f));
    };
    std::vector<std::uint8_t> out;
    out.reserve(pixels.size() * channels);
    for (const rgba& p : pixels) {
        out.push_back(to_byte(p.r));
        out.push_back(to_byte(p.g));
        out.push_back(to_byte(p.b));
        if (channels == 4)
            out.push_back(to_byte(p.a));
    }
    return out;
}

canvas::shape circle(float cx, float cy, float r)
{
    return [=](float x, float y) { return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r; };
}

canvas::shape ring(float cx, float cy, float outer, float inner)
{
    return [=](float x, float y) {
        const float d = (x - cx) * (x - cx) + (y - cy) * (y - cy);
        return d <= outer * outer && d >= inner * inner;
    };
}

canvas::shape box(float x0, float y0, float x1, float y1)
{
    return [=](float x, float y) { return x >= x0 && x <= x1 && y >= y0 && y <= y1; };
}

canvas::shape rounded_box(float x0, float y0, float x1, float y1, float radius)
{
    return [=](float x, float y) {
        if (x < x0 || x > x1 || y < y0 || y > y1)
            return false;
        const float cx = std::clamp(x, x0 + radius, x1 - radius);
        const float cy = std::clamp(y, y0 + radius, y1 - radius);
        return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius;
    };
}

canvas::shape polygon(std::vector<std::pair<float, float>> points)
{
    return [points = std::move(points)](float x, float y) {
        bool inside = false;
        for (std::size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
            const auto [xi, yi] = points[i];
            const auto [xj, yj] = points[j];
            if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi)
                inside = !inside;
        }
        return inside;
    };
}

canvas::shape segment(float x0, float y0, float x1, float y1, float width)
{
    return [=](float x, float y) {
        const float dx = x1 - x0, dy = y1 - y0;
        const float t = std::clamp(((x - x0) * dx + (y - y0) * dy) / (dx * dx + dy * dy), 0.0f, 1.0f);
        const float px = x0 + t * dx - x, py = y0 + t * dy - y;
        return px * px + py * py <= width * width / 4;
    };
}

canvas::shape translated(canvas::shape s, float dx, float dy)
{
    return [s = std::move(s), dx, dy](float x, float y) { return s(x - dx, y - dy); };
}
