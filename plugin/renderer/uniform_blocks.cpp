#include "plugin/renderer/uniform_blocks.h"

#include <cmath>
#include <cstring>

namespace qvsdk {

transform_block make_transform_block(const render_properties& camera)
{
    transform_block block{};
    block.viewMatrix = camera.viewMatrix;
    block.projMatrix = camera.projMatrix;
    block.viewSize[0] = camera.viewSize[0];
    block.viewSize[1] = camera.viewSize[1];
    return block;
}

lights_block make_lights_block(const std::vector<light_properties>& lights)
{
    constexpr std::uint32_t ambient = 3;
    constexpr std::uint32_t spot = 1;
    constexpr float pi = 3.14159265358979f;

    lights_block block{};
    for (const light_properties& light : lights) {
        if (light.lightType == ambient) {
            for (int c = 0; c < 4; ++c)
                block.ambientLights[c] += light.color[c];
            continue;
        }
        light_slot& slot = block.lights[block.numLights];
        std::memcpy(slot.position, light.position, sizeof(slot.position));
        std::memcpy(slot.direction, light.direction, sizeof(slot.direction));
        std::memcpy(slot.color, light.color, sizeof(slot.color));
        slot.lightType = static_cast<std::int32_t>(light.lightType);
        slot.falloffType = static_cast<std::int32_t>(light.falloffType);
        slot.falloff = light.falloff;
        if (light.lightType == spot) {
            // The cone angle is the full opening; the shading compares against half.
            slot.spotConeCos = std::cos(light.cone_angle * pi / 360.0f);
            slot.spotFeather = light.cone_feather;
        }
        if (++block.numLights == max_lights)
            break;
    }
    return block;
}

} // namespace qvsdk
