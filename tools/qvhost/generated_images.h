#pragma once

#include "tools/qvhost/composition.h"

namespace qvhost {

// Built-in pictures for the sample maps, made at run time.
// Diffuse map: squares of two colours, `cells` across.
host_image checker_image(int width, int height, int cells, PF_Pixel8 a, PF_Pixel8 b);
// Equirectangular environment: sky blue at the top to warm ground at the bottom,
// with the hue turning around the horizon.
host_image gradient_environment(int width, int height);
// Height map of round bumps in rows.
host_image bump_pattern(int width, int height, int cells);
// One colour everywhere.
host_image solid_image(int width, int height, PF_Pixel8 colour);

} // namespace qvhost
