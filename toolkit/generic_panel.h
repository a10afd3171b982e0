#pragma once

#include "toolkit/widget.h"

namespace qvsdk::ui {

// A plain rectangle painted with the theme's background and border; the base
// of window contents.
class generic_panel : public widget {
public:
    generic_panel();

    virtual void paint();
};

} // namespace qvsdk::ui
