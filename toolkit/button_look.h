#pragma once

#include "toolkit/int_pair.h"
#include "toolkit/rect.h"

#include <cstdint>

namespace qvsdk::ui {

// What a button shows, decided without a window.
struct button_state {
    bool pressed = false;
    bool hovered = false;
    bool toggled = false;
    bool usable = true;
};

enum class button_fill { normal, hover, toggle, pressed };
button_fill button_fill_of(const button_state& state);

// The sprite frame (from 0 at the top) for a picture of `frames` frames.
std::int32_t button_frame(std::int32_t frames, const button_state& state);

// Width that fits the text: measured text plus 30, within {minimum, maximum}
// (maximum 0 = none), never below both text margins.
std::int32_t button_auto_width(int_pair min_max, std::int32_t margin, std::int32_t text_width);

// The layout box of a clipped text for an alignment, and the clip: the inset box.
struct clipped_text_box {
    rect layout;
    rect clip;
};
clipped_text_box button_clipped_text_box(std::int32_t alignment, std::int32_t width, std::int32_t height,
                                         int_pair margins);

} // namespace qvsdk::ui
