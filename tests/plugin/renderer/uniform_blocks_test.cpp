// What the frame's uniform blocks and the sphere pass's uniforms are made of.
#include "frame_fixture.h"

#include "plugin/renderer/model_matrix.h"
#include "plugin/renderer/model_uniforms.h"
#include "plugin/renderer/pixel_buffer_size.h"
#include "plugin/renderer/uniform_blocks.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <stdexcept>

using namespace qvsdk;

namespace {

light_properties light_of(std::uint32_t type, float red)
{
    return qvtest::make_light(type, {red, 0, 0, 1}, {red * 10.0f, 0, 0});
}

} // namespace

TEST(LightsBlock, AmbientLightsAddUpAndTakeNoSlot)
{
    const lights_block block =
        make_lights_block({light_of(3, 0.25f), light_of(2, 1.0f), light_of(3, 0.5f)});
    EXPECT_EQ(block.numLights, 1);
    EXPECT_FLOAT_EQ(block.ambientLights[0], 0.75f);
    EXPECT_FLOAT_EQ(block.ambientLights[3], 2.0f);
    EXPECT_EQ(block.lights[0].lightType, 2);
    EXPECT_FLOAT_EQ(block.lights[0].position[0], 10.0f);
}

TEST(LightsBlock, NothingAfterTheEighthLightIsRead)
{
    std::vector<light_properties> lights(8, light_of(2, 1.0f));
    lights.push_back(light_of(3, 1.0f));
    lights.push_back(light_of(0, 1.0f));
    const lights_block block = make_lights_block(lights);
    EXPECT_EQ(block.numLights, 8);
    for (float c : block.ambientLights)
        EXPECT_EQ(c, 0.0f);
}

TEST(LightsBlock, EmptyListLeavesNoLightAndNoAmbient)
{
    const lights_block block = make_lights_block({});
    EXPECT_EQ(block.numLights, 0);
    EXPECT_EQ(block.ambientLights[0], 0.0f);
}

TEST(LightsBlock, SpotConeIsTheCosineOfHalfTheAngle)
{
    light_properties spot = light_of(1, 1.0f);
    spot.cone_angle = 90.0f;
    spot.cone_feather = 0.3f;
    spot.falloffType = 2;
    spot.falloff = 5.0f;
    light_properties point = light_of(2, 1.0f);
    point.cone_angle = 90.0f;
    const lights_block block = make_lights_block({spot, point});
    EXPECT_NEAR(block.lights[0].spotConeCos, std::cos(3.14159265 / 4), 1e-6);
    EXPECT_FLOAT_EQ(block.lights[0].spotFeather, 0.3f);
    EXPECT_EQ(block.lights[0].falloffType, 2);
    EXPECT_FLOAT_EQ(block.lights[0].falloff, 5.0f);
    EXPECT_EQ(block.lights[1].spotConeCos, 0.0f);
}

TEST(TransformBlock, CarriesTheCameraAsStored)
{
    render_properties camera;
    camera.viewSize[0] = 1920.0f;
    camera.viewSize[1] = 1080.0f;
    for (int i = 0; i < 16; ++i) {
        camera.viewMatrix[i] = static_cast<float>(i);
        camera.projMatrix[i] = static_cast<float>(-i);
    }
    const transform_block block = make_transform_block(camera);
    EXPECT_EQ(block.viewMatrix[7], 7.0f);
    EXPECT_EQ(block.projMatrix[14], -14.0f);
    EXPECT_EQ(block.viewSize[0], 1920.0f);
    EXPECT_EQ(block.viewSize[1], 1080.0f);
}

