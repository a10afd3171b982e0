#include "toolkit/text_label.h"

#include "widget_host.h"

#include <gtest/gtest.h>

#include <string>
#include <stdexcept>

using namespace qvsdk::ui;

TEST(text_label_html, BoldColourSizeAndALinkAreDrawnAsWritten)
{
    widget_host host(1450, 40, 400, 120);
    text_label label;
    host.add(label, rect(10, 10, 380, 100));
    label.set_html("<html><body><p><font size=\"7\" color=\"#ff0000\">Big</font> plain</p>"
                   "<p>see <a href=\"https://example.com/\">this link</a> here</p></body></html>",
                   false, false);
    ASSERT_EQ(label.links().size(), 1u);
    const rect link = label.links()[0].area;
    const rect all(10, 10, 380, 100);
    const test_window::capture c = host.grab("html_label", "red and blue text", [&](auto& shot) {
        return ink_box(shot, all, is_red).height > 0 && ink_box(shot, all, is_blue).height > 0;
    });
    const rect red = ink_box(c, all, is_red);
    const rect blue = ink_box(c, all, is_blue);
    const rect white = ink_box(c, all, is_light);
    EXPECT_GE(red.height, 17); // size 7 is 28 units: much taller than the 11-unit text
    // The link's region covers the blue text (label coordinates are offset by 10).
    EXPECT_GT(link.width, 30);
    EXPECT_LE(link.x + 10, blue.x + 1);
    EXPECT_GE(link.right() + 10, blue.right() - 1);
    EXPECT_LE(link.y + 10, blue.y + 1);
    EXPECT_GE(link.bottom() + 10, blue.bottom() - 1);
    // The red word comes first, on a line above the link.
    EXPECT_LT(red.y, blue.y);
    EXPECT_LT(white.y, blue.y);
}

TEST(text_label_html, BoldRunsInkMoreThanPlainOnes)
{
    widget_host host(1450, 180, 300, 60);
    text_label bold, plain;
    host.add(bold, rect(0, 0, 300, 30));
    host.add(plain, rect(0, 30, 300, 30));
    bold.set_html("<b>MMMMMMMMMM</b>", false, false);
    plain.set_html("<i></i>MMMMMMMMMM<i></i>", false, false);
    const test_window::capture c = host.grab("bold_and_plain", "text on both lines", [](auto& shot) {
        return ink_box(shot, rect(0, 0, 300, 30), is_light).width > 0
               && ink_box(shot, rect(0, 30, 300, 30), is_light).width > 0;
    });
    int bold_ink = 0, plain_ink = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 300; ++x) {
            bold_ink += is_light(c.at(x, y));
            plain_ink += is_light(c.at(x, y + 30));
        }
    EXPECT_GT(plain_ink, 20);
    EXPECT_GT(bold_ink, plain_ink + plain_ink / 5);
}

TEST(text_label_plain, AutoHeightKeepsTheWidthAndGrowsForWrappedText)
{
    widget_host host(1450, 260, 300, 200);
    text_label one_line, wrapped;
    host.add(one_line, rect(0, 0, 120, 5));
    host.add(wrapped, rect(150, 0, 120, 5));
    one_line.set_text("Short", false, true);
    wrapped.set_text("A longer text that has to wrap over several lines of this narrow label, four at least", false, true);
    EXPECT_EQ(one_line.width(), 120);
    EXPECT_EQ(wrapped.width(), 120);
    EXPECT_GT(one_line.height(), 8);
    EXPECT_GT(wrapped.height(), 2 * one_line.height());
    text_label sized;
    host.add(sized, rect(0, 100, 5, 5));
    sized.set_text("Short", true, false);
    EXPECT_GT(sized.width(), 20);
    EXPECT_EQ(sized.height(), 5);
}

