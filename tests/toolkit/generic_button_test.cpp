#include "toolkit/generic_button.h"

#include "toolkit/event_manager.h"
#include "toolkit/image.h"
#include "toolkit/render_context.h"
#include "toolkit/theme_store.h"
#include "widget_host.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

using namespace qvsdk::ui;

namespace {

struct clicks {
    std::vector<std::intptr_t> seen;
    explicit clicks(generic_button& b)
    {
        event_manager::instance().subscribe(&b, &b, 50, [this](const event_info& e) {
            seen.push_back(reinterpret_cast<std::intptr_t>(e.data));
        });
    }
};

void press_key(generic_button& b, std::intptr_t vk)
{
    event_manager::instance().dispatch(&b, 8, 2, 1, reinterpret_cast<void*>(vk));
}

} // namespace

TEST(generic_button_keys, EnterClicksAndTogglesSpaceDoesNothing)
{
    widget parent;
    parent.attach(nullptr, nullptr, rect(0, 0, 100, 100));
    generic_button button;
    button.attach(nullptr, &parent, rect(0, 0, 80, 30));
    EXPECT_TRUE(button.is_focusable());
    clicks log(button);
    press_key(button, VK_SPACE);
    EXPECT_TRUE(log.seen.empty());
    press_key(button, VK_RETURN);
    EXPECT_EQ(log.seen, (std::vector<std::intptr_t>{0}));
    button.set_toggle_mode(true);
    press_key(button, VK_RETURN);
    press_key(button, VK_RETURN);
    EXPECT_EQ(log.seen, (std::vector<std::intptr_t>{0, 1, 0}));
}

TEST(generic_button_paint, NormalToggledAndDisabledFills)
{
    widget_host host(1100, 660, 300, 40);
    generic_button normal, toggled, disabled;
    for (generic_button* b : {&normal, &toggled, &disabled}) {
        b->theme().set_value("button_color_normal", color(1, 0, 0, 1));
        b->theme().set_value("button_color_toggle", color(0, 0, 1, 1));
        b->set_text("OK");
    }
    toggled.set_toggle_mode(true);
    toggled.set_toggled(true);
    host.add(normal, rect(0, 5, 90, 30));
    host.add(toggled, rect(100, 5, 90, 30));
    host.add(disabled, rect(200, 5, 90, 30));
    disabled.set_enabled(false);
    const test_window::capture c = host.grab("button_fills", "the red and the blue fill", [](auto& shot) {
        return shows_colours(shot, {{5, 10, 255, 0, 0}, {105, 10, 0, 0, 255}}, 0);
    });
    // Half alpha over the dark grey content.
    const std::uint32_t faded = c.at(205, 10);
    EXPECT_NEAR(red_of(faded), (255 + 26) / 2, 3);
    EXPECT_NEAR(green_of(faded), 13, 3);
    // The text is drawn, in white, somewhere in the middle of the normal button.
    int white = 0;
    for (int y = 5; y < 35; ++y)
        for (int x = 0; x < 90; ++x)
            white += green_of(c.at(x, y)) > 200;
    EXPECT_GT(white, 10);
}

TEST(generic_button_paint, ZeroRadiusRoundsWithHalfTheHeight)
{
    widget_host host(1100, 720, 100, 40);
    generic_button button;
    button.theme().set_value("button_color_normal", color(0, 1, 0, 1));
    button.theme().set_value("button_round_edges", true);
    host.add(button, rect(0, 0, 100, 30));
    // (3, 3) is outside a 15-unit corner.
    host.grab("button_round", "the green fill at (50, 15) and (1, 15), the panel at (3, 3)", [](auto& c) {
        return shows_colours(c, {{50, 15, 0, 255, 0}, {1, 15, 0, 255, 0}, {3, 3, 26, 26, 26}}, 0);
    });
}

TEST(generic_button_paint, AutoSizeFollowsTheTextAndItsFont)
{
    widget_host host(1100, 780, 300, 40);
    generic_button button;
    button.theme().set_value("button_auto_size", true);
    button.theme().set_value("button_auto_size_min_max", int_pair{80, 0});
    button.theme().set_value("button_text_margins", int_pair{10, 0});
    button.set_text("Go");
    host.add(button, rect(0, 0, 10, 30));
    button.auto_size();
    EXPECT_EQ(button.width(), 80);

    button.set_text("A much longer label");
    button.theme().set_value("button_font_size", 20.0f); // a sizing key: re-sizes at once
    render_context& rc = *host.window().context();
    rc.set_font("Tahoma", 20.0f, 2, 0, false);
    const int measured = rc.measure_text("A much longer label", 0, 0, {}).width;
    EXPECT_GT(measured, 100);
    EXPECT_EQ(button.width(), measured + 30);

    button.theme().set_value("button_color_hover", color(1, 1, 1, 1)); // not a sizing key
    EXPECT_EQ(button.width(), measured + 30);
    EXPECT_EQ(button.height(), 30);
}

namespace {

// The theme's opaque two-frame check-box picture (14 x 28 pixels), as a
// button picture, and its pixels as 0x00RRGGBB.
struct two_frame_picture {
    image_data data = theme_store().get_image("checkbox_image");
    std::vector<std::uint32_t> pixels;
    int width = 0, height = 0;