TEST(ModelUniforms, ShadowLightContrastAndUvFeatheringExponents)
{
    EXPECT_FLOAT_EQ(shadow_light_contrast(0.5f), 0.5f);
    EXPECT_FLOAT_EQ(shadow_light_contrast(1.0f), 1.0f);
    EXPECT_FLOAT_EQ(shadow_light_contrast(3.0f), 8.0f);
    EXPECT_FLOAT_EQ(shadow_light_contrast(0.0f), 0.0f);
    // The uv feathering exponent runs from 1 to 65.
    EXPECT_FLOAT_EQ(uv_feathering_exponent(1.0f), 1.0f);
    EXPECT_FLOAT_EQ(uv_feathering_exponent(0.0f), 65.0f);
    EXPECT_FLOAT_EQ(uv_feathering_exponent(0.5f), 17.0f);
}

TEST(ModelUniforms, NormalMatrixIgnoresTranslationAndUndoesNonUniformScale)
{
    mat4 model = mat4::identity();
    model[0] = 2.0f;   // x scaled by 2
    model[12] = 50.0f; // moved
    const mat4 normals = normal_matrix(model);
    EXPECT_FLOAT_EQ(normals[0], 0.5f);
    EXPECT_FLOAT_EQ(normals[5], 1.0f);
    EXPECT_EQ(normals[12], 0.0f);
    EXPECT_EQ(normals[3], 0.0f);
}

TEST(ModelUniforms, EnvironmentRotationIsTheTransposedQuaternionMatrix)
{
    // 90 degrees about y.
    const float half = std::sqrt(0.5f);
    const float quaternion[4] = {0.0f, half, 0.0f, half};
    const mat4 rotation = mat4::from_quaternion(0.0f, half, 0.0f, half);
    const mat4 uniform = environment_rotation_matrix(quaternion);
    for (int column = 0; column < 4; ++column)
        for (int row = 0; row < 4; ++row)
            EXPECT_FLOAT_EQ(uniform[4 * column + row], rotation[4 * row + column]);
}

TEST(ModelMatrix, ScalesThenRotatesThenMoves)
{
    const float translation[4] = {100.0f, 50.0f, -20.0f, 7.0f};
    const float half = std::sqrt(0.5f);
    const float rotation[4] = {0.0f, 0.0f, half, half};  // 90 degrees about z
    const mat4 m = model_matrix(translation, rotation, 10.0f);
    // (1, 0, 0) → scaled (10, 0, 0) → rotated (0, 10, 0) → moved (100, 60, -20).
    const float x = m[0] + m[12], y = m[1] + m[13], z = m[2] + m[14], w = m[3] + m[15];
    EXPECT_NEAR(x, 100.0f, 1e-4);
    EXPECT_NEAR(y, 60.0f, 1e-4);
    EXPECT_NEAR(z, -20.0f, 1e-4);
    EXPECT_FLOAT_EQ(w, 1.0f);
}

TEST(PixelBufferSize, ComputedBeyondThirtyTwoBits)
{
    pixel_buffer buffer;
    buffer.bytes_per_channel = 4;
    buffer.width = 30000;
    buffer.row_bytes = 30000 * 16;
    buffer.height = 30000;
    // 14.4 GB: a 32-bit product would wrap to a small, wrong size.
    EXPECT_EQ(pixel_buffer_size(buffer, std::numeric_limits<std::uint64_t>::max()),
              14400000000ull);
    try {
        pixel_buffer_size(buffer, 1ull << 32);
        FAIL() << "a buffer over the device's limit was accepted";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "pixel buffer is over the device's maximum buffer size");
    }
}

TEST(PixelBufferSize, PaddedRowsCountAndShortRowsAreRefused)
{
    pixel_buffer buffer;
    buffer.bytes_per_channel = 2;
    buffer.width = 10;
    buffer.height = 3;
    buffer.row_bytes = 10 * 8 + 16;
    EXPECT_EQ(pixel_buffer_size(buffer, 1000), 288u);
    buffer.row_bytes = 10 * 8 - 1;
    EXPECT_THROW(pixel_buffer_size(buffer, 1000), std::runtime_error);
    buffer.row_bytes = 80;
    buffer.height = -1;
    EXPECT_THROW(pixel_buffer_size(buffer, 1000), std::runtime_error);
}
