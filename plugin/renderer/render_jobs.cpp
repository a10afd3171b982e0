#include "plugin/renderer/render_jobs.h"

#include "plugin/renderer/device_limits.h"
#include "plugin/renderer/render_thread.h"
#include "plugin/renderer/renderer.h"

#include <functional>

namespace qvsdk {

void set_render_size(RenderThread& thread, unsigned samples, const render_data& frame)
{
    // Refused here, before any GPU state changes: a frame the device cannot take
    // fails alone and leaves the render thread running.
    if (const Renderer* renderer = thread.renderer())
        check_output_fits(renderer->limits(), frame.output);
    thread.submit(std::bind(&Renderer::set_render_size, thread.renderer(), samples, std::cref(frame)));
}

void begin_frame(RenderThread& thread)
{
    thread.submit(std::bind(&Renderer::begin_frame, thread.renderer()));
}

void output(RenderThread& thread, float gamma)
{
    thread.submit(std::bind(&Renderer::output, thread.renderer(), gamma));
}

void release_texture(RenderThread& thread, unsigned texture)
{
    thread.submit(std::bind(&Renderer::delete_texture, thread.renderer(), texture));
}

unsigned load_layer_texture(RenderThread& thread, const pixel_buffer& layer)
{
    unsigned texture = 0;
    // A layer the device cannot take is no map, rather than the end of the thread.
    const Renderer* renderer = thread.renderer();
    if (!layer.pixels || (renderer && !layer_fits(renderer->limits(), layer)))
        return texture;
    RenderThread* on = &thread;
    const pixel_buffer* from = &layer;
    unsigned* result = &texture;
    thread.submit([on, from, result] { *result = on->renderer()->load_layer_texture(*from); });
    return texture;
}

unsigned build_environment(RenderThread& thread, unsigned source)
{
    unsigned cube = 0;
    RenderThread* on = &thread;
    unsigned* result = &cube;
    thread.submit([on, source, result] { *result = on->renderer()->build_environment(source); });
    return cube;
}

unsigned bump_to_normal(RenderThread& thread, unsigned source, std::int32_t width,
                        std::int32_t height)
{
    unsigned normals = 0;
    RenderThread* on = &thread;
    unsigned* result = &normals;
    thread.submit([on, source, width, height, result] {
        *result = on->renderer()->bump_to_normal(source, width, height);
    });
    return normals;
}

} // namespace qvsdk
