#pragma once

#include <cstdint>

namespace qvsdk::ui {

struct point {
    std::int32_t x, y;
};

} // namespace qvsdk::ui
