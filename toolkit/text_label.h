#pragma once

#include "toolkit/rect.h"
#include "toolkit/style_run.h"
#include "toolkit/widget.h"

#include <string>
#include <string_view>
#include <vector>

namespace qvsdk::ui {

// A text, plain in the label's theme font or written in a small HTML subset
// (bold, italic, underline, font, paragraphs, breaks, lists, links). A click
// on a link opens its target through the shell.
class text_label : public widget {
public:
    struct link_region {
        rect area;
        std::string target;
    };

    text_label();

    // Plain text (UTF-8).
    void set_text(std::string value, bool auto_width, bool auto_height);
    // The whole HTML sequence: mode, sizing flags, parse, fit, links, repaint.
    void set_html(std::string_view source, bool auto_width, bool auto_height);

    void set_html_mode(bool on) { html_mode = on; }
    void set_auto_size(bool width_too, bool height_too);
    // Replaces the text and runs; throws std::out_of_range for text before
    // the first tag, leaving both empty.
    void parse_html(std::string_view source);
    void fit_to_text();
    void update_links();

    const std::string& text() const { return plain; }
    const std::vector<style_run>& runs() const { return style_runs; }
    const std::vector<link_region>& links() const { return link_regions; }
    bool is_html() const { return html_mode; }

private:
    void paint();
    void on_move();
    void on_up();
    void set_label_font();
    const link_region* link_at(point p) const;

    std::string plain;
    bool html_mode = false;
    std::vector<style_run> style_runs;
    std::vector<link_region> link_regions;
    bool auto_width = false;
    bool auto_height = false;
};

} // namespace qvsdk::ui
