#include "toolkit/html_text.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <stdexcept>

namespace qvsdk::ui {

namespace {

constexpr float largest_html_font_size = 400.0f;

enum class tag_kind { none, html, body, paragraph, bold, underline, font, list, list_item, line_break, italic, link };

struct element {
    std::string tag;
    std::string text;
    bool blank = false; // the source had only white space before the tag
};

struct named_element {
    tag_kind kind = tag_kind::none;
    bool opens = false;
    bool closes = false;
};

bool is_space(char c)
{
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

bool all_space(std::string_view text)
{
    for (char c : text)
        if (!is_space(c))
            return false;
    return true;
}

std::string without_line_ends(std::string_view text)
{
    std::string result;
    for (char c : text)
        if (c != '\r' && c != '\n')
            result += c;
    return result;
}

std::vector<element> cut_elements(std::string_view source)
{
    std::vector<element> elements;
    std::string pending;
    std::string_view between;
    std::size_t text_start = 0;
    std::size_t tag_start = 0;
    bool tag_open = false;
    bool closed_one = false;
    for (std::size_t i = 0; i < source.size(); ++i) {
        const char c = source[i];
        if (c == '<') {
            if (!closed_one && i != 0)
                throw std::out_of_range("invalid string position");
            between = source.substr(text_start, i - text_start);
            pending = all_space(between) ? std::string() : std::string(between);
            tag_open = true;
            tag_start = i + 1;
        } else if (c == '>' && tag_open) {
            elements.push_back({std::string(source.substr(tag_start, i - tag_start)), without_line_ends(pending),
                                !between.empty() && pending.empty()});
            tag_open = false;
            closed_one = true;
            text_start = i + 1;
        }
    }
    return elements;
}

bool starts_with(std::string_view text, std::string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

named_element name_of(std::string_view tag)
{
    std::string t;
    for (char c : tag)
        if (!is_space(c))
            t += c;
    struct pair_name {
        const char* open;
        const char* close;
        tag_kind kind;
    };
    static const pair_name exact[] = {
        {"html", "/html", tag_kind::html},     {"body", "/body", tag_kind::body},
        {"p", "/p", tag_kind::paragraph},      {"b", "/b", tag_kind::bold},
        {"u", "/u", tag_kind::underline},
    };
    for (const auto& n : exact) {
        if (t == n.open)
            return {n.kind, true, false};
        if (t == n.close)
            return {n.kind, false, true};
    }
    if (starts_with(t, "font"))
        return {tag_kind::font, true, false};
    if (starts_with(t, "/font"))
        return {tag_kind::font, false, true};
    if (t == "ul")
        return {tag_kind::list, true, false};
    if (t == "/ul")
        return {tag_kind::list, false, true};
    if (t == "li")
        return {tag_kind::list_item, true, false};
    if (t == "/li")
        return {tag_kind::list_item, false, true};
    if (t == "br")
        return {tag_kind::line_break, false, false};
    if (t == "i")
        return {tag_kind::italic, true, false};
    if (t == "/i")
        return {tag_kind::italic, false, true};
    if (starts_with(t, "a"))
        return {tag_kind::link, true, false};
    if (starts_with(t, "/a"))
        return {tag_kind::link, false, true};
    return {};
}

int hex_digit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

color color_of(std::string_view value)
{
    const std::string_view digits = value.substr(1);
    if (digits.size() < 6)
        return {0, 0, 0, 1};
    float channels[3];
    for (int k = 0; k < 3; ++k) {
        const int high = hex_digit(digits[2 * k]);
        const int low = hex_digit(digits[2 * k + 1]);
        if (high < 0 || low < 0)
            return {0, 0, 0, 1};
        channels[k] = float(high * 16 + low) / 255.0f;
    }
    return {channels[0], channels[1], channels[2], 1.0f};
}

float size_of(const std::string& value)
{
    // strtof gives 0 for a value that is not a number; a negative, infinite or
    // huge one would reach the font unchecked, so it is held to a usable range.
    const float size = std::strtof(value.c_str(), nullptr) * 4.0f;
    if (!(size > 0.0f))
        return 0.0f;
    return std::min(size, largest_html_font_size);
}

bool is_inline(tag_kind kind)
{
    return kind == tag_kind::bold || kind == tag_kind::italic || kind == tag_kind::underline
        || kind == tag_kind::font || kind == tag_kind::link;
}

// Two links side by side stay two links, however alike they look.
bool same_look(const style_run& l, const style_run& r)
{
    return l.weight_kind == r.weight_kind && l.style == r.style && l.underline == r.underline
        && l.font_name == r.font_name && l.size == r.size && l.colour == r.colour && l.link == r.link;
}

} // namespace

std::string tag_attribute(std::string_view tag, std::string_view name)
{
    std::size_t at = tag.find(name);
    if (at == std::string_view::npos)
        return {};
    at += name.size();
    while (at < tag.size() && is_space(tag[at]))
        ++at;
    if (at >= tag.size() || tag[at] != '=')
        return {};
    ++at;
    while (at < tag.size() && is_space(tag[at]))
        ++at;
    if (at >= tag.size())
        return {};
    // Unquoted values lose their first character: only quoted ones are meant.
    const char terminator = tag[at] == '"' ? '"' : ' ';
    const std::size_t start = at + 1;
    const std::size_t end = tag.find(terminator, start);
    if (end == std::string_view::npos)
        return {};
    return std::string(tag.substr(start, end - start));
}

html_text parse_html(std::string_view source, const style_run& base)
{
    std::vector<element> elements = cut_elements(source);

    html_text out;
    std::vector<style_run> stack{base};
    stack.back().start = stack.back().end = 0;
    std::int32_t p = 0;
    std::int32_t s = 0;
    bool bullet = false;

    tag_kind previous = tag_kind::none;
    for (element& e : elements) {
        const named_element n = name_of(e.tag);
        // White space between two inline elements separates words: one space.
        if (e.blank && is_inline(previous) && is_inline(n.kind))
            e.text = " ";
        previous = n.kind;
        const std::int32_t before = p;
        auto append = [&](std::string_view text) {
            out.text += text;
            p += utf16_length(text);
        };
        if (bullet && !e.text.empty()) {
            append("* ");
            bullet = false;
        }
        append(e.text);

        style_run changed = stack.back();
        switch (n.kind) {
        case tag_kind::paragraph:
        case tag_kind::line_break:
            append("\n");
            break;
        case tag_kind::list:
            if (n.opens)
                append("\n");
            break;
        case tag_kind::bold:
            changed.weight_kind = 2;
            break;
        case tag_kind::italic:
            changed.style = 1;
            break;
        case tag_kind::underline:
            changed.underline = n.opens;
            break;
        case tag_kind::font:
            if (n.opens) {
                const std::string face = tag_attribute(e.tag, "face");
                const std::string size = tag_attribute(e.tag, "size");
                const std::string colour = tag_attribute(e.tag, "color");
                if (!face.empty())
                    changed.font_name = face;
                if (!size.empty())
                    changed.size = size_of(size);
                if (!colour.empty())
                    changed.colour = color_of(colour);
            }
            break;
        case tag_kind::link:
            if (n.opens) {
                const std::string href = tag_attribute(e.tag, "href");
                if (!href.empty()) {
                    changed.colour = color(0, 0, 1, 1);
                    changed.underline = true;
                    changed.link = href;
                }
            }
            break;
        case tag_kind::list_item:
            if (n.opens)
                bullet = true;
            else if (out.text.empty() || out.text.back() != '\n')
                append("\n");
            break;
        case tag_kind::html:
        case tag_kind::body:
        case tag_kind::none:
            // No style of their own: their text joins the next run.
            continue;
        }

        if (p > before) {
            style_run run = stack.back();
            if (!out.runs.empty() && same_look(out.runs.back(), run)) {
                out.runs.back().end = p;
            } else {
                run.start = s;
                run.end = p;
                out.runs.push_back(run);
            }
            s = p;
        }
        if (n.closes) {
            if (stack.size() > 1) // a stray closing tag keeps the base style
                stack.pop_back();
        } else if (n.opens) {
            stack.push_back(changed);
        }
    }
    style_run last = stack.back();
    last.start = s;
    last.end = p;
    out.runs.push_back(last);
    return out;
}

} // namespace qvsdk::ui
