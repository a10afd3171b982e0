#pragma once

#include "toolkit/generic_panel.h"

#include <cstdint>

// A horizontal bar filled with a gradient up to a fraction of its width.
class ProgressBar : public qvsdk::ui::generic_panel {
public:
    // 0..1; the owner repaints after setting it.
    void set_fraction(float value) { filled = value; }
    float fraction() const { return filled; }
    void paint() override;

private:
    float filled = 0.0f;
};

// Width of the filled part, the fraction clamped to 0..1.
std::int32_t progress_fill_width(std::int32_t width, float fraction);
