#pragma once

#include "toolkit/color.h"
#include "toolkit/image.h"
#include "toolkit/image_data.h"
#include "toolkit/rect.h"
#include "toolkit/size.h"

#include <memory>

namespace qvsdk::ui {

// A widget's owning handle on one image, with the helpers widgets use.
class image_ptr {
public:
    image_ptr() : owned(std::make_unique<image>()) {}
    explicit image_ptr(std::unique_ptr<image> i) : owned(std::move(i)) {}

    image* get() const { return owned.get(); }
    image* operator->() const { return owned.get(); }
    image& operator*() const { return *owned; }
    explicit operator bool() const { return owned != nullptr; }

    // Loads the theme picture at its scale; false when it does not decode.
    bool load(const image_data& picture);
    // Size in 96-dpi units: pixels over scale, truncated.
    qvsdk::ui::size size() const;
    // Multiplies the premultiplied B, G, R, A bytes of every pixel inside area
    // (in units; all zero = the whole image) by the colour's b, g, r, a.
    void multiply(const color& factor, const rect& area);

private:
    std::unique_ptr<image> owned;
};

// The pixel rectangle [x, x + width) x [y, y + height) that a unit area covers
// at a scale; all zero stays all zero (the whole image).
rect scaled_area(const rect& units, float scale);

} // namespace qvsdk::ui
