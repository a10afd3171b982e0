// Draws the installer's pictures: banner, background, logo and the two
// check-mark sprites, as PNG files into the folder given on the command line.
#include "tools/theme_images/canvas.h"
#include "tools/theme_images/png_writer.h"

#include <cmath>
#include <cstdio>
#include <string>

namespace {

bool save(const std::string& folder, const char* name, const canvas& c, int channels)
{
    const std::string path = folder + "/" + name + ".png";
    if (!write_png(path, c.width, c.height, channels, c.bytes(channels))) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

// A shaded sphere made of concentric discs, lighter towards the highlight.
void sphere(canvas& c, float cx, float cy, float r, rgba dark, rgba light)
{
    const int steps = 24;
    for (int i = 0; i < steps; ++i) {
        const float t = float(i) / (steps - 1);
        const float radius = r * (1.0f - 0.85f * t);
        const float shift = r * 0.35f * t;
        const rgba colour{dark.r + (light.r - dark.r) * t, dark.g + (light.g - dark.g) * t,
                          dark.b + (light.b - dark.b) * t, 1.0f};
        c.paint(circle(cx - shift, cy - shift, radius), colour);
    }
}

canvas banner()
{
    canvas c(900, 1000, {0.035f, 0.04f, 0.05f, 1});
    // Horizontal bands darken towards the bottom.
    for (int band = 0; band < 20; ++band) {
        const float y0 = band * 50.0f;
        const float v = 0.03f + 0.004f * float(20 - band);
        c.paint(box(0, y0, 900, y0 + 50), {v, v * 1.1f, v * 1.4f, 1});
    }
    c.paint(ring(450, 470, 330, 322), {0.05f, 0.3f, 0.5f, 0.6f});
    sphere(c, 450, 470, 280, {0.02f, 0.12f, 0.22f, 1}, {0.35f, 0.72f, 0.95f, 1});
    c.paint(segment(120, 880, 780, 880, 3), {0.15f, 0.15f, 0.15f, 1});
    return c;
}

canvas background()
{
    canvas c(576, 494, {0.086f, 0.086f, 0.086f, 1});
    for (int i = 0; i < 12; ++i) {
        const float x = 24.0f + i * 48.0f;
        c.paint(segment(x, 0, x + 120, 494, 1), {0.1f, 0.1f, 0.1f, 1});
    }
    return c;
}

canvas logo()
{
    canvas c(236, 72);
    sphere(c, 36, 36, 28, {0.01f, 0.3f, 0.5f, 1}, {0.5f, 0.85f, 1.0f, 1});
    // Three bars of falling length stand for the name.
    c.paint(rounded_box(80, 16, 226, 28, 6), {0.9f, 0.9f, 0.9f, 1});
    c.paint(rounded_box(80, 34, 190, 44, 5), {0.6f, 0.6f, 0.6f, 1});
    c.paint(rounded_box(80, 50, 150, 58, 4), {0.02f, 0.55f, 0.87f, 1});
    return c;
}

// Two frames of 14 x 14: an empty box above, a ticked box below.
canvas check_sprite()
{
    canvas c(14, 28);
    for (int frame = 0; frame < 2; ++frame) {
        const float y = frame * 14.0f;
        c.paint(box(0, y, 14, y + 14), {0.4f, 0.4f, 0.4f, 1});
        c.paint(box(1, y + 1, 13, y + 13), {0.1f, 0.1f, 0.1f, 1});
    }
    c.paint(polygon({{3, 21}, {5, 19}, {6.5f, 21}, {10.5f, 16}, {12, 17.5f}, {6.5f, 24}}),
            {0.02f, 0.55f, 0.87f, 1});
    return c;
}

// Two frames of 38 x 36 (19 x 18 units at scale 2): a grey ring when not
// installed, a green disc with a tick when installed.
canvas installed_sprite()
{
    canvas c(38, 72);
    c.paint(ring(19, 18, 15, 12), {0.45f, 0.45f, 0.45f, 1});
    c.paint(circle(19, 54, 15), {0.106f, 0.412f, 0.212f, 1});
    c.paint(segment(11, 54, 17, 60, 3.5f), {1, 1, 1, 1});
    c.paint(segment(17, 60, 28, 47, 3.5f), {1, 1, 1, 1});
    return c;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: installer_images <output folder>\n");
        return 2;
    }
    const std::string folder = argv[1];
    const bool ok = save(folder, "banner", banner(), 3) && save(folder, "background", background(), 3) &&
                    save(folder, "logo", logo(), 4) && save(folder, "checkbox", check_sprite(), 4) &&
                    save(folder, "installed_check", installed_sprite(), 4);
    return ok ? 0 : 1;
}
