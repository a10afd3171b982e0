#pragma once

#include "toolkit/color.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace qvsdk::ui {

// One styled span [start, end) of a laid-out text, in UTF-16 code units.
struct style_run {
    std::int32_t weight_kind = 0; // 0 normal, 1 light, 2 bold
    std::int32_t style = 0;       // 1 italic
    bool underline = false;
    std::string font_name;        // UTF-8
    float size = 0;
    std::int32_t start = 0;
    std::int32_t end = 0;
    color colour;                 // all zero: the context's text colour
    std::string link;
};

// UTF-16 code units that a UTF-8 text takes once laid out: run positions
// advance by this, not by the byte count.
std::int32_t utf16_length(std::string_view utf8);

} // namespace qvsdk::ui
