// What the renderer must take from its callers as it comes: shader sources that
// are views into longer text, and a normal map asked for before any frame size.
#include "frame_fixture.h"

#include "embedded/renderer_sources.h"
#include "plugin/renderer/program_manager.h"
#include "plugin/renderer/render_jobs.h"
#include "plugin/renderer/render_thread.h"
#include "plugin/renderer/renderer.h"
#include "plugin/renderer/shader_log.h"

#include <gtest/gtest.h>

#include <GL/glew.h>

#include <cmath>
#include <string>
#include <string_view>
#include <vector>

using namespace qvtest;

namespace {

int shader_logs = 0;
void count_log(const std::string&)
{
    ++shader_logs;
}

} // namespace

TEST(RendererGuards, ShaderSourceViewsEndAtTheirLength)
{
    // Each view is followed in memory by text that does not compile.
    const std::string tail = "\n#error past the end of the view\n";
    const std::string vertex = std::string(qvsdk::renderer_sources::quad_vert().text()) + tail;
    const std::string fragment = std::string(qvsdk::renderer_sources::copy_frag().text()) + tail;
    const std::string_view vertex_view(vertex.data(), vertex.size() - tail.size());
    const std::string_view fragment_view(fragment.data(), fragment.size() - tail.size());

    qvsdk::set_shader_log_handler(count_log);
    shader_logs = 0;
    qvsdk::RenderThread thread;
    GLint linked = GL_FALSE;
    std::string error;
    thread.submit([&] {
        try {
            const GLuint program =
                thread.renderer()->programs().build_program(vertex_view, fragment_view);
            glGetProgramiv(program, GL_LINK_STATUS, &linked);
        } catch (const std::exception& e) {
            error = e.what();
        }
    });
    qvsdk::set_shader_log_handler(nullptr);
    EXPECT_EQ(error, "");
    EXPECT_EQ(linked, GL_TRUE);
    EXPECT_EQ(shader_logs, 0);
}

TEST(RendererGuards, BumpBeforeAnyFrameSizeIsAtFullResolution)
{
    // Grey growing by 1 a texel to the right: gx = 8, so n = normalize(-8, 0, 0.5)
    // at full resolution, packed as (n + 1) / 2.
    host_image ramp(8, 8, 4);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            const float v = static_cast<float>(x);
            const float rising[4] = {1, v, v, v};
            ramp.set(x, y, rising);
        }
    qvsdk::RenderThread thread;
    const unsigned source = qvsdk::load_layer_texture(thread, ramp.buffer());
    const unsigned normals = qvsdk::bump_to_normal(thread, source, 8, 8);
    std::vector<float> texels(8 * 8 * 4);
    thread.submit([&] {
        glBindTexture(GL_TEXTURE_2D, normals);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_FLOAT, texels.data());
        glBindTexture(GL_TEXTURE_2D, 0);
    });
    const float length = std::sqrt(64.0f + 0.25f);
    for (int x = 2; x < 6; ++x) {
        const float* texel = &texels[(4 * 8 + x) * 4];
        EXPECT_NEAR(texel[0], (-8.0f / length + 1) * 0.5f, 2e-3) << x;
        EXPECT_NEAR(texel[1], 0.5f, 2e-3) << x;
        EXPECT_NEAR(texel[2], (0.5f / length + 1) * 0.5f, 2e-3) << x;
    }
    for (unsigned texture : {source, normals})
        qvsdk::release_texture(thread, texture);
}
