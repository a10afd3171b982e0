#pragma once

#include "toolkit/generic_panel.h"

// A one-unit horizontal separator across the middle of its box.
class BreakLine : public qvsdk::ui::generic_panel {
public:
    void paint() override;
};
