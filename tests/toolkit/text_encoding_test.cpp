#include "toolkit/text_encoding.h"

#include <gtest/gtest.h>

using qvsdk::utf8_to_wide;
using qvsdk::wide_to_utf8;

TEST(TextEncoding, EmptyTextStaysEmpty)
{
    EXPECT_TRUE(utf8_to_wide("").empty());
    EXPECT_TRUE(wide_to_utf8(L"").empty());
}

TEST(TextEncoding, NonAsciiRoundTripsWithoutTrailingZero)
{
    const std::string utf8 = "Gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC";  // "Grüße €"
    const std::wstring wide = utf8_to_wide(utf8);
    EXPECT_EQ(wide, L"Gr\u00FC\u00DFe \u20AC");
    const std::string back = wide_to_utf8(wide);
    EXPECT_EQ(back, utf8);
    EXPECT_EQ(back.size(), utf8.size());
}

TEST(TextEncoding, SurrogatePairsRoundTrip)
{
    // U+1F600 and U+10348 need surrogate pairs in UTF-16 and four bytes in UTF-8.
    const std::wstring wide = L"a\U0001F600b\U00010348";
    ASSERT_EQ(wide.size(), 6u);
    const std::string utf8 = wide_to_utf8(wide);
    EXPECT_EQ(utf8, "a\xF0\x9F\x98\x80" "b\xF0\x90\x8D\x88");
    EXPECT_EQ(utf8_to_wide(utf8), wide);
}

TEST(TextEncoding, ConvertsOnlyTheViewedBytes)
{
    const std::string text = "path\\with\\tail";
    EXPECT_EQ(utf8_to_wide(std::string_view(text).substr(0, 4)), L"path");
    const std::wstring wide = L"abcdef";
    EXPECT_EQ(wide_to_utf8(std::wstring_view(wide).substr(0, 3)), "abc");
}

TEST(TextEncoding, InvalidInputBecomesReplacementCharacters)
{
    // A lone continuation byte and a truncated sequence.
    const std::wstring wide = utf8_to_wide("a\x80z\xE2\x82");
    ASSERT_GE(wide.size(), 3u);
    EXPECT_EQ(wide.front(), L'a');
    EXPECT_NE(wide.find(L'\uFFFD'), std::wstring::npos);
    EXPECT_NE(wide.find(L'z'), std::wstring::npos);

    // An unpaired high surrogate cannot be encoded as it stands.
    const std::wstring lone = {L'x', static_cast<wchar_t>(0xD800), L'y'};
    const std::string utf8 = wide_to_utf8(lone);
    EXPECT_EQ(utf8.front(), 'x');
    EXPECT_EQ(utf8.back(), 'y');
    EXPECT_NE(utf8.find("\xEF\xBF\xBD"), std::string::npos);
}
