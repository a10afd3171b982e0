#include "widget_host.h"

#include "toolkit/image.h"
#include "toolkit/image_ptr.h"
#include "toolkit/render_context.h"
#include "toolkit/style_run.h"
#include "toolkit/theme_store.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>

using namespace qvsdk::ui;

namespace {

const color black(0, 0, 0, 1);
const color red(1, 0, 0, 1);
const color blue(0, 0, 1, 1);

constexpr int window_width = 240;
constexpr int window_height = 160;

bool is_reddish(std::uint32_t p)
{
    return red_of(p) > 120 && green_of(p) < 80 && blue_of(p) < 80;
}

// One paint of the whole window: a black root widget, then the test's drawing.
class drawing : public ::testing::Test {
protected:
    test_window window{window_width, window_height};
    render_context context{window.handle()};
    const int root = 0;

    void begin()
    {
        const RECT all{0, 0, window_width, window_height};
        context.begin_widget(&root, rect(0, 0, window_width, window_height), 1.0f, all);
        context.set_fill_color(black);
        context.fill_rect(rect(0, 0, window_width, window_height));
    }
    void end() { context.end_widget(); }
    // Paints the whole window, the drawing between begin and end, until it shows ink in the area
    // (before its first present the window is black).
    test_window::capture paint(const char* name, const rect& area, const std::function<void()>& draw)
    {
        return capture_showing(window.handle(), name, std::string("ink in ") + name, [&](auto& c) {
            return ink_box(c, area, [](std::uint32_t p) { return red_of(p) > 100; }).width > 0;
        }, [&] { begin(); draw(); end(); });
    }
    // The same until the points show their colours.
    test_window::capture paint_colours(const char* name, std::initializer_list<colour_at> points,
                                       const std::function<void()>& draw, int tolerance = 8)
    {
        return capture_colours(window.handle(), name, points, [&] { begin(); draw(); end(); }, tolerance);
    }
};

} // namespace

TEST_F(drawing, FilledRectangleHasTheFillColourAndStaysInside)
{
    paint_colours("filled_rectangle", {{10, 10, 255, 0, 0}, {49, 39, 255, 0, 0}, {50, 20, 0, 0, 0}, {20, 40, 0, 0, 0},
                                       {100, 100, 0, 0, 0}}, [&] {
        context.set_fill_color(red);
        context.fill_rect(rect(10, 10, 40, 30));
        context.set_fill_color(color(0, 1, 0, 0)); // alpha 0: nothing
        context.fill_rect(rect(0, 0, 240, 160));
    });
}

TEST_F(drawing, GradientRunsFromTheTopColourToTheBottomColour)
{
    const auto c = paint_colours("gradient", {{30, 20, 255, 0, 0}, {30, 119, 0, 0, 255}}, [&] {
        context.fill_gradient(rect(20, 20, 30, 100), red, blue);
    }, 12);
    const auto middle = c.at(30, 70);
    EXPECT_GT(red_of(middle), 40);
    EXPECT_GT(blue_of(middle), 40);
    EXPECT_TRUE(colour_near(c.at(60, 70), 0, 0, 0, 8));
}

TEST_F(drawing, OutlinesAndLinesUseTheLineColourAndWidth)
{
    // (151, 21) is cut off by the rounded corner.
    paint_colours("outlines", {{10, 10, 255, 255, 255}, {29, 29, 255, 255, 255}, {20, 20, 0, 0, 0},
                               {50, 60, 255, 255, 255}, {50, 62, 0, 0, 0}, {0, 0, 0, 0, 0}, {180, 50, 0, 0, 255},
                               {151, 21, 0, 0, 0}}, [&] {
        context.set_stroke(render_context::solid, false);
        context.set_line(color(1, 1, 1, 1), 1.0f);
        context.draw_rect(rect(10, 10, 20, 20));
        context.draw_line(point{10, 60}, point{100, 60});
        context.set_line(color(0, 1, 0, 1), 0.0f); // no width: nothing
        context.draw_rect(rect(0, 0, 240, 160));
        context.set_fill_color(blue);
        context.fill_rounded_rect(rect(150, 20, 60, 60), 20.0f);
    });
}

