#pragma once

#include "plugin/light_properties.h"
#include "plugin/render_properties.h"
#include "plugin/renderer/mat4.h"

#include <cstdint>
#include <vector>

namespace qvsdk {

// The model program's uniform blocks, byte for byte as std140 lays them out.

struct transform_block {
    mat4 viewMatrix;
    mat4 projMatrix;
    float viewSize[2];
    float padding[2];
};
static_assert(sizeof(transform_block) == 144, "TransformMatrices is 144 bytes");

struct light_slot {
    float position[4];
    float direction[4];
    float color[4];
    std::int32_t lightType;
    std::int32_t falloffType;
    float falloff;
    float spotConeCos;
    float spotFeather;
    std::int32_t padding[3];
};
static_assert(sizeof(light_slot) == 80, "LightProperties is 80 bytes");

constexpr int max_lights = 8;

struct lights_block {
    std::int32_t numLights;
    std::int32_t padding[3];
    float ambientLights[4];
    light_slot lights[max_lights];
};
static_assert(sizeof(lights_block) == 672, "Lights is 672 bytes");

transform_block make_transform_block(const render_properties& camera);

// Ambient lights add up into ambientLights and take no slot; the first eight other
// lights take the slots, and nothing after the eighth is read, ambient or not.
lights_block make_lights_block(const std::vector<light_properties>& lights);

} // namespace qvsdk
