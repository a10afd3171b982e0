#pragma once

#include "toolkit/check_box_geometry.h"
#include "toolkit/image_ptr.h"
#include "toolkit/theme_key.h"
#include "toolkit/widget.h"

#include <string>

namespace qvsdk::ui {

// A two-state box: a sprite frame beside a text. A button release flips it
// and raises event 49 before (a = 0) and after (a = 2) the flip. Created
// disabled: its owner enables it.
class check_box : public widget {
public:
    check_box();

    // The owner calls layout after changing the text.
    void set_text(std::string value) { label = std::move(value); }
    const std::string& text() const { return label; }
    void set_checked(bool on) { checked = on; }
    bool is_checked() const { return bound ? *bound : checked; }
    // A bool of the owner's that follows the box, and that the box shows.
    void bind(bool* value) { bound = value; }
    bool is_hovered() const { return hovered; }
    const rect& image_rect() const { return places.image; }
    const rect& text_rect() const { return places.text; }

    void toggle();
    void set_hover(bool on);
    // Arrangement 0-7 of image and text (see check_box_layout).
    void layout(std::int32_t alignment);

    virtual void paint();

private:
    void on_created();
    void on_theme_changed(const theme_key& key);
    void set_font_from_theme();

    std::string label;
    bool checked = false;
    check_box_places places;
    std::int32_t text_gap = 5;
    bool hovered = false;
    size frame{0, 0};
    std::int32_t alignment = 0;
    image_ptr sprite;
    bool* bound = nullptr;
};

} // namespace qvsdk::ui
