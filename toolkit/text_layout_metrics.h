#pragma once

#include "toolkit/rect.h"
#include "toolkit/size.h"
#include "toolkit/style_run.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qvsdk::ui {

// The font and alignment a text is drawn with, as the drawing context takes them.
struct text_font {
    std::string name;
    float size = 12.0f;
    std::int32_t weight_kind = 0;
    std::int32_t style_kind = 0;
    bool underline = false;
    std::int32_t horizontal = 0; // 0 leading, 2 trailing, else centred
    std::int32_t vertical = 0;   // 1 top, 2 bottom, else centred
};

// Lays the text out as the drawing context does and boxes [start, end), line
// by line, from the layout's line and cluster metrics. A layout size of 0 is
// unbounded.
std::vector<rect> text_range_from_metrics(std::string_view text, const std::vector<style_run>& runs,
                                          const text_font& font, size layout, std::int32_t start, std::int32_t end);

} // namespace qvsdk::ui
