#include "installer/link_button.h"

#include "toolkit/cursor.h"
#include "toolkit/event_ids.h"

using namespace qvsdk::ui;

namespace {
enum : std::int32_t { arrow_cursor = 0, hand_cursor = 6 };
} // namespace

LinkButton::LinkButton()
{
    subscribe_own(created_event, [this](const event_info&) {
        subscribe_own(mouse_enter_event, [this](const event_info&) {
            theme().set_value("button_text_underlined", true);
            set_cursor(hand_cursor);
            invalidate(false);
        });
        subscribe_own(mouse_leave_event, [this](const event_info&) {
            theme().set_value("button_text_underlined", false);
            set_cursor(arrow_cursor);
            invalidate(false);
        });
        // A link hidden under the pointer gets no leave: drop the hover look here.
        subscribe_own(hidden_event, [this](const event_info&) {
            theme().set_value("button_text_underlined", false);
            set_cursor(arrow_cursor);
            invalidate(false);
        });
    });
}
