#include "installer/progress_bar.h"

#include "toolkit/render_context.h"
#include "toolkit/window.h"

#include <algorithm>
#include <cmath>

using namespace qvsdk::ui;

std::int32_t progress_fill_width(std::int32_t width, float fraction)
{
    // A NaN (nothing to count) shows an empty bar.
    const float f = std::isnan(fraction) ? 0.0f : std::clamp(fraction, 0.0f, 1.0f);
    return std::int32_t(std::lround(float(width) * f));
}

void ProgressBar::paint()
{
    render_context* rc = window() ? window()->context() : nullptr;
    if (!rc)
        return;
    const theme_store& t = theme();
    rc->set_fill_color(t.get_color("progress_bar_back_color"));
    rc->fill_rect(rect(0, 0, width(), height()));
    const std::int32_t filled_width = progress_fill_width(width(), filled);
    if (filled_width > 0)
        rc->fill_gradient(rect(0, 0, filled_width, height()), t.get_color("progress_bar_color1"),
                          t.get_color("progress_bar_color2"));
}
