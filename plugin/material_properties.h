#pragma once

#include <cstdint>
#include <type_traits>

namespace qvsdk {

// The sphere's material for one draw. Fields named like a model-shader uniform
// feed that uniform; texture ids are GL names, 0 for none.
struct material_properties {
    std::uint32_t surface = 0;       // 1 all, 2 front, 3 back faces
    std::uint8_t flattenBottom = 0;  // hemisphere
    std::uint8_t unlitMode = 0;
    std::uint32_t diffuse_texture = 0;
    std::uint32_t glossiness_texture = 0;
    std::uint32_t illumination_texture = 0;
    std::uint32_t environment_texture = 0; // cube map
    std::uint32_t normal_texture = 0;
    float diffuseBlend = 0;
    float edgeFeather = 0;
    float edgeShrink = 0;
    float diffuseGamma = 0;
    float glossinessGamma = 0;
    float illuminationGamma = 0;
    float environmentGamma = 0;
    float diffuseBrightness = 0;
    float glossinessBrightness = 0;
    float illuminationBrightness = 0;
    float environmentBrightness = 0;
    float normalAmount = 0;
    float clipLighting = 0;
    std::uint8_t normalInvertGreen = 0;
    float illuminationFresnel = 0;
    float illuminationFresnelBias = 0;
    float illuminationShadowLight = 0;
    float illuminationShadowLightContrast = 0;
    float illuminationShadowLightExpand = 0;
    float illuminationBumpInfluence = 0;
    float modelColor[4] = {};        // RGBA in 0..1
    float illuminationColor[4] = {}; // RGBA times the illumination amount
    float reflectivityAmount = 0;
    float ambientAmount = 0;
    float diffuseAmount = 0;
    float glossinessAmount = 0;
    float specularAmount = 0;
    float environmentRotation[4] = {}; // unit quaternion x, y, z, w
    std::uint32_t uvType = 0;        // 1 spherical, 2 box, 3 XY, 4 XZ, 5 ZY plane
    std::uint32_t uv_mode = 0;       // 1 repeat, 2 mirror
    float uvRepeat[2] = {};
    float uvOffset[2] = {};
    float uv_feathering = 0;         // 0..1
    float uvRotation = 0;            // radians
};

static_assert(std::is_trivially_copyable_v<material_properties>, "copied byte for byte");

} // namespace qvsdk
