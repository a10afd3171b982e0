#pragma once

#include "plugin/pixel_buffer.h"
#include "plugin/render_data.h"

#include <cstdint>

namespace qvsdk {

class RenderThread;

// The render jobs that the effect submits itself, each run on the render thread
// while the caller waits. Records go by reference and must stay alive for the
// call; once the thread has ended these do nothing (and return 0).

// Throws, without submitting, for an output the device cannot take.
void set_render_size(RenderThread& thread, unsigned samples, const render_data& frame);
void begin_frame(RenderThread& thread);
void output(RenderThread& thread, float gamma);
void release_texture(RenderThread& thread, unsigned texture);

// The layer-texture jobs; each returned texture belongs to the caller. A layer the
// device cannot take gives 0 without a job.
unsigned load_layer_texture(RenderThread& thread, const pixel_buffer& layer);
unsigned build_environment(RenderThread& thread, unsigned source);
unsigned bump_to_normal(RenderThread& thread, unsigned source, std::int32_t width,
                        std::int32_t height);

} // namespace qvsdk
