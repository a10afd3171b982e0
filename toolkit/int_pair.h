#pragma once

#include <cstdint>

namespace qvsdk::ui {

// The theme's pair value: a size, margins or {minimum, maximum}, per key.
struct int_pair {
    std::int32_t first, second;

    friend constexpr bool operator==(const int_pair& l, const int_pair& r)
    {
        return l.first == r.first && l.second == r.second;
    }
};

static_assert(sizeof(int_pair) == 8);

} // namespace qvsdk::ui
