#pragma once

#include "toolkit/rect.h"

#include <cstdint>
#include <vector>

namespace qvsdk::ui {

// What a text layout reports of its lines and clusters, in layout units.
struct laid_line {
    std::int32_t length;              // UTF-16 units, trailing white space and line end included
    std::int32_t trailing_whitespace; // of that length
    float height;
};

struct laid_cluster {
    std::int32_t length; // UTF-16 units
    float width;
};

struct laid_text {
    std::vector<laid_line> lines;
    std::vector<laid_cluster> clusters;
    std::int32_t horizontal = 0; // 0 leading, 1 trailing, 2 centred (DWRITE_TEXT_ALIGNMENT)
    std::int32_t vertical = 0;   // 0 near, 1 far, 2 centred (DWRITE_PARAGRAPH_ALIGNMENT)
    float max_width = 0;         // 0 = unbounded: no alignment offset
    float max_height = 0;
};

// The boxes around the text positions [start, end), one per line that holds
// part of the range, from line and cluster metrics, for layouts whose own
// hit-testing gives nothing. None when the range covers no cluster.
std::vector<rect> text_range_boxes(const laid_text& text, std::int32_t start, std::int32_t end);

// The box between float edges, rounded; edges far outside any window (an
// unbounded layout's alignment) are held to a range that converts safely.
rect rounded_box(float left, float top, float right, float bottom);

} // namespace qvsdk::ui
