#pragma once

#include "toolkit/color.h"
#include "toolkit/image_data.h"
#include "toolkit/int_pair.h"
#include "toolkit/rect.h"
#include "toolkit/theme_key.h"
#include "toolkit/theme_value.h"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace qvsdk::ui {

// One row of a theme table: the hashed key and exactly the value's bytes.
struct theme_entry {
    theme_key key;
    theme_value value;

    template <std::size_t N>
    theme_entry(const char (&k)[N], bool v) : key(k), value(theme_value_of(v)) {}
    template <std::size_t N>
    theme_entry(const char (&k)[N], int v) : key(k), value(theme_value_of(std::int32_t(v))) {}
    template <std::size_t N>
    theme_entry(const char (&k)[N], float v) : key(k), value(theme_value_of(v)) {}
    template <std::size_t N>
    theme_entry(const char (&k)[N], int_pair v) : key(k), value(theme_value_of(v)) {}
    template <std::size_t N>
    theme_entry(const char (&k)[N], rect v) : key(k), value(theme_value_of(v)) {}
    template <std::size_t N>
    theme_entry(const char (&k)[N], color v) : key(k), value(theme_value_of(v)) {}
    template <std::size_t N>
    theme_entry(const char (&k)[N], image_data v) : key(k), value(theme_value_of(v)) {}
    template <std::size_t N, std::size_t M>
    theme_entry(const char (&k)[N], const char (&text)[M])
        : key(k), value(theme_value_of(std::string_view(text, M - 1)))
    {
    }
};

// Inserts rows in order; a key already present keeps its earlier value.
theme_map build_theme_map(const std::vector<theme_entry>& rows);

} // namespace qvsdk::ui
