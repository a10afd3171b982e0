#include "toolkit/style_run.h"

#include "toolkit/text_encoding.h"

namespace qvsdk::ui {

std::int32_t utf16_length(std::string_view utf8)
{
    // The same conversion the drawing context lays out, so the counts agree
    // even for invalid bytes.
    return static_cast<std::int32_t>(qvsdk::utf8_to_wide(utf8).size());
}

} // namespace qvsdk::ui
