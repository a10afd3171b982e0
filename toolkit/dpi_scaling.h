#pragma once

#include "toolkit/widget.h"

#include <windows.h>

namespace qvsdk::ui {

// The pixels that a box in 96-dpi units covers at a DPI (edges rounded outwards).
RECT units_to_pixels(const unit_box& units, int dpi_x, int dpi_y);
// The 96-dpi units that a pixel rectangle covers (edges rounded outwards).
unit_box pixels_to_units(const RECT& pixels, int dpi_x, int dpi_y);

} // namespace qvsdk::ui
