// Draws the toolkit's default theme pictures: theme_images <output folder>.
// Sizes, channel layouts and frame counts are what the theme table declares.
#include "canvas.h"
#include "png_writer.h"

#include <cmath>
#include <cstdio>
#include <string>

namespace {

const rgba white{1, 1, 1, 1};
const rgba light{0.8f, 0.8f, 0.8f, 1};
const rgba grey{0.55f, 0.55f, 0.55f, 1};
const rgba dim{0.4f, 0.4f, 0.4f, 0.6f};
const rgba dark{0.11f, 0.12f, 0.13f, 1};
const rgba blue{0.255f, 0.584f, 0.753f, 1};
const rgba blue_light{0.42f, 0.71f, 0.86f, 1};
const rgba amber{0.96f, 0.72f, 0.16f, 1};

// Four interaction states per sprite half: normal, hover, pressed, disabled.
const rgba states[4] = {light, white, blue, dim};

std::string out_dir;
int failures = 0;

void save(const char* name, const canvas& c, int channels = 4)
{
    const std::string path = out_dir + "/" + name + ".png";
    if (!write_png(path, c.width, c.height, channels, c.bytes(channels))) {
        std::fprintf(stderr, "theme_images: cannot write %s\n", path.c_str());
        ++failures;
    }
}

// Two 14x14 frames: an empty box above, the same box ticked below.
void checkbox()
{
    canvas c(14, 28, {0.145f, 0.149f, 0.165f, 1});
    for (int f = 0; f < 2; ++f) {
        const float y = f * 14.0f;
        c.paint(box(1, y + 1, 13, y + 13), {0.6f, 0.6f, 0.6f, 1});
        c.paint(box(2, y + 2, 12, y + 12), {0.173f, 0.176f, 0.192f, 1});
    }
    c.paint(segment(3.5f, 21, 6, 23.5f, 2), white);
    c.paint(segment(6, 23.5f, 10.5f, 18, 2), white);
    save("checkbox", c, 3);
}

// A warning sign: amber triangle with an exclamation mark.
void message_popup()
{
    canvas c(28, 24);
    c.paint(polygon({{14, 0.5f}, {27.5f, 23.5f}, {0.5f, 23.5f}}), amber);
    c.paint(rounded_box(12.6f, 7, 15.4f, 16.5f, 1.2f), dark);
    c.paint(circle(14, 19.8f, 1.6f), dark);
    save("message_popup", c);
}

void color_select_hue_mark()
{
    canvas c(40, 9);
    c.paint(polygon({{0, 0}, {6, 4.5f}, {0, 9}}), white);
    c.paint(polygon({{40, 0}, {34, 4.5f}, {40, 9}}), white);
    save("color_select_hue_mark", c);
}

void dropdown_button()
{
    canvas c(8, 5);
    c.paint(polygon({{0, 0}, {8, 0}, {4, 5}}), light);
    save("dropdown_button", c);
}

// Eight 18x18 frames: locked in four states, then open in four states.
void multicontrol_lock()
{
    canvas c(18, 144);
    for (int f = 0; f < 8; ++f) {
        const float y = f * 18.0f;
        const rgba colour = states[f % 4];
        const float lift = f < 4 ? 0.0f : 2.5f;
        c.paint([=](float px, float py) { return py < y + 9 - lift && ring(9, y + 7 - lift, 4.5f, 3)(px, py); },
                colour);
        c.paint(box(4.5f, y + 7 - lift, 6, y + 9), colour);
        if (f < 4)
            c.paint(box(12, y + 7, 13.5f, y + 9), colour);
        c.paint(rounded_box(3, y + 8.5f, 15, y + 16, 1.5f), colour);
        c.paint(circle(9, y + 12, 1.3f), dark);
    }
    save("multicontrol_lock", c);
}

// A diamond: its halves are the up/down arrows (top and bottom) and the
// left/right arrows (left and right) of the scroll buttons.
void scroll_button_arrow()
{
    canvas c(8, 8);
    c.paint(polygon({{4, 0.5f}, {7.5f, 4}, {4, 7.5f}, {0.5f, 4}}), {0.75f, 0.75f, 0.75f, 1});
    save("scroll_button_arrow", c);
}

// Eight 12x12 frames: collapsed (pointing right) in four states, then expanded.
void expand_triangles(const char* name)
{
    canvas c(12, 96);
    for (int f = 0; f < 8; ++f) {
        const float y = f * 12.0f;
        if (f < 4)
            c.paint(polygon({{4, y + 2}, {9, y + 6}, {4, y + 10}}), states[f % 4]);
        else
            c.paint(polygon({{2, y + 4}, {10, y + 4}, {6, y + 9}}), states[f % 4]);
    }
    save(name, c);
}

// Eight 12x12 frames: a box with plus (collapsed) or minus (expanded).
void node_expand_button()
{
    canvas c(12, 96);
    for (int f = 0; f < 8; ++f) {
        const float y = f * 12.0f;
        const rgba colour = states[f % 4];
        c.paint([=](float px, float py) {
            return rounded_box(1, y + 1, 11, y + 11, 2)(px, py) && !box(2, y + 2, 10, y + 10)(px, py);
        }, colour);
        c.paint(box(3.5f, y + 5.25f, 8.5f, y + 6.75f), colour);
        if (f < 4)
            c.paint(box(5.25f, y + 3.5f, 6.75f, y + 8.5f), colour);
    }
    save("node_expand_button", c);
}

void browser_folder()
{
    canvas c(20, 20);
    const rgba back{0.78f, 0.6f, 0.25f, 1};
    const rgba front{0.93f, 0.75f, 0.36f, 1};
    c.paint(polygon({{1.5f, 4}, {7.5f, 4}, {9.5f, 6}, {18.5f, 6}, {18.5f, 16.5f}, {1.5f, 16.5f}}), back);
    c.paint(rounded_box(1.5f, 8, 18.5f, 16.5f, 1), front);
    save("browser_folder", c);
}

// A parcel: shared by the pack, starred and foreign entries.
void browser_item()
{
    canvas c(20, 20);
    c.paint(rounded_box(3, 4, 17, 17, 1.5f), {0.72f, 0.56f, 0.38f, 1});
    c.paint(box(3, 4, 17, 7.5f), {0.84f, 0.68f, 0.48f, 1});
    c.paint(box(9, 4, 11, 17), {0.93f, 0.88f, 0.78f, 1});
    save("browser_item", c);
}

// A cloud: the entry has no file behind it.
void browser_virtual()
{
    canvas c(20, 20);
    const rgba cloud{0.62f, 0.76f, 0.9f, 1};
    c.paint(circle(7, 11.5f, 4), cloud);
    c.paint(circle(11.5f, 9, 5), cloud);
    c.paint(circle(15, 12.5f, 3), cloud);
    c.paint(rounded_box(4, 11, 17.5f, 15.5f, 2), cloud);
    save("browser_virtual", c);
}

// Nine 20x20 frames: a knob whose ring fills in one more step per frame.
void editparam_button_drives()
{
    canvas c(20, 180);
    for (int f = 0; f < 9; ++f) {
        const float y = f * 20.0f;
        c.paint(ring(10, y + 10, 8, 6), grey);
        const float reach = f / 8.0f * 6.2832f;
        c.paint([=](float px, float py) {
            if (!ring(10, y + 10, 8, 6)(px, py))
                return false;
            float angle = std::atan2(px - 10, -(py - y - 10));
            if (angle < 0)
                angle += 6.2832f;
            return angle <= reach;
        }, blue);
        c.paint(circle(10, y + 10, 2.5f), f == 0 ? grey : white);
    }
    save("editparam_button_drives", c);
}

// The placeholder of an empty image parameter: a checkerboard in a frame.
void editparam_image_default()
{
    canvas c(256, 256);
    c.paint([](float x, float y) { return (int(x) / 16 + int(y) / 16) % 2 == 0; }, {0.3f, 0.3f, 0.32f, 1});
    c.paint([](float x, float y) { return (int(x) / 16 + int(y) / 16) % 2 == 1; }, {0.22f, 0.22f, 0.24f, 1});
    c.paint([](float x, float y) { return x < 2 || y < 2 || x > 254 || y > 254; }, grey);
    save("editparam_image_default", c);
}

void multiwindow_button()
{
    canvas c(5, 10);
    c.paint(polygon({{0.5f, 1}, {4.5f, 5}, {0.5f, 9}}), light);
    save("multiwindow_button", c);
}

// Two 40x40 frames at scale 4: normal, then highlighted.
void node_port(const char* name, bool filled)
{
    canvas c(40, 80);
    for (int f = 0; f < 2; ++f) {
        const float y = f * 40.0f;
        const rgba colour = f == 0 ? light : blue_light;
        if (filled)
            c.paint(circle(20, y + 20, 16), colour);
        else
            c.paint(ring(20, y + 20, 16, 11), colour);
    }
    save(name, c);
}

void timeline_indicator()
{
    canvas c(28, 40);
    c.paint(polygon({{1, 1}, {27, 1}, {27, 24}, {14, 39}, {1, 24}}), blue);
    save("timeline_indicator", c);
}

void timeline_key_mark()
{
    canvas c(36, 72);
    for (int f = 0; f < 2; ++f) {
        const float y = f * 36.0f;
        c.paint(polygon({{18, y + 2}, {34, y + 18}, {18, y + 34}, {2, y + 18}}), f == 0 ? light : blue);
    }
    save("timeline_key_mark", c);
}

// The work area's ends: a bar with two downward tabs.
void timeline_work_area_mark()
{
    canvas c(64, 32);
    const rgba colour{0.6f, 0.6f, 0.65f, 1};
    c.paint(box(0, 0, 64, 10), colour);
    c.paint(polygon({{0, 10}, {16, 10}, {0, 32}}), colour);
    c.paint(polygon({{64, 10}, {48, 10}, {64, 32}}), colour);
    save("timeline_work_area_mark", c);
}

// Three 44x44 frames at scale 4: normal, hover, selected.
void curve_mark(const char* name, bool round)
{
    canvas c(44, 132);
    const rgba colours[3] = {light, white, blue};
    for (int f = 0; f < 3; ++f) {
        const float y = f * 44.0f;
        if (round) {
            c.paint(circle(22, y + 22, 14), colours[f]);
            c.paint(circle(22, y + 22, 9), {0, 0, 0, 0.35f});
        } else {
            c.paint(box(10, y + 10, 34, y + 34), colours[f]);
        }
    }
    save(name, c);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: theme_images <output folder>\n");
        return 2;
    }
    out_dir = argv[1];
    checkbox();
    message_popup();
    color_select_hue_mark();
    dropdown_button();
    multicontrol_lock();
    scroll_button_arrow();
    expand_triangles("browser_expand");
    browser_folder();
    browser_item();
    browser_virtual();
    editparam_button_drives();
    editparam_image_default();
    multiwindow_button();
    node_expand_button();
    node_port("node_port_output", true);
    node_port("node_port_input", false);
    timeline_indicator();
    timeline_key_mark();
    timeline_work_area_mark();
    curve_mark("curve_editor_mark", false);
    curve_mark("curve_editor_mark_control", true);
    return failures == 0 ? 0 : 1;
}
