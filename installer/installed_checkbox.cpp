#include "installer/installed_checkbox.h"

#include "toolkit/render_context.h"
#include "toolkit/window.h"

using namespace qvsdk::ui;

void InstalledCheckbox::paint()
{
    render_context* rc = window() ? window()->context() : nullptr;
    if (!rc)
        return;
    const theme_store& t = theme();
    if (!sprite->is_loaded()) {
        const image_data picture = t.get_image("checkbox_image");
        if (picture.data && sprite.load(picture))
            frames = picture.frames > 0 ? picture.frames : 1;
    }
    if (sprite->is_loaded()) {
        const size units = sprite.size();
        const std::int32_t frame_height = units.height / std::int32_t(frames);
        const rect source(0, is_checked() ? frame_height : 0, units.width, frame_height);
        rc->draw_image_part_in_rect(image_rect(), *sprite, source, 1.0f);
    }
    if (text().empty())
        return;
    rc->set_text_color(t.get_color("checkbox_font_color"));
    rc->set_font(t.get_text("checkbox_font_name"), t.get_float("checkbox_font_size"), t.get_int("checkbox_font_weight"),
                 t.get_int("checkbox_font_style"), false);
    rc->set_text_alignment(0, 0);
    rc->draw_text(text_rect(), text(), {});
}
