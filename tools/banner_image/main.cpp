// Draws the effect-controls header banner: banner_image <output.png>.
// 559 x 168 pixels, 8-bit RGB: the normal state on top, the hover state below,
// each 84 pixels high. The product link sits at x 150-280, y 20-64 of a state.
#include "tools/theme_images/canvas.h"
#include "tools/theme_images/png_writer.h"

#include <cstdio>

namespace {

constexpr int width = 559;
constexpr int state_height = 84;

const rgba back{0.137f, 0.137f, 0.137f, 1};
const rgba rule{0.25f, 0.25f, 0.25f, 1};
const rgba link_idle{0.176f, 0.549f, 0.922f, 1};
const rgba link_lit{0.42f, 0.71f, 0.98f, 1};
const rgba white{1, 1, 1, 1};

// A lit sphere: discs stepping from the dark rim toward a highlight at the upper left.
void sphere(canvas& c, float cx, float cy, float r)
{
    constexpr int steps = 14;
    for (int i = 0; i < steps; ++i) {
        const float t = float(i) / float(steps - 1);
        const float radius = r * (1.0f - 0.85f * t);
        const float shift = r * 0.35f * t;
        const float level = 0.18f + 0.72f * t;
        c.paint(circle(cx - shift, cy - shift, radius), {level * 0.55f, level * 0.75f, level, 1});
    }
}

// The link: a rounded plate with an arrow pointing to the page.
void link_plate(canvas& c, float top, bool hover)
{
    c.paint(rounded_box(150, top + 20, 281, top + 65, 6), hover ? link_lit : link_idle);
    c.paint(segment(236, top + 42.5f, 262, top + 42.5f, 3), white);
    c.paint(polygon({{262, top + 34}, {272, top + 42.5f}, {262, top + 51}}), white);
    for (int bar = 0; bar < 3; ++bar)
        c.paint(box(164, top + 33 + bar * 8.0f, 224 - bar * 12.0f, top + 36 + bar * 8.0f), white);
}

void state(canvas& c, int index)
{
    const float top = float(index * state_height);
    c.paint(box(0, top, width, top + state_height), back);
    c.paint(box(0, top + state_height - 1, width, top + state_height), rule);
    sphere(c, 70, top + 42, 32);
    link_plate(c, top, index == 1);
    // Five map swatches: diffuse, glossiness, illumination, bump, environment.
    const rgba swatches[5] = {{0.8f, 0.45f, 0.2f, 1}, {0.6f, 0.6f, 0.6f, 1}, {0.95f, 0.85f, 0.35f, 1},
                              {0.45f, 0.45f, 0.75f, 1}, {0.3f, 0.6f, 0.5f, 1}};
    for (int i = 0; i < 5; ++i) {
        const float x = 320.0f + i * 46.0f;
        c.paint(rounded_box(x, top + 24, x + 36, top + 60, 4), swatches[i]);
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: banner_image <output.png>\n");
        return 2;
    }
    canvas c(width, 2 * state_height, back);
    state(c, 0);
    state(c, 1);
    if (!write_png(argv[1], c.width, c.height, 3, c.bytes(3))) {
        std::fprintf(stderr, "banner_image: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
