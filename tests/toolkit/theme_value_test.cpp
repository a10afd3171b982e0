#include "toolkit/theme_entry.h"
#include "toolkit/theme_key.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace qvsdk::ui;

TEST(ThemeKeys, HashIsFnv1aOverTheTextAndItsTerminatingZero)
{
    constexpr theme_key key("default_back_color");
    static_assert(key.hash == 0xf97afb916677cf14ull);
    EXPECT_EQ(key.length, 19u);
    EXPECT_STREQ(key.text, "default_back_color");
    // The zero byte is hashed: the plain hash of the text differs.
    EXPECT_NE(key.hash, theme_key_hash("default_back_color", 18));
    EXPECT_EQ(theme_key_hash("", 0), 0xcbf29ce484222325ull);
}

TEST(ThemeKeys, BytesAboveAsciiEnterSignExtended)
{
    const char text[] = "\xe9";
    std::uint64_t unsigned_hash = 0xcbf29ce484222325ull;
    for (unsigned char byte : {0xe9, 0x00}) {
        unsigned_hash ^= byte;
        unsigned_hash *= 0x100000001b3ull;
    }
    std::uint64_t signed_hash = 0xcbf29ce484222325ull;
    signed_hash ^= 0xffffffffffffffe9ull;
    signed_hash *= 0x100000001b3ull;
    signed_hash ^= 0;
    signed_hash *= 0x100000001b3ull;
    EXPECT_EQ(theme_key(text).hash, signed_hash);
    EXPECT_NE(theme_key(text).hash, unsigned_hash);
}

TEST(ThemeKeys, KeysAreEqualByHashAlone)
{
    theme_key a("button_font_size");
    theme_key b("button_font_size");
    theme_key other("button_font_name");
    EXPECT_EQ(a, b);
    EXPECT_NE(a, other);
    b.text = "something else"; // text is never compared
    EXPECT_EQ(a, b);
    EXPECT_EQ(theme_key_hasher()(a), static_cast<std::size_t>(a.hash));
}

TEST(ThemeValues, EntriesStoreExactlyTheKindsBytes)
{
    EXPECT_EQ(theme_entry("k_bool_value", true).value, theme_value({1}));
    EXPECT_EQ(theme_entry("k_int_value", 0x01020304).value, theme_value({4, 3, 2, 1}));
    EXPECT_EQ(theme_entry("k_float_value", 1.0f).value.size(), 4u);
    EXPECT_EQ(theme_entry("k_pair_value", int_pair{20, 20}).value.size(), 8u);
    EXPECT_EQ(theme_entry("k_rect_value", rect(1, 2, 3, 4)).value.size(), 16u);
    EXPECT_EQ(theme_entry("k_color_value", color(0.5f)).value.size(), 16u);
    EXPECT_EQ(theme_entry("k_image_value", image_data()).value.size(), 24u);
    const theme_entry text("k_text_value", "Tahoma");
    ASSERT_EQ(text.value.size(), 6u);
    EXPECT_EQ(std::memcmp(text.value.data(), "Tahoma", 6), 0);
}

TEST(ThemeValues, ReadsFallBackToTheKindsDefaultWhenEmptyOrShort)
{
    EXPECT_EQ(read_theme_value(theme_value(), color(1, 1, 1, 1)), color(1, 1, 1, 1));
    EXPECT_EQ(read_theme_value(theme_value{1, 2}, 7), 7);
    EXPECT_EQ(read_theme_value(theme_value_of(color(0.25f, 0.5f, 0.75f, 1)), color()),
              color(0.25f, 0.5f, 0.75f, 1));
}

TEST(ThemeValues, SmallTypes)
{
    EXPECT_EQ(color(0.5f), color(0.5f, 0.5f, 0.5f, 0.5f));
    EXPECT_EQ(color(), color(0, 0, 0, 0));
    EXPECT_EQ(rect(2, 3, 10, 20).right(), 12);
    EXPECT_EQ(rect(2, 3, 10, 20).bottom(), 23);
    const image_data none;
    EXPECT_EQ(none.data, nullptr);
    EXPECT_EQ(none.frames, 1u);
    EXPECT_EQ(none.scale, 1.0f);
}