TEST(text_label_html, LinkRegionsOfAutoSizedAndAlignedLabelsLieOnTheirText)
{
    widget_host host(1450, 480, 320, 80);
    rect ink;
    for (int valign : {0, 1, 2}) {
        for (int align : {0, 1, 2}) {
            for (int sizing = 0; sizing < 3; ++sizing) {
                const bool auto_width = sizing != 1, auto_height = sizing != 0;
                SCOPED_TRACE("align " + std::to_string(align) + ", valign " + std::to_string(valign)
                             + (auto_width ? ", auto width" : "") + (auto_height ? ", auto height" : ""));
                text_label label;
                label.theme().set_value("label_text_align", align);
                label.theme().set_value("label_text_valign", valign);
                // Room around the text, so that the alignment shows; every sizing keeps this size,
                // so the text is drawn in one place for all three.
                label.set_minimum_size({300, 60});
                host.add(label, rect(0, 0, 300, 60));
                label.set_html("<a href=\"https://example.com/\">a link</a>", auto_width, auto_height);
                ASSERT_EQ(label.bounds(), rect(0, 0, 300, 60));
                // Each alignment draws the link elsewhere: the frame of the one before is not taken.
                const std::string name = "aligned_link_" + std::to_string(3 * valign + align);
                if (sizing == 0)
                    ink = ink_box(host.grab(name, "the link in its new place", [&](auto& c) {
                        const rect now = ink_box(c, rect(0, 0, 300, 60), is_blue);
                        return now.width > 10 && !(now == ink);
                    }), rect(0, 0, 300, 60), is_blue);
                ASSERT_GT(ink.width, 10);
                // The region covers the drawn link and reaches no further than its line box.
                ASSERT_EQ(label.links().size(), 1u);
                const rect r = label.links()[0].area;
                EXPECT_LE(r.x, ink.x + 1);
                EXPECT_GE(r.right(), ink.right() - 1);
                EXPECT_LE(r.y, ink.y + 1);
                EXPECT_GE(r.bottom(), ink.bottom() - 1);
                EXPECT_GE(r.x, ink.x - 3);
                EXPECT_LE(r.right(), ink.right() + 3);
                EXPECT_GE(r.y, ink.y - 5);
                EXPECT_LE(r.bottom(), ink.bottom() + 5);
            }
        }
    }
}

TEST(text_label_html, ALinkRegionIsKeptInsideALabelTooSmallForItsText)
{
    widget_host host(1450, 480, 320, 80);
    for (int valign : {0, 2}) {
        text_label label;
        label.theme().set_value("label_text_valign", valign);
        host.add(label, rect(0, 0, 300, 6));
        label.set_html("<a href=\"https://example.com/\">a link</a>", true, false);
        ASSERT_EQ(label.height(), 6);
        ASSERT_EQ(label.links().size(), 1u);
        const rect r = label.links()[0].area;
        EXPECT_GE(r.y, 0) << "valign " << valign;
        EXPECT_LE(r.bottom(), 6) << "valign " << valign;
        EXPECT_GE(r.x, 0);
        EXPECT_LE(r.right(), label.width());
    }
}

TEST(text_label_html, AFailedParseLeavesNoTextRunsOrLinksOfTheOldText)
{
    widget_host host(1450, 480, 320, 80);
    text_label label;
    host.add(label, rect(0, 0, 300, 60));
    label.set_html("<a href=\"https://example.com/\">a link</a>", false, false);
    ASSERT_EQ(label.links().size(), 1u);
    EXPECT_THROW(label.set_html("lead<a href=\"https://example.com/\">a link</a>", false, false), std::out_of_range);
    EXPECT_TRUE(label.text().empty());
    EXPECT_TRUE(label.links().empty());
    label.set_html_mode(true);
    label.parse_html("<b>old</b>");
    EXPECT_EQ(label.text(), "old");
    EXPECT_THROW(label.parse_html("lead<b>x</b>"), std::out_of_range);
    EXPECT_TRUE(label.text().empty());
    EXPECT_TRUE(label.runs().empty());
}