TEST_F(drawing, WidgetClipKeepsDrawingInsideTheWidget)
{
    // (52, 42) is the grandchild at (40+10, 30+10), 5 wide; (165, 80) is inside the
    // circle but outside its clip.
    paint_colours("clipping", {{40, 30, 255, 0, 0}, {89, 69, 255, 0, 0}, {39, 50, 0, 0, 0}, {90, 50, 0, 0, 0},
                               {60, 70, 0, 0, 0}, {52, 42, 0, 0, 255}, {56, 46, 255, 0, 0}, {175, 75, 255, 0, 0},
                               {165, 80, 0, 0, 0}}, [&] {
        const int child = 1;
        const RECT all{0, 0, window_width, window_height};
        context.begin_widget(&child, rect(40, 30, 50, 40), 1.0f, all);
        context.set_fill_color(red);
        context.fill_rect(rect(-100, -100, 400, 400)); // widget coordinates
        const int grandchild = 2;
        context.begin_widget(&grandchild, rect(10, 10, 5, 5), 1.0f, all);
        context.set_fill_color(blue);
        context.fill_rect(rect(0, 0, 100, 100));
        context.end_widget();
        context.end_widget();
        context.set_fill_color(red);
        context.fill_circle(point{180, 80}, 40.0f, rect(170, 70, 10, 10));
    });
}

TEST_F(drawing, TextDrawsInsideItsLayoutBox)
{
    const auto c = paint("text", rect(10, 10, 200, 40), [&] {
        context.set_font("Tahoma", 20.0f, 2, 0, false);
        context.set_text_alignment(0, 1);
        context.set_text_color(color(1, 1, 1, 1));
        context.draw_text(rect(10, 10, 200, 40), "Hello", {});
    });
    int inside = 0, outside = 0;
    for (int y = 0; y < window_height; ++y)
        for (int x = 0; x < window_width; ++x) {
            const bool lit = red_of(c.at(x, y)) > 100;
            const bool in_box = x >= 10 && x < 210 && y >= 10 && y < 50;
            (in_box ? inside : outside) += lit ? 1 : 0;
        }
    EXPECT_GT(inside, 30);
    EXPECT_EQ(outside, 0);
}

TEST_F(drawing, ClippedTextIsCutAtTheClipRectangle)
{
    context.set_font("Tahoma", 20.0f, 0, 0, false);
    context.set_text_alignment(0, 1);
    const auto c = paint("text_clipped", rect(10, 10, 30, 40), [&] {
        context.set_text_color(color(1, 1, 1, 1));
        context.draw_text_clipped(rect(10, 10, 200, 40), rect(10, 10, 30, 40), "WWWWWWWW");
    });
    int inside = 0, outside = 0;
    for (int y = 0; y < window_height; ++y)
        for (int x = 0; x < window_width; ++x)
            (x >= 10 && x < 40 && y >= 10 && y < 50 ? inside : outside) += red_of(c.at(x, y)) > 100;
    EXPECT_GT(inside, 20);
    EXPECT_EQ(outside, 0);
}

TEST_F(drawing, UnboundedMeasureBreaksOnlyAtExplicitLineBreaks)
{
    context.set_font("Tahoma", 20.0f, 0, 0, false);
    const size one = context.measure_text("Hello", 0, 0, {});
    const size two = context.measure_text("Hello\nHello", 0, 0, {});
    const size wide = context.measure_text("Hello Hello Hello Hello Hello Hello", 0, 0, {});
    EXPECT_GT(one.width, 20);
    EXPECT_GT(two.height, one.height * 3 / 2);
    EXPECT_EQ(wide.height, one.height);
    EXPECT_GT(wide.width, 5 * one.width);
    // Bounded to a narrow width the same text wraps.
    EXPECT_GT(context.measure_text("Hello Hello Hello", one.width + 4, 0, {}).height, one.height * 3 / 2);
}

// Runs count UTF-16 units: with non-ASCII text before it, a run still covers
// exactly the characters it names.
TEST_F(drawing, StyleRunsAddressUtf16PositionsOfNonAsciiText)
{
    const std::string prefix = "\xc3\x84\xc3\x96\xc3\x9c \xc3\xa4\xc3\xb6\xc3\xbc "; // "ÄÖÜ äöü "
    const std::string text = prefix + "RED";
    ASSERT_EQ(utf16_length(prefix), 8);
    ASSERT_EQ(utf16_length(text), 11);

    style_run run;
    run.font_name = "Tahoma";
    run.size = 24.0f;
    run.weight_kind = 2;
    run.start = utf16_length(prefix);
    run.end = utf16_length(text);
    run.colour = red;

    context.set_font("Tahoma", 24.0f, 2, 0, false);
    context.set_text_alignment(0, 1);
    const int prefix_width = context.measure_text(prefix, 0, 0, {}).width;
    const auto c = paint("style_runs_non_ascii", rect(0, 10, 240, 60), [&] {
        context.set_text_color(color(1, 1, 1, 1));
        context.draw_text(rect(0, 10, 240, 60), text, {run});
    });

    int first_red = window_width, last_white = -1;
    for (int y = 10; y < 70; ++y)
        for (int x = 0; x < window_width; ++x) {
            const auto p = c.at(x, y);
            if (is_reddish(p))
                first_red = std::min(first_red, x);
            if (red_of(p) > 200 && green_of(p) > 200)
                last_white = std::max(last_white, x);
        }
    EXPECT_LT(last_white, first_red);
    EXPECT_GE(first_red, prefix_width - 6);
    EXPECT_LE(first_red, prefix_width + 6);
}

