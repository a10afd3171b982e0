#pragma once

#include <cstdint>

namespace qvsdk {

enum render_target_kind : std::uint32_t { render_target_texture = 0, render_target_renderbuffer = 1 };

// One attachable target of a framebuffer.
struct render_target {
    std::uint32_t name = 0;
    std::uint32_t kind = render_target_texture;
    bool multisampled = false;
};

} // namespace qvsdk