    two_frame_picture()
    {
        image decoded;
        decoded.load(data.data, data.size, data.scale);
        pixel_access p = decoded.lock_pixels();
        width = p.pixels.width;
        height = p.pixels.height;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const std::uint8_t* b = p.data + y * p.stride + x * 4;
                pixels.push_back(std::uint32_t(b[2]) << 16 | std::uint32_t(b[1]) << 8 | b[0]);
            }
        decoded.unlock_pixels(p);
    }
    std::uint32_t at(int x, int y) const { return pixels[std::size_t(y * width + x)]; }
};

bool same_colour(std::uint32_t a, std::uint32_t b)
{
    return std::abs(red_of(a) - red_of(b)) <= 3 && std::abs(green_of(a) - green_of(b)) <= 3
        && std::abs(blue_of(a) - blue_of(b)) <= 3;
}

} // namespace

TEST(generic_button_paint, SpriteFilterStretchAndBackImage)
{
    const two_frame_picture picture;
    ASSERT_EQ(picture.width, 14);
    ASSERT_EQ(picture.height, 28);
    ASSERT_EQ(picture.data.frames, 2u);
    widget_host host(1100, 840, 200, 40);
    generic_button sprite, filtered, stretched, backed;
    int x = 0;
    for (generic_button* b : {&sprite, &filtered, &stretched, &backed}) {
        b->theme().set_value("button_color_normal", color(0, 1, 0, 1));
        host.add(*b, rect(x, 5, 40, 30));
        x += 50;
    }
    for (generic_button* b : {&sprite, &filtered, &stretched})
        b->theme().set_value("button_image", picture.data);
    filtered.theme().set_value("button_image_filter_multiply", color(1, 0, 0, 1));
    stretched.theme().set_value("button_image_strech", true);
    backed.theme().set_value("button_back_image", picture.data);
    // The sprite's first frame, centred: {(40 - 14) / 2, (30 - 14) / 2}.
    const int ox = (40 - 14) / 2, oy = 5 + (30 - 28 / 2) / 2;
    // The fill beside the sprite, and below the back image's slices.
    const test_window::capture c = host.grab("button_images", "the fill beside the pictures", [&](auto& s) {
        return shows_colours(s, {{ox - 3, oy + 7, 0, 255, 0}, {170, 25, 0, 255, 0}}, 0);
    });
    int matched = 0, filtered_ok = 0;
    for (int j = 1; j < 13; j += 3)
        for (int i = 1; i < 13; i += 3) {
            matched += same_colour(c.at(ox + i, oy + j), picture.at(i, j));
            // Red kept, green and blue multiplied by 0.
            const std::uint32_t f = c.at(50 + ox + i, oy + j);
            filtered_ok += std::abs(red_of(f) - red_of(picture.at(i, j))) <= 3 && green_of(f) <= 3 && blue_of(f) <= 3;
        }
    EXPECT_EQ(matched, 16);
    EXPECT_EQ(filtered_ok, 16);
    // Stretched over the whole button: no fill shows at its corners.
    EXPECT_NE(c.at(100 + 2, 5 + 2), 0x00ff00u);
    EXPECT_NE(c.at(100 + 37, 5 + 27), 0x00ff00u);
    // Three slices of the frame height (14): both ends show the picture's first
    // 14 x 14 pixels, as the picture is just one slice wide.
    int ends = 0;
    for (int j = 1; j < 13; j += 4)
        for (int i = 1; i < 13; i += 4) {
            ends += same_colour(c.at(150 + i, 5 + j), picture.at(i, j));
            ends += same_colour(c.at(150 + 40 - 14 + i, 5 + j), picture.at(i, j));
        }
    EXPECT_EQ(ends, 18);
}

TEST(generic_button_paint, ClippedTextStaysOnOneLineInsideTheMargins)
{
    widget_host host(1100, 900, 200, 50);
    generic_button wrapped, clipped;
    for (generic_button* b : {&wrapped, &clipped}) {
        b->theme().set_value("button_color_normal", color(1, 0, 0, 1));
        b->theme().set_value("button_text_margins", int_pair{10, 0});
        b->theme().set_value("button_font_alignment", 0);
        b->set_text("one two three four five six");
    }
    clipped.theme().set_value("button_text_clip", true);
    host.add(wrapped, rect(0, 0, 80, 50));
    host.add(clipped, rect(100, 0, 80, 50));
    // The white text in each button.
    auto ink = [](const test_window::capture& c, int left) {
        return ink_box(c, rect(left, 0, 80, 50), [](std::uint32_t p) { return green_of(p) > 160; });
    };
    const test_window::capture c = host.grab("button_text_clip", "white text in both buttons", [&](auto& shot) {
        return ink(shot, 0).height > 0 && ink(shot, 100).height > 0;
    });
    const rect wrapped_ink = ink(c, 0), clipped_ink = ink(c, 100);
    // Laid out in the inset box, the words wrap onto several lines.
    EXPECT_GT(wrapped_ink.height, 21);
    // Clipped: one line, cut at the right margin (80 - 10).
    EXPECT_LT(clipped_ink.height, 17);
    EXPECT_LT(clipped_ink.right(), 100 + 70 + 1);
    EXPECT_GE(clipped_ink.right(), 100 + 64 + 1);
}
