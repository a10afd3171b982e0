#include "plugin/renderer/renderer_proxy.h"

#include "plugin/renderer/model_matrix.h"
#include "plugin/renderer/renderer.h"
#include "plugin/renderer/sphere_mesh.h"

#include <GL/glew.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <utility>

namespace qvsdk {

namespace {

// Runs on the render thread with the renderer's context current. The attribute
// locations are those of the model vertex shader.
void mesh_upload_job(model_ref& result, const mesh_vertex* vertices, std::size_t vertex_count,
                     const std::uint32_t* indices, std::size_t index_count)
{
    GLuint vertex_array = 0;
    glGenVertexArrays(1, &vertex_array);
    glBindVertexArray(vertex_array);

    GLuint vertex_buffer = 0;
    glGenBuffers(1, &vertex_buffer);
    glBindBuffer(GL_ARRAY_BUFFER, vertex_buffer);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(vertex_count * sizeof(mesh_vertex)),
                 vertices, GL_STATIC_DRAW);
    struct attribute {
        GLuint location;
        GLint components;
        std::size_t offset;
    };
    const attribute attributes[] = {{0, 3, 0}, {1, 2, 16}, {2, 3, 32}, {3, 4, 48}};
    for (const attribute& a : attributes)
        glVertexAttribPointer(a.location, a.components, GL_FLOAT, GL_FALSE, sizeof(mesh_vertex),
                              reinterpret_cast<const void*>(a.offset));
    for (const attribute& a : attributes)
        glEnableVertexAttribArray(a.location);

    GLuint index_buffer = 0;
    glGenBuffers(1, &index_buffer);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, index_buffer);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER,
                 static_cast<GLsizeiptr>(index_count * sizeof(std::uint32_t)), indices,
                 GL_STATIC_DRAW);
    glBindVertexArray(0);

    result.vertex_array = vertex_array;
    result.vertex_buffer = vertex_buffer;
    result.index_buffer = index_buffer;
    result.index_count = static_cast<std::uint32_t>(index_count);
}

} // namespace

RendererProxy::RendererProxy(std::unique_ptr<RenderThread> thread) : thread(std::move(thread))
{
}

RendererProxy::~RendererProxy() = default;

model_ref RendererProxy::load_sphere_model()
{
    // The host-side copy lives only until the upload has run, also on failure.
    sphere_mesh mesh = inflate_sphere_mesh();
    model_ref result{};
    thread->submit([&result, &mesh] {
        mesh_upload_job(result, mesh.vertices.data(), mesh.vertices.size(), mesh.indices.data(),
                        mesh.indices.size());
    });
    sphere = result;
    return result;
}

void RendererProxy::set_render_properties(const render_properties& new_camera)
{
    camera = new_camera;
    thread->submit(std::bind(&Renderer::set_render_properties, thread->renderer(), std::cref(camera)));
}

void RendererProxy::set_scene(const scene_properties& new_scene)
{
    std::memcpy(scene.translation, new_scene.translation, sizeof(scene.translation));
    std::memcpy(scene.rotation, new_scene.rotation, sizeof(scene.rotation));
    scene.scale = new_scene.scale;
    scene.inverse_gamma = new_scene.inverse_gamma;
    scene.material = new_scene.material;
    // Keeps the vector's storage when it is large enough.
    scene.lights.assign(new_scene.lights.begin(), new_scene.lights.end());
    thread->submit(std::bind(&Renderer::set_lights, thread->renderer(), std::cref(scene.lights)));
}

void RendererProxy::draw(float weight)
{
    const mat4 matrix = model_matrix(scene.translation, scene.rotation, scene.scale);
    thread->submit(std::bind(&Renderer::draw_model, thread->renderer(), std::cref(sphere),
                             std::cref(matrix), std::cref(scene.material)));
    thread->submit(std::bind(&Renderer::accumulate, thread->renderer(), weight));
}

} // namespace qvsdk