TEST_F(drawing, ImagesDrawTheirPixelsAndSpriteFrames)
{
    const theme_store theme;
    image_ptr checkbox;
    ASSERT_TRUE(checkbox.load(theme.get_image("checkbox_image")));
    image_ptr broken;
    const unsigned char junk[] = {1, 2, 3, 4, 5, 6, 7, 8};
    EXPECT_FALSE(broken->load(junk, sizeof junk, 1.0f));

    // Frame corners: the picture's background, its grey border, its dark inside.
    const auto c = paint_colours("images", {{10, 10, 37, 38, 42}, {11, 11, 153, 153, 153}, {15, 15, 44, 45, 49},
                                            {10, 37, 37, 38, 42}}, [&] {
        context.draw_image(point{10, 10}, *checkbox, 1.0f);
        context.draw_image_part(point{40, 10}, *checkbox, rect(0, 0, 14, 14), 1.0f);
        context.draw_image_part(point{60, 10}, *checkbox, rect(0, 14, 14, 14), 1.0f);
        context.draw_image_in_rect(rect(100, 10, 56, 112), *checkbox, 1.0f);
        context.draw_image(point{200, 10}, *broken, 1.0f);
    });
    auto white_in = [&](int x0, int y0, int w, int h) {
        int n = 0;
        for (int y = y0; y < y0 + h; ++y)
            for (int x = x0; x < x0 + w; ++x)
                n += red_of(c.at(x, y)) > 200 && blue_of(c.at(x, y)) > 200;
        return n;
    };
    EXPECT_EQ(white_in(40, 10, 14, 14), 0); // unchecked frame
    EXPECT_GE(white_in(60, 10, 14, 14), 5); // checked frame
    EXPECT_GE(white_in(100, 66, 56, 56), 40); // the stretched tick
    EXPECT_TRUE(colour_near(c.at(210, 20), 0, 0, 0, 8)); // the broken image drew nothing
    EXPECT_EQ(checkbox->context_count(), 1u);
    EXPECT_EQ(context.image_count(), 1u);
}

TEST(ImageContexts, EachContextGetsItsOwnBitmapAndLetsGoOfItAlone)
{
    const theme_store theme;
    image_ptr picture;
    ASSERT_TRUE(picture.load(theme.get_image("message_popup_image")));
    test_window first_window(64, 64), second_window(64, 64);
    render_context second(second_window.handle());
    ID2D1Bitmap* second_bitmap = nullptr;
    {
        render_context first(first_window.handle());
        ID2D1Bitmap* first_bitmap = picture->bitmap_for(first);
        second_bitmap = picture->bitmap_for(second);
        EXPECT_NE(first_bitmap, second_bitmap);
        EXPECT_EQ(picture->bitmap_for(first), first_bitmap);
        EXPECT_EQ(picture->context_count(), 2u);
    }
    EXPECT_EQ(picture->context_count(), 1u);
    EXPECT_EQ(picture->bitmap_for(second), second_bitmap);

    const int root = 0;
    capture_showing(second_window.handle(), "second_context_image", "the sign's amber at (14, 21)",
                    [](auto& c) { return red_of(c.at(14, 21)) > 150; }, [&] {
        second.begin_widget(&root, rect(0, 0, 64, 64), 1.0f, RECT{0, 0, 64, 64});
        second.set_fill_color(black);
        second.fill_rect(rect(0, 0, 64, 64));
        second.draw_image(point{0, 0}, *picture, 1.0f);
        second.end_widget();
    });

    picture->unload();
    EXPECT_EQ(second.image_count(), 0u);
    EXPECT_EQ(picture->context_count(), 0u);
}

TEST(ImageContexts, DestroyedImageLeavesEveryContextList)
{
    const theme_store theme;
    test_window a_window(32, 32), b_window(32, 32), c_window(32, 32);
    render_context a(a_window.handle()), b(b_window.handle()), c(c_window.handle());
    {
        image_ptr picture;
        ASSERT_TRUE(picture.load(theme.get_image("scroll_button_arrow_image")));
        picture->bitmap_for(a);
        picture->bitmap_for(b);
        picture->bitmap_for(c);
        EXPECT_EQ(b.image_count(), 1u);
    }
    EXPECT_EQ(a.image_count(), 0u);
    EXPECT_EQ(b.image_count(), 0u);
    EXPECT_EQ(c.image_count(), 0u);
}
