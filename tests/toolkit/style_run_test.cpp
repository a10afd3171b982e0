#include "toolkit/style_run.h"

#include <gtest/gtest.h>

using qvsdk::ui::utf16_length;

TEST(StyleRuns, PositionsAdvanceByUtf16UnitsNotBytes)
{
    EXPECT_EQ(utf16_length(""), 0);
    EXPECT_EQ(utf16_length("Bold and italic"), 15);
    EXPECT_EQ(utf16_length("Gr\xc3\xbc\xc3\x9f" "e"), 5);            // two 2-byte characters
    EXPECT_EQ(utf16_length("\xe2\x82\xac" "5"), 2);                   // a 3-byte character
    EXPECT_EQ(utf16_length("\xf0\x9f\x98\x80"), 2);                   // outside the BMP: a surrogate pair
}
