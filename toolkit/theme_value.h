#pragma once

#include "toolkit/theme_key.h"

#include <cstdint>
#include <cstring>
#include <string_view>
#include <type_traits>
#include <unordered_map>
#include <vector>

namespace qvsdk::ui {

// Raw bytes of one value; the reader knows the kind from the key.
using theme_value = std::vector<std::uint8_t>;
using theme_map = std::unordered_map<theme_key, theme_value, theme_key_hasher>;
using theme_redirect_map = std::unordered_map<theme_key, theme_key, theme_key_hasher>;

template <typename T>
theme_value theme_value_of(const T& value)
{
    static_assert(std::is_trivially_copyable_v<T> && !std::is_pointer_v<T>);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(&value);
    return theme_value(bytes, bytes + sizeof(T));
}

inline theme_value theme_value_of(std::string_view text)
{
    return theme_value(text.begin(), text.end());
}

// A value shorter than its kind (no writer makes one) reads as the kind's default.
template <typename T>
T read_theme_value(const theme_value& value, const T& fallback)
{
    static_assert(std::is_trivially_copyable_v<T>);
    if (value.size() < sizeof(T))
        return fallback;
    T result;
    std::memcpy(&result, value.data(), sizeof(T));
    return result;
}

// Empty map with the toolkit's bucket policy: 8 buckets, load factor 1.
theme_map make_theme_map();

} // namespace qvsdk::ui
