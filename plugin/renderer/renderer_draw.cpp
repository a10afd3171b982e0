// The sphere pass: draw state for the chosen faces, the five maps and the material
// uniforms, then one indexed draw.
#include "plugin/renderer/renderer.h"

#include "plugin/renderer/model_uniforms.h"

#include <cmath>

namespace qvsdk {
namespace {

constexpr std::uint32_t surface_all = 1;
constexpr std::uint32_t surface_back = 3;

class uniform_setter {
public:
    explicit uniform_setter(GLuint program) : program(program) {}

    GLint at(const char* name) const { return glGetUniformLocation(program, name); }
    void i(const char* name, GLint value) const { glUniform1i(at(name), value); }
    void f(const char* name, GLfloat value) const { glUniform1f(at(name), value); }
    void v2(const char* name, const float* value) const { glUniform2fv(at(name), 1, value); }
    void v3(const char* name, const float* value) const { glUniform3fv(at(name), 1, value); }
    void v4(const char* name, const float* value) const { glUniform4fv(at(name), 1, value); }
    void m4(const char* name, const mat4& value) const
    {
        glUniformMatrix4fv(at(name), 1, GL_FALSE, value.m);
    }

private:
    GLuint program;
};

void bind_map(GLenum unit, GLuint texture, GLint wrap)
{
    glActiveTexture(unit);
    glBindTexture(GL_TEXTURE_2D, texture);
    if (texture == 0)
        return;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrap);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrap);
}

GLint as_int(std::uint32_t value)
{
    return static_cast<GLint>(value);
}

} // namespace

void Renderer::draw_model(const model_ref& model, const mat4& model_matrix,
                          const material_properties& material)
{
    glDepthMask(GL_FALSE);
    if (material.surface == surface_all) {
        material_properties back = material;
        back.surface = surface_back;
        draw_model(model, model_matrix, back);
        // Front faces over the back faces. The source factor is GL_SRC_ALPHA on
        // premultiplied colour, which saved projects' soft edges look as they do by.
        glEnable(GL_BLEND);
        glBlendFuncSeparate(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
    }
    glCullFace(material.surface == surface_back ? GL_FRONT : GL_BACK);
    const mat4 normals = normal_matrix(model_matrix);

    glBindFramebuffer(GL_FRAMEBUFFER, multisample_framebuffer);
    glViewport(0, 0, current_frame.output.width, current_frame.output.height);
    glEnable(GL_CULL_FACE);
    glEnable(GL_MULTISAMPLE);
    glUseProgram(model_program);
    glBindVertexArray(model.vertex_array);

    const GLint wrap = material.uv_mode == 1 ? GL_REPEAT : GL_MIRRORED_REPEAT;
    bind_map(GL_TEXTURE0, material.diffuse_texture, wrap);
    bind_map(GL_TEXTURE1, material.glossiness_texture, wrap);
    bind_map(GL_TEXTURE2, material.illumination_texture, wrap);
    bind_map(GL_TEXTURE3, material.normal_texture, wrap);
    glActiveTexture(GL_TEXTURE4);
    glBindTexture(GL_TEXTURE_CUBE_MAP, material.environment_texture);
    if (material.environment_texture != 0) {
        glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_S, GL_REPEAT);
        glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_T, GL_REPEAT);
        glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_R, GL_REPEAT);
    }
    glActiveTexture(GL_TEXTURE0);

    const uniform_setter set(model_program);
    const material_properties& m = material;
    set.m4("modelMatrix", model_matrix);
    set.m4("normalMatrix", normals);
    set.v3("eyePosition", current_camera.eyePosition);
    set.v4("modelColor", m.modelColor);
    set.i("uvType", as_int(m.uvType));
    set.f("edgeFeather", m.edgeFeather);
    set.f("edgeShrink", m.edgeShrink);
    set.f("diffuseGamma", m.diffuseGamma);
    set.f("glossinessGamma", m.glossinessGamma);
    set.f("illuminationGamma", m.illuminationGamma);
    set.f("environmentGamma", m.environmentGamma);
    set.i("useDiffuseTexture", as_int(m.diffuse_texture));
    set.i("useGlossinessTexture", as_int(m.glossiness_texture));
    set.i("useIlluminationTexture", as_int(m.illumination_texture));
    set.i("useNormalTexture", as_int(m.normal_texture));
    set.i("useEnvironmentTexture", as_int(m.environment_texture));
    set.f("diffuseBlend", m.diffuseBlend);
    set.f("diffuseBrightness", m.diffuseBrightness);
    set.f("glossinessBrightness", m.glossinessBrightness);
    set.f("illuminationBrightness", m.illuminationBrightness);
    set.f("environmentBrightness", m.environmentBrightness);
    set.f("ambientAmount", m.ambientAmount);
    set.f("diffuseAmount", m.diffuseAmount);
    set.f("glossinessAmount", m.glossinessAmount);
    set.f("specularAmount", m.specularAmount);
    set.f("reflectivityAmount", m.reflectivityAmount);
    set.v4("illuminationColor", m.illuminationColor);
    set.f("normalAmount", m.normalAmount);
    set.f("normalInvertGreen", m.normalInvertGreen ? -1.0f : 1.0f);
    set.f("clipLighting", m.clipLighting);
    set.m4("environmentRotation", environment_rotation_matrix(m.environmentRotation));
    set.f("illuminationFresnel", m.illuminationFresnel);
    set.f("illuminationFresnelBias", m.illuminationFresnelBias);
    set.f("illuminationShadowLight", m.illuminationShadowLight);
    set.f("illuminationShadowLightContrast",
          shadow_light_contrast(m.illuminationShadowLightContrast));
    set.f("illuminationShadowLightExpand", m.illuminationShadowLightExpand);
    set.f("illuminationBumpInfluence", m.illuminationBumpInfluence);
    set.f("uvFeathering", uv_feathering_exponent(m.uv_feathering));
    set.v2("uvRepeat", m.uvRepeat);
    set.v2("uvOffset", m.uvOffset);
    const float rotation[2] = {std::cos(m.uvRotation), std::sin(m.uvRotation)};
    set.v2("uvRotation", rotation);
    set.i("unlitMode", m.unlitMode ? 1 : 0);
    set.i("flattenBottom", m.flattenBottom ? 1 : 0);

    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(model.index_count), GL_UNSIGNED_INT, nullptr);

    glBindVertexArray(0);
    glDisable(GL_BLEND);
    glUseProgram(0);
}

} // namespace qvsdk
