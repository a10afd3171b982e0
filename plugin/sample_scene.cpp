#include "plugin/sample_scene.h"

#include "plugin/ae_plugin_connection.h"
#include "plugin/effect_parameters.h"
#include "plugin/layer_texture.h"
#include "plugin/lights.h"
#include "plugin/parameter_ids.h"
#include "plugin/suite_handler.h"

#include <cmath>

namespace {

float slider(const command_context& context, A_long id)
{
    return static_cast<float>(read_param(context, id).u.fs_d.value);
}

A_long popup(const command_context& context, A_long id)
{
    return read_param(context, id).u.pd.value;
}

bool checkbox(const command_context& context, A_long id)
{
    return read_param(context, id).u.bd.value != 0;
}

PF_Fixed angle(const command_context& context, A_long id)
{
    return read_param(context, id).u.ad.value;
}

void fill_material(qvsdk::material_properties& m, const command_context& context,
                   bool use_normal_map)
{
    m.surface = static_cast<std::uint32_t>(popup(context, param_id::surface));
    m.unlitMode = checkbox(context, param_id::unlit_only) ? 1 : 0;
    m.diffuseBlend = slider(context, param_id::diffuse_blend);
    m.edgeFeather = slider(context, param_id::edge_feather);
    m.edgeShrink = slider(context, param_id::edge_shrink);
    m.diffuseGamma = slider(context, param_id::diffuse_gamma);
    m.glossinessGamma = slider(context, param_id::glossiness_gamma);
    m.illuminationGamma = slider(context, param_id::illumination_gamma);
    m.environmentGamma = slider(context, param_id::environment_gamma);
    m.diffuseBrightness = slider(context, param_id::diffuse_brightness);
    m.glossinessBrightness = slider(context, param_id::glossiness_brightness);
    m.illuminationBrightness = slider(context, param_id::illumination_brightness);
    m.environmentBrightness = slider(context, param_id::environment_brightness);
    m.normalAmount = slider(context, param_id::bump_intensity);
    m.clipLighting = slider(context, param_id::bump_falloff);
    m.normalInvertGreen =
        use_normal_map && checkbox(context, param_id::flip_normal_channels) ? 1 : 0;
    m.illuminationFresnel = slider(context, param_id::fresnel);
    m.illuminationFresnelBias = slider(context, param_id::fresnel_bias);
    m.illuminationShadowLight = slider(context, param_id::shadow_light);
    m.illuminationShadowLightContrast = slider(context, param_id::shadow_light_contrast);
    m.illuminationShadowLightExpand = slider(context, param_id::shadow_light_expansion);
    m.illuminationBumpInfluence = slider(context, param_id::bump_influence);

    const PF_Pixel color = read_param(context, param_id::color).u.cd.value;
    m.modelColor[0] = color.red * 0.003921569f;
    m.modelColor[1] = color.green * 0.003921569f;
    m.modelColor[2] = color.blue * 0.003921569f;
    m.modelColor[3] = slider(context, param_id::opacity);
    const PF_Pixel glow = read_param(context, param_id::illumination_color).u.cd.value;
    const float amount = slider(context, param_id::illumination);
    m.illuminationColor[0] = glow.red * 0.003921569f * amount;
    m.illuminationColor[1] = glow.green * 0.003921569f * amount;
    m.illuminationColor[2] = glow.blue * 0.003921569f * amount;
    m.illuminationColor[3] = glow.alpha * 0.003921569f * amount;

    m.reflectivityAmount = slider(context, param_id::reflectivity);
    m.ambientAmount = slider(context, param_id::ambient);
    m.diffuseAmount = slider(context, param_id::diffuse);
    m.glossinessAmount = slider(context, param_id::glossiness);
    m.specularAmount = slider(context, param_id::specular);
    euler_quaternion(angle(context, param_id::env_rotation_x),
                     angle(context, param_id::env_rotation_y),
                     angle(context, param_id::env_rotation_z), m.environmentRotation);
    m.uvType = static_cast<std::uint32_t>(popup(context, param_id::uv_type));
    m.uv_mode = static_cast<std::uint32_t>(popup(context, param_id::uv_mode));
    m.uvRepeat[0] = slider(context, param_id::uv_repeat_x);
    m.uvRepeat[1] = slider(context, param_id::uv_repeat_y);
    m.uvOffset[0] = slider(context, param_id::uv_offset_x);
    m.uvOffset[1] = slider(context, param_id::uv_offset_y);
    m.uv_feathering = slider(context, param_id::box_uv_feathering);
    m.uvRotation = static_cast<float>(angle(context, param_id::uv_rotation)) * 2.6631611e-7f;
}

} // namespace

