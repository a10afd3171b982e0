#pragma once

#include "toolkit/button_look.h"
#include "toolkit/image_ptr.h"
#include "toolkit/theme_key.h"
#include "toolkit/widget.h"

#include <string>

namespace qvsdk::ui {

// The toolkit's push button, or toggle button in toggle mode: raises event 50
// (data: the toggled state) on a left click inside it or on Enter.
class generic_button : public widget {
public:
    generic_button();

    // The owner invalidates after changing these.
    void set_text(std::string value) { label = std::move(value); }
    const std::string& text() const { return label; }
    void set_toggle_mode(bool on) { toggle_mode = on; }
    bool is_toggle_mode() const { return toggle_mode; }
    void set_toggled(bool on) { toggled = on; }
    bool is_toggled() const { return toggled; }
    void set_image_opacity(float value) { image_opacity = value; }
    bool is_hovered() const { return hovered; }
    // Held by the captured-widget slot while the pointer is over the button.
    bool is_pressed() const;
    button_state state() const;

    // Sizes the width to the text when "button_auto_size" is on.
    void auto_size();

    virtual void paint();
    virtual void paint_image();

protected:
    void paint_back_image();

private:
    void on_down(const event_info& e);
    void on_up(const event_info& e);
    void on_key(const event_info& e);
    void on_theme_changed(const theme_key& key);
    void set_hovered(bool on);
    std::int32_t frame_count(const theme_key& key) const;

    std::string label;
    bool hovered = false;
    bool toggled = false;
    bool toggle_mode = false;
    image_ptr sprite;
    image_ptr back_image;
    rect image_rect;
    float image_opacity = 1.0f;
};

} // namespace qvsdk::ui
