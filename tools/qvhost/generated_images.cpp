#include "tools/qvhost/generated_images.h"

#include <algorithm>
#include <cmath>

namespace qvhost {

namespace {

host_image blank(int width, int height)
{
    host_image image;
    image.width = width;
    image.height = height;
    image.pixels.resize(static_cast<std::size_t>(width) * height);
    return image;
}

A_u_char channel(double value)
{
    return static_cast<A_u_char>(std::clamp(value, 0.0, 1.0) * 255.0 + 0.5);
}

} // namespace

host_image checker_image(int width, int height, int cells, PF_Pixel8 a, PF_Pixel8 b)
{
    host_image image = blank(width, height);
    const int size = std::max(1, width / std::max(1, cells));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.at(x, y) = ((x / size + y / size) % 2) ? b : a;
    return image;
}

host_image gradient_environment(int width, int height)
{
    const double pi = 3.14159265358979;
    host_image image = blank(width, height);
    for (int y = 0; y < height; ++y) {
        const double v = (y + 0.5) / height; // 0 top (sky) to 1 bottom (ground)
        for (int x = 0; x < width; ++x) {
            const double turn = std::sin(2 * pi * (x + 0.5) / width) * 0.15;
            double r, g, b;
            if (v < 0.5) {
                const double t = v * 2;
                r = 0.25 + 0.6 * t + turn;
                g = 0.45 + 0.45 * t;
                b = 0.95 - 0.1 * t - turn;
            } else {
                const double t = (v - 0.5) * 2;
                r = 0.55 - 0.3 * t + turn;
                g = 0.42 - 0.25 * t;
                b = 0.3 - 0.2 * t;
            }
            image.at(x, y) = PF_Pixel8{255, channel(r), channel(g), channel(b)};
        }
    }
    return image;
}

host_image bump_pattern(int width, int height, int cells)
{
    const double pi = 3.14159265358979;
    host_image image = blank(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const double u = std::fmod((x + 0.5) * cells / width, 1.0) - 0.5;
            const double v = std::fmod((y + 0.5) * cells / height, 1.0) - 0.5;
            const double r = std::min(1.0, std::sqrt(u * u + v * v) * 2);
            const A_u_char h = channel(0.5 + 0.5 * std::cos(r * pi));
            image.at(x, y) = PF_Pixel8{255, h, h, h};
        }
    return image;
}

host_image solid_image(int width, int height, PF_Pixel8 colour)
{
    host_image image = blank(width, height);
    std::fill(image.pixels.begin(), image.pixels.end(), colour);
    return image;
}

} // namespace qvhost
