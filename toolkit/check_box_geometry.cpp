#include "toolkit/check_box_geometry.h"

namespace qvsdk::ui {

check_box_places check_box_layout(std::int32_t a, size box, size frame, size text, std::int32_t gap,
                                  const check_box_places& previous)
{
    const std::int32_t W = box.width, fw = frame.width, tw = text.width;
    const std::int32_t g = tw >= 1 ? gap : 0;
    std::int32_t image_x = previous.image.x;
    std::int32_t text_x = previous.text.x;
    const std::int32_t centred = (W - fw - g - tw) / 2;
    switch (a) {
    case 0: image_x = 0; text_x = fw + g; break;
    case 1: image_x = W - fw - g - tw; text_x = W - tw; break;
    case 2: image_x = centred; text_x = centred + fw + g; break;
    case 3: image_x = 0; text_x = W - tw; break;
    case 4: text_x = 0; image_x = tw + g; break;
    case 5: text_x = W - fw - g - tw; image_x = W - fw; break;
    case 6: text_x = centred; image_x = centred + tw + g; break;
    case 7: text_x = 0; image_x = W - fw; break;
    default: break;
    }
    return {rect(image_x, (box.height - frame.height) / 2, fw, frame.height),
            rect(text_x, (box.height - text.height) / 2, tw, text.height)};
}

std::int32_t check_box_frame_offset(std::int32_t fh, std::int32_t n, bool hovered, bool usable, bool checked)
{
    std::int32_t offset = hovered && n > 3 ? 2 * fh : 0;
    if (!usable && n > 5)
        offset = 4 * fh;
    if (checked && n > 1)
        offset += fh;
    return offset;
}

} // namespace qvsdk::ui
