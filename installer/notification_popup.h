#pragma once

#include "installer/rounded_button.h"

#include "toolkit/flow_panel.h"
#include "toolkit/image_ptr.h"
#include "toolkit/text_label.h"
#include "toolkit/window.h"

#include <string>

// A modal YES / NO notice: a picture, a message and two buttons. The caller
// runs it modally after show and gets 1 for YES and 0 for NO or Escape.
class NotificationPopup : public qvsdk::ui::window {
public:
    NotificationPopup();
    ~NotificationPopup() override;

    void show(qvsdk::ui::window* owner, const std::string& title, const std::string& message);

    qvsdk::ui::generic_button& yes_button() { return yes; }
    qvsdk::ui::generic_button& no_button() { return no; }
    const qvsdk::ui::text_label& message_label() const { return message; }

private:
    void paint();
    void on_key(std::intptr_t key_code);

    RoundedButton yes;
    RoundedButton no;
    qvsdk::ui::text_label message;
    qvsdk::ui::flow_panel row;
    qvsdk::ui::image_ptr picture;
    std::int32_t picture_x = 0;
    std::int32_t picture_y = 0;
};
