#pragma once

#include <cstdint>

namespace qvsdk {

// An uploaded mesh, as the draw needs it. The GL objects are not released one by
// one: they end with the OpenGL context. All zero means nothing was uploaded.
struct model_ref {
    std::uint32_t vertex_array = 0;
    std::uint32_t vertex_buffer = 0;
    std::uint32_t index_buffer = 0;
    std::uint32_t index_count = 0;
};

} // namespace qvsdk
