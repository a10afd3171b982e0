#include "toolkit/html_text.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace qvsdk::ui;

namespace {

style_run base_style()
{
    style_run base;
    base.font_name = "Tahoma";
    base.size = 11.0f;
    return base;
}

void expect_span(const style_run& run, int start, int end)
{
    EXPECT_EQ(run.start, start);
    EXPECT_EQ(run.end, end);
}

} // namespace

TEST(HtmlText, BoldAndItalicSpansWithTheTextBetweenThemInTheBaseStyle)
{
    const html_text t =
        parse_html("<html><body><b>Bold</b> and <i>italic</i></body></html>", base_style());
    EXPECT_EQ(t.text, "Bold and italic");
    ASSERT_EQ(t.runs.size(), 4u);
    expect_span(t.runs[0], 0, 4);
    EXPECT_EQ(t.runs[0].weight_kind, 2);
    expect_span(t.runs[1], 4, 9);
    EXPECT_EQ(t.runs[1].weight_kind, 0);
    EXPECT_EQ(t.runs[1].style, 0);
    EXPECT_EQ(t.runs[1].font_name, "Tahoma");
    expect_span(t.runs[2], 9, 15);
    EXPECT_EQ(t.runs[2].style, 1);
    EXPECT_EQ(t.runs[2].weight_kind, 0);
    expect_span(t.runs[3], 15, 15);
}

TEST(HtmlText, ParagraphsBreaksAndListsMakeTheLineFeeds)
{
    const html_text p = parse_html("<p>One</p><p>Two</p>", base_style());
    EXPECT_EQ(p.text, "\nOne\n\nTwo\n");
    ASSERT_EQ(p.runs.size(), 2u); // one style throughout, then the closing empty run
    expect_span(p.runs[0], 0, 10);
    expect_span(p.runs[1], 10, 10);

    EXPECT_EQ(parse_html("<ul><li>One</li><li>Two</li></ul>", base_style()).text, "\n* One\n* Two\n");
    EXPECT_EQ(parse_html("<b>one\r\ntwo</b><br>three<br>", base_style()).text, "onetwo\nthree\n");
}

TEST(HtmlText, FontTagSetsSizeColourAndFace)
{
    const html_text t =
        parse_html("<font size = \"5\" color= \"#ff0000\" face=\"Courier\">Red</font>", base_style());
    EXPECT_EQ(t.text, "Red");
    ASSERT_GE(t.runs.size(), 1u);
    EXPECT_EQ(t.runs[0].size, 20.0f);
    EXPECT_EQ(t.runs[0].colour, color(1, 0, 0, 1));
    EXPECT_EQ(t.runs[0].font_name, "Courier");
    // Attributes that are absent leave the outer style alone.
    const html_text plain = parse_html("<font>x</font>", base_style());
    EXPECT_EQ(plain.runs[0].size, 11.0f);
    EXPECT_EQ(plain.runs[0].colour, color());
}

TEST(HtmlText, BadFontValuesGiveBlackAndSizeZero)
{
    const html_text t = parse_html("<font size=\"big\" color=\"#zz0000\">x</font>", base_style());
    EXPECT_EQ(t.runs[0].size, 0.0f);
    EXPECT_EQ(t.runs[0].colour, color(0, 0, 0, 1));
}

TEST(HtmlText, LinkIsABlueUnderlinedRunCarryingItsTarget)
{
    const html_text t = parse_html("<p>see <a href=\"https://example.com/x\">here</a></p>", base_style());
    EXPECT_EQ(t.text, "\nsee here\n");
    const style_run* link = nullptr;
    for (const auto& r : t.runs)
        if (!r.link.empty())
            link = &r;
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(link->link, "https://example.com/x");
    expect_span(*link, 5, 9);
    EXPECT_TRUE(link->underline);
    EXPECT_EQ(link->colour, color(0, 0, 1, 1));
    // An empty href is no link.
    for (const auto& r : parse_html("<a href=\"\">x</a>", base_style()).runs)
        EXPECT_TRUE(r.link.empty());
}

TEST(HtmlText, RunPositionsCountUtf16UnitsNotBytes)
{
    // "Grüße" is 7 bytes but 5 UTF-16 units; the emoji is 4 bytes and 2 units.
    const html_text t = parse_html("<b>Gr\xc3\xbc\xc3\x9f" "e</b> \xf0\x9f\x98\x80<i>x</i>", base_style());
    ASSERT_EQ(t.runs.size(), 4u);
    expect_span(t.runs[0], 0, 5);
    expect_span(t.runs[1], 5, 8);
    expect_span(t.runs[2], 8, 9);
    EXPECT_EQ(t.runs[2].style, 1);
    expect_span(t.runs[3], 9, 9);
}

TEST(HtmlText, TextAfterTheLastTagIsDropped)
{
    EXPECT_EQ(parse_html("<b>Word</b> and more", base_style()).text, "Word");
}

TEST(HtmlText, TextBeforeTheFirstTagIsAnError)
{
    EXPECT_THROW(parse_html("lead<b>x</b>", base_style()), std::out_of_range);
}

TEST(HtmlText, StrayClosingTagsKeepTheBaseStyle)
{
    const html_text t = parse_html("<html></b></i>x<b>y</b>", base_style());
    EXPECT_EQ(t.text, "xy");
    ASSERT_EQ(t.runs.size(), 3u);
    expect_span(t.runs[0], 0, 1);
    EXPECT_EQ(t.runs[0].weight_kind, 0);
    EXPECT_EQ(t.runs[0].font_name, "Tahoma");
    EXPECT_EQ(t.runs[1].weight_kind, 2);
}

TEST(HtmlText, UnknownTagsAddTheirTextToTheNextRun)
{
    const html_text t = parse_html("<b>a</b><span>b<b>c</b>", base_style());
    EXPECT_EQ(t.text, "abc");
    ASSERT_GE(t.runs.size(), 2u);
    expect_span(t.runs[0], 0, 1);
    expect_span(t.runs[1], 1, 2); // "b", styled by what was in force before <b>
    EXPECT_EQ(t.runs[1].weight_kind, 0);
}

TEST(HtmlText, AttributesMustBeQuoted)
{
    EXPECT_EQ(tag_attribute("a href = \"x y\"", "href"), "x y");
    EXPECT_EQ(tag_attribute("a href=\"open", "href"), "");
    EXPECT_EQ(tag_attribute("a", "href"), "");
    EXPECT_EQ(tag_attribute("font size=5 x", "size"), "");
}
