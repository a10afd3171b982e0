#pragma once

#include "toolkit/rect.h"
#include "toolkit/size.h"

#include <cstdint>

namespace qvsdk::ui {

struct check_box_places {
    rect image;
    rect text;
};

// Arranges the sprite frame and the text in a box of `box` size for
// alignment 0-7; other alignments keep the previous x positions.
check_box_places check_box_layout(std::int32_t alignment, size box, size frame, size text, std::int32_t gap,
                                  const check_box_places& previous);

// Row of the sprite frame to show, in units from the picture's top.
std::int32_t check_box_frame_offset(std::int32_t frame_height, std::int32_t frames, bool hovered, bool usable,
                                    bool checked);

} // namespace qvsdk::ui
