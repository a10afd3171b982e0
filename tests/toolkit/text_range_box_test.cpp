#include "toolkit/text_layout_metrics.h"
#include "toolkit/text_range_box.h"

#include <gtest/gtest.h>

using namespace qvsdk::ui;

namespace {

// "ab cd\nef": two lines of 10-unit-wide clusters, 14 high; the space and
// the line feed are trailing white space of the first line.
laid_text two_lines()
{
    laid_text t;
    t.lines = {{6, 1, 14.0f}, {2, 0, 14.0f}};
    t.clusters = {{1, 10}, {1, 10}, {1, 4}, {1, 10}, {1, 10}, {1, 0}, {1, 10}, {1, 10}};
    return t;
}

} // namespace

using boxes = std::vector<rect>;

TEST(TextRangeBox, BoxesTheClustersOfTheRangeOnItsLine)
{
    const laid_text t = two_lines();
    EXPECT_EQ(text_range_boxes(t, 3, 5), boxes{rect(24, 0, 20, 14)});
    EXPECT_EQ(text_range_boxes(t, 6, 8), boxes{rect(0, 14, 20, 14)});
    // Over the line end: one box per line ("d", then "e"), not their union.
    EXPECT_EQ(text_range_boxes(t, 4, 7), (boxes{rect(34, 0, 10, 14), rect(0, 14, 10, 14)}));
    EXPECT_TRUE(text_range_boxes(t, 8, 9).empty());
    EXPECT_TRUE(text_range_boxes(t, 2, 2).empty());
}

TEST(TextRangeBox, AlignmentOffsetsEachLineAndTheBlock)
{
    laid_text t = two_lines();
    t.horizontal = 2; // centred in 100: the first line is 44 wide without its trailing white space
    t.vertical = 2;   // centred in 48: 28 high
    t.max_width = 100;
    t.max_height = 48;
    EXPECT_EQ(text_range_boxes(t, 0, 1), boxes{rect(28, 10, 10, 14)});
    EXPECT_EQ(text_range_boxes(t, 6, 7), boxes{rect(40, 24, 10, 14)});
    t.horizontal = 1; // trailing
    EXPECT_EQ(text_range_boxes(t, 7, 8), boxes{rect(90, 24, 10, 14)});
    t.max_width = 0; // unbounded: no offset
    EXPECT_EQ(text_range_boxes(t, 7, 8), boxes{rect(10, 24, 10, 14)});
}

TEST(TextRangeBox, RealLayoutGivesAWordItsOwnPlace)
{
    text_font font;
    font.name = "Tahoma";
    font.size = 16.0f;
    font.vertical = 1;
    const std::vector<style_run> runs;
    const boxes firsts = text_range_from_metrics("first second", runs, font, {400, 100}, 0, 5);
    const boxes seconds = text_range_from_metrics("first second", runs, font, {400, 100}, 6, 12);
    ASSERT_EQ(firsts.size(), 1u);
    ASSERT_EQ(seconds.size(), 1u);
    const rect first = firsts[0], second = seconds[0];
    EXPECT_EQ(first.x, 0);
    EXPECT_EQ(first.y, 0);
    EXPECT_GT(first.width, 20);
    EXPECT_GT(first.height, 10);
    EXPECT_GT(second.x, first.x + first.width);
    EXPECT_EQ(second.y, 0);
    EXPECT_TRUE(text_range_from_metrics("", runs, font, {400, 100}, 0, 5).empty());
}