void euler_quaternion(PF_Fixed x, PF_Fixed y, PF_Fixed z, float out[4])
{
    const float hx = static_cast<float>(x) * 1.3315805e-7f;
    const float hy = static_cast<float>(y) * 1.3315805e-7f;
    const float hz = static_cast<float>(z) * 1.3315805e-7f;
    const float sx = std::sin(hx), cx = std::cos(hx);
    const float sy = std::sin(hy), cy = std::cos(hy);
    const float sz = std::sin(hz), cz = std::cos(hz);
    out[0] = sx * cy * cz + cx * sy * sz;
    out[1] = cx * sy * cz - sx * cy * sz;
    out[2] = cx * cy * sz + sx * sy * cz;
    out[3] = sx * sy * sz - cx * cy * cz;
}

void build_sample_scene(AePluginConnection& connection, qvsdk::scene_properties& scene,
                        command_context& context, sequence_data& sequence,
                        const sample_layers& layers)
{
    const PF_InData& in_data = *context.in_data;
    const float k = static_cast<float>(in_data.downsample_x.den) /
                    static_cast<float>(in_data.downsample_x.num);
    const float ky = static_cast<float>(in_data.downsample_y.den) /
                     static_cast<float>(in_data.downsample_y.num);
    const float a = static_cast<float>(in_data.pixel_aspect_ratio.num) /
                    static_cast<float>(in_data.pixel_aspect_ratio.den);

    scene.lights = collect_comp_lights(context);
    if (scene.lights.empty() && checkbox(context, param_id::use_default_lights)) {
        scene.lights.push_back(default_key_light());
        scene.lights.push_back(default_fill_light());
    }

    A_Time comp_time{0, in_data.time_scale};
    {
        suite_handler suites(in_data.pica_basicP);
        suites.get<AEGP_PFInterfaceSuite1>().AEGP_ConvertEffectToCompTime(
            in_data.effect_ref, in_data.current_time, in_data.time_scale, &comp_time);
    }

    qvsdk::material_properties& m = scene.material;
    layer_texture_context textures{connection.texture_cache,
                                   connection.renderer_proxy->render_thread(), context, comp_time};
    m.diffuse_texture = load_layer_texture(textures, param_id::diffuse_layer, layers.diffuse,
                                           sequence.diffuse, upload_colour);
    m.glossiness_texture = load_layer_texture(textures, param_id::glossiness_layer,
                                              layers.glossiness, sequence.glossiness,
                                              upload_colour);
    m.illumination_texture = load_layer_texture(textures, param_id::illumination_layer,
                                                layers.illumination, sequence.illumination,
                                                upload_colour);
    const bool use_normal_map = checkbox(context, param_id::use_normal_map);
    m.normal_texture = load_layer_texture(textures, param_id::bump_layer, layers.bump,
                                          sequence.bump,
                                          use_normal_map ? upload_colour : upload_bump_to_normal);
    m.environment_texture = load_layer_texture(textures, param_id::environment_layer,
                                               layers.environment, sequence.environment,
                                               upload_environment);

    fill_material(m, context, use_normal_map);

    const PF_ParamDef position = read_param(context, param_id::position);
    scene.translation[0] = static_cast<float>(position.u.point3d_d.x_value) * a * k;
    scene.translation[1] = static_cast<float>(position.u.point3d_d.y_value) * ky;
    scene.translation[2] = static_cast<float>(position.u.point3d_d.z_value) * k;
    scene.translation[3] = 0;
    euler_quaternion(angle(context, param_id::rotation_x), angle(context, param_id::rotation_y),
                     angle(context, param_id::rotation_z), scene.rotation);
    scene.scale = slider(context, param_id::radius);
    scene.inverse_gamma = 1.0f / slider(context, param_id::gamma);
    m.flattenBottom = popup(context, param_id::object_3d) == 2 ? 1 : 0;
}
