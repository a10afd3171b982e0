#pragma once

#include "plugin/renderer/model_ref.h"
#include "plugin/renderer/render_thread.h"

#include <memory>

namespace qvsdk {

// The effect's handle on the renderer: owns the render thread and the uploaded
// sphere. Destroying it stops the thread, which takes the Renderer with it.
class RendererProxy {
public:
    explicit RendererProxy(std::unique_ptr<RenderThread> thread);
    RendererProxy(const RendererProxy&) = delete;
    RendererProxy& operator=(const RendererProxy&) = delete;
    ~RendererProxy();

    // Inflates the embedded sphere here and uploads it on the render thread; all
    // zero when the render thread has already ended.
    model_ref load_sphere_model();

    RenderThread& render_thread() const { return *thread; }
    const model_ref& sphere_model() const { return sphere; }

private:
    std::unique_ptr<RenderThread> thread;
    model_ref sphere{};
};

} // namespace qvsdk
