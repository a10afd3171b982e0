#pragma once

#include "toolkit/generic_button.h"
#include "toolkit/point.h"

#include <cstdint>

// A pill-shaped push button: two end discs and the rectangle between them.
class RoundedButton : public qvsdk::ui::generic_button {
public:
    void paint() override;
};

// Centres and radius of a pill's end discs in a w x h box.
struct pill_shape {
    qvsdk::ui::point left_centre;
    qvsdk::ui::point right_centre;
    float radius;
};
pill_shape pill_of(std::int32_t w, std::int32_t h);
