#pragma once

#include "toolkit/rect.h"
#include "toolkit/size.h"

#include <cstdint>

// Where the message popup puts its parts, from its measured content. All in
// 96-dpi units; pure so that it can be checked without a window.
struct message_popup_metrics {
    qvsdk::ui::size requested;        // asked of the constructor
    std::int32_t margin_x = 0;        // window margins
    std::int32_t margin_y = 0;
    std::int32_t component_margin = 0;
    qvsdk::ui::size picture{0, 0};    // picture size, 0 when there is none
    qvsdk::ui::size text{0, 0};       // measured message
    std::int32_t check_box_height = 0;
    qvsdk::ui::size button{100, 30};
    std::int32_t button_align = 0;    // 0 leading, 1 centred, 2 trailing
    qvsdk::ui::rect current_button{0, 0, 0, 0};
};

struct message_popup_placement {
    qvsdk::ui::size window;
    qvsdk::ui::rect text;
    qvsdk::ui::rect button;           // the one button
};

// The width the message may wrap within.
std::int32_t message_text_width_limit(const message_popup_metrics& m);
message_popup_placement place_message_popup(const message_popup_metrics& m);
