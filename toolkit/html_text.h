#pragma once

#include "toolkit/style_run.h"

#include <string>
#include <string_view>
#include <vector>

namespace qvsdk::ui {

// Plain text and style runs made from a label's HTML subset.
struct html_text {
    std::string text;             // UTF-8
    std::vector<style_run> runs;  // positions in UTF-16 units of text
};

// Parses the subset (html, body, p, br, b, i, u, font, a, ul, li). base is
// the style outside every tag. Throws std::out_of_range when text comes
// before the first tag.
html_text parse_html(std::string_view source, const style_run& base);

// The value of name="value" inside a tag's text; empty when absent or unterminated.
std::string tag_attribute(std::string_view tag, std::string_view name);

} // namespace qvsdk::ui
