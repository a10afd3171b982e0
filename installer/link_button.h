#pragma once

#include "toolkit/generic_button.h"

// A button that reads as a hyperlink: underlined, with the hand cursor,
// while the pointer is over it. Its users make background and border
// transparent through theme values.
class LinkButton : public qvsdk::ui::generic_button {
public:
    LinkButton();
};
