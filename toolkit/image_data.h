#pragma once

#include <cstdint>

namespace qvsdk::ui {

// A theme picture: encoded bytes in read-only data, never copied or freed.
struct image_data {
    const void* data = nullptr;
    std::uint64_t size = 0;
    std::uint32_t frames = 1; // equal frames stacked vertically
    float scale = 1.0f;       // picture pixels per 96-dpi unit
};

static_assert(sizeof(image_data) == 24);

} // namespace qvsdk::ui
