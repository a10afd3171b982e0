#pragma once

#include "toolkit/check_box.h"
#include "toolkit/image_ptr.h"

// A result row of the installing page: a check mark frame and a text,
// without background, focus frame or hover look.
class InstalledCheckbox : public qvsdk::ui::check_box {
public:
    void paint() override;

private:
    qvsdk::ui::image_ptr sprite;
    std::uint32_t frames = 2;
};
