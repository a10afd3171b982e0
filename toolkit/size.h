#pragma once

#include <cstdint>

namespace qvsdk::ui {

struct size {
    std::int32_t width, height;

    friend constexpr bool operator==(const size& l, const size& r)
    {
        return l.width == r.width && l.height == r.height;
    }
};

} // namespace qvsdk::ui
