#pragma once

#include "toolkit/check_box.h"
#include "toolkit/generic_button.h"
#include "toolkit/image_ptr.h"
#include "toolkit/rect.h"
#include "toolkit/size.h"
#include "toolkit/theme_key.h"
#include "toolkit/window.h"

#include <cstdint>
#include <string>

namespace qvsdk::ui {

// A modal message window: the message beside an optional picture, an "OK"
// button and a hidden "Do not show this again" box. Only the effect uses it.
class message_popup : public window {
public:
    explicit message_popup(size requested_size);
    ~message_popup() override;

    // Creates the window; the caller then runs run_modal.
    void show(window* owner_window, const std::string& title, const std::string& message);

    void layout();
    const rect& text_rect() const { return text_area; }
    const std::string& message() const { return shown_message; }
    generic_button& ok_button() { return first_button; }
    const check_box& do_not_show_box() const { return check; }

private:
    void paint();
    void on_key(std::uintptr_t virtual_key);
    void on_button_click(const generic_button* source);
    void on_theme_changed(const theme_key& key);
    void copy_theme_to_buttons();

    generic_button first_button;
    generic_button second_button; // never created here
    check_box check;
    bool do_not_show_again = false;
    std::int32_t button_width = 100;
    std::int32_t button_height = 30;
    rect text_area;
    size requested;
    std::string shown_message;
    std::string given_message;
    std::int32_t button_mode = 1;
    std::string second_button_text;
    std::string check_box_text;
    image_ptr picture;
};

} // namespace qvsdk::ui
