#pragma once

#include <cstddef>
#include <cstdint>

namespace qvsdk::ui {

// 64-bit FNV-1a over the first `length` bytes, each taken as a signed char
// and sign-extended, as the key's hash includes its terminating zero.
constexpr std::uint64_t theme_key_hash(const char* text, std::size_t length)
{
    std::uint64_t h = 0xcbf29ce484222325ull;
    for (std::size_t i = 0; i < length; ++i) {
        h ^= static_cast<std::uint64_t>(static_cast<std::int64_t>(static_cast<signed char>(text[i])));
        h *= 0x100000001b3ull;
    }
    return h;
}

// A theme key made from a string literal; keys are equal when their hashes are.
struct theme_key {
    std::uint64_t hash;
    const char* text;
    std::uint64_t length;

    template <std::size_t N>
    constexpr theme_key(const char (&literal)[N])
        : hash(theme_key_hash(literal, N)), text(literal), length(N)
    {
    }

    friend constexpr bool operator==(const theme_key& l, const theme_key& r) { return l.hash == r.hash; }
    friend constexpr bool operator!=(const theme_key& l, const theme_key& r) { return l.hash != r.hash; }
};

// Theme maps bucket by the stored hash itself.
struct theme_key_hasher {
    std::size_t operator()(const theme_key& key) const { return static_cast<std::size_t>(key.hash); }
};

static_assert(theme_key("default_back_color").hash == 0xf97afb916677cf14ull);
static_assert(theme_key("default_back_color").length == 19);

} // namespace qvsdk::ui
