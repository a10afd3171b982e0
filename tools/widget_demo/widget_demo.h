#pragma once

#include "toolkit/check_box.h"
#include "toolkit/flow_panel.h"
#include "toolkit/generic_button.h"
#include "toolkit/generic_panel.h"
#include "toolkit/popup_menu.h"
#include "toolkit/scroll_bar.h"
#include "toolkit/text_label.h"
#include "toolkit/window.h"

// A window showing every widget class of the toolkit, with a status line
// telling what was last clicked, toggled or chosen.
class WidgetDemo : public qvsdk::ui::window {
public:
    static constexpr int width = 420;
    static constexpr int height = 400;

    WidgetDemo();
    // x and y in screen pixels.
    void open(int x, int y, std::uint16_t flags);

private:
    void build();
    void show_status(const std::string& text);
    void show_menu();

    qvsdk::ui::generic_panel background;
    qvsdk::ui::flow_panel column;
    qvsdk::ui::text_label title;
    qvsdk::ui::text_label html;
    qvsdk::ui::flow_panel buttons;
    qvsdk::ui::generic_button push;
    qvsdk::ui::generic_button toggle;
    qvsdk::ui::generic_button disabled;
    qvsdk::ui::check_box check;
    qvsdk::ui::generic_panel view;
    qvsdk::ui::text_label long_text;
    qvsdk::ui::scroll_bar bar;
    qvsdk::ui::text_label status;
    qvsdk::ui::popup_menu menu;
    bool remember = false;
};
