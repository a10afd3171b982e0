#pragma once

#include "plugin/render_properties.h"
#include "plugin/renderer/model_ref.h"
#include "plugin/renderer/render_thread.h"
#include "plugin/scene_properties.h"

#include <memory>

namespace qvsdk {

// The effect's handle on the renderer: owns the render thread and the uploaded
// sphere, and keeps copies of the last camera and scene, which the jobs read by
// reference while the caller waits. Destroying it stops the thread, which takes
// the Renderer with it. One caller at a time.
class RendererProxy {
public:
    explicit RendererProxy(std::unique_ptr<RenderThread> thread);
    RendererProxy(const RendererProxy&) = delete;
    RendererProxy& operator=(const RendererProxy&) = delete;
    ~RendererProxy();

    // Inflates the embedded sphere here and uploads it on the render thread; all
    // zero when the render thread has already ended.
    model_ref load_sphere_model();

    void set_render_properties(const render_properties& camera);
    // Sends the lights; the transform and material wait for draw.
    void set_scene(const scene_properties& scene);
    // Draws the sphere with the stored scene and blends it into the frame with
    // this weight (1 for a frame's first sample, 1/k for its k-th).
    void draw(float weight);

    RenderThread& render_thread() const { return *thread; }
    const model_ref& sphere_model() const { return sphere; }
    const scene_properties& last_scene() const { return scene; }

private:
    std::unique_ptr<RenderThread> thread;
    model_ref sphere{};
    render_properties camera{};
    scene_properties scene;
};

} // namespace qvsdk
