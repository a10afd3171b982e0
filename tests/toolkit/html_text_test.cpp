#include "toolkit/html_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>
#include <string>

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

TEST(HtmlText, TextAfterTheLastTagIsDroppedAndTextBeforeTheFirstIsAnError)
{
    EXPECT_EQ(parse_html("<b>Word</b> and more", base_style()).text, "Word");
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

TEST(HtmlText, AdjacentLinksStayApartWithOrWithoutASpaceBetweenThem)
{
    const html_text touching = parse_html("<a href=\"x\">one</a><a href=\"y\">two</a>", base_style());
    EXPECT_EQ(touching.text, "onetwo");
    ASSERT_GE(touching.runs.size(), 2u);
    expect_span(touching.runs[0], 0, 3);
    EXPECT_EQ(touching.runs[0].link, "x");
    expect_span(touching.runs[1], 3, 6);
    EXPECT_EQ(touching.runs[1].link, "y");

    const html_text spaced = parse_html("<a href=\"x\">one</a> <a href=\"y\">two</a>", base_style());
    EXPECT_EQ(spaced.text, "one two");
    ASSERT_GE(spaced.runs.size(), 3u);
    expect_span(spaced.runs[0], 0, 3);
    EXPECT_EQ(spaced.runs[0].link, "x");
    expect_span(spaced.runs[1], 3, 4); // the space, in the style outside both links
    EXPECT_TRUE(spaced.runs[1].link.empty());
    EXPECT_FALSE(spaced.runs[1].underline);
    expect_span(spaced.runs[2], 4, 7);
    EXPECT_EQ(spaced.runs[2].link, "y");

    // The same target twice in a row is still one link.
    const html_text same = parse_html("<a href=\"x\">one</a><a href=\"x\">two</a>", base_style());
    EXPECT_EQ(same.runs[0].link, "x");
    expect_span(same.runs[0], 0, 6);
}

TEST(HtmlText, WhiteSpaceBetweenInlineElementsIsOneSpaceAndBetweenBlocksNone)
{
    EXPECT_EQ(parse_html("<b>one</b> \r\n\t <i>two</i>", base_style()).text, "one two");
    EXPECT_EQ(parse_html("<u>one</u>\n<font size=\"3\">two</font>", base_style()).text, "one two");
    EXPECT_EQ(parse_html("<b>one</b><i>two</i>", base_style()).text, "onetwo");
    EXPECT_EQ(parse_html("<p>one</p>\n  <p>two</p>", base_style()).text, "\none\n\ntwo\n");
    EXPECT_EQ(parse_html("<ul>\n <li>one</li>\n <li>two</li>\n</ul>", base_style()).text, "\n* one\n* two\n");
    EXPECT_EQ(parse_html("<b>one</b> <br> <i>two</i>", base_style()).text, "one\ntwo");
}

TEST(HtmlText, UnderlineOpensAndClosesItsSpan)
{
    const html_text t = parse_html("<b>a</b><u>under</u>after<b>c</b>", base_style());
    EXPECT_EQ(t.text, "aunderafterc");
    ASSERT_EQ(t.runs.size(), 5u);
    expect_span(t.runs[1], 1, 6);
    EXPECT_TRUE(t.runs[1].underline);
    EXPECT_EQ(t.runs[1].weight_kind, 0);
    expect_span(t.runs[2], 6, 11);
    EXPECT_FALSE(t.runs[2].underline);
    EXPECT_EQ(t.runs[3].weight_kind, 2);
    EXPECT_FALSE(t.runs[3].underline);
}

TEST(HtmlText, FontSizesStayInAUsableRange)
{
    auto size_for = [](const char* value) {
        const html_text t = parse_html(std::string("<font size=\"") + value + "\">x</font>", base_style());
        return t.runs.at(0).size;
    };
    EXPECT_EQ(size_for("7"), 7 * 4.0f);
    EXPECT_EQ(size_for("0.5"), 0.5f * 4.0f);
    // Negative sizes read like values that are not numbers.
    EXPECT_EQ(size_for("-3"), 0.0f);
    EXPECT_EQ(size_for("-1e30"), 0.0f);
    for (const char* huge : {"1e30", "1e300", "inf", "250"}) {
        const float s = size_for(huge);
        EXPECT_TRUE(std::isfinite(s)) << huge;
        EXPECT_GE(s, 7 * 4.0f) << huge;
        EXPECT_LE(s, 1000.0f) << huge;
    }
    EXPECT_EQ(size_for("nan"), 0.0f);
}
