#pragma once

#include <stdexcept>

namespace qvsdk {

// A frame's or a layer's buffers that the graphics card could not allocate. What the
// job made has been released, so the render thread reports this to the frame's
// submitter and goes on: the next frame that fits renders.
class out_of_gpu_memory : public std::runtime_error {
public:
    out_of_gpu_memory() : std::runtime_error("the frame did not fit in the graphics card's memory")
    {
    }
};

} // namespace qvsdk
