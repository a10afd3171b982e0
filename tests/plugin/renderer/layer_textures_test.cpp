// Layers into textures: the conversion of each host depth, environment cube maps
// and normal maps from height layers, read back from the GPU.
#include "frame_fixture.h"

#include "plugin/renderer/cl_device_list.h"
#include "plugin/renderer/copying_gl_sharing.h"
#include "plugin/renderer/render_jobs.h"
#include "plugin/renderer/render_thread.h"
#include "plugin/renderer/renderer.h"

#include <gtest/gtest.h>

#include <GL/glew.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

using namespace qvtest;

namespace {

class Layers : public ::testing::Test {
protected:
    static void SetUpTestSuite() { thread = new qvsdk::RenderThread; }
    static void TearDownTestSuite()
    {
        delete thread;
        thread = nullptr;
    }

    // RGBA floats of one level of a 2D texture (or of a cube face).
    static std::vector<float> read_texture(GLenum target, unsigned texture, int level,
                                           GLenum face = 0)
    {
        std::vector<float> texels;
        thread->submit([&] {
            glBindTexture(target, texture);
            const GLenum image = face ? face : target;
            GLint width = 0, height = 0;
            glGetTexLevelParameteriv(image, level, GL_TEXTURE_WIDTH, &width);
            glGetTexLevelParameteriv(image, level, GL_TEXTURE_HEIGHT, &height);
            texels.resize(static_cast<size_t>(width) * height * 4);
            glGetTexImage(image, level, GL_RGBA, GL_FLOAT, texels.data());
            glBindTexture(target, 0);
        });
        return texels;
    }

    static GLint texture_parameter(GLenum target, unsigned texture, GLenum name)
    {
        GLint value = 0;
        thread->submit([&] {
            glBindTexture(target, texture);
            glGetTexParameteriv(target, name, &value);
            glBindTexture(target, 0);
        });
        return value;
    }

    static qvsdk::RenderThread* thread;
};

qvsdk::RenderThread* Layers::thread = nullptr;

} // namespace

TEST_F(Layers, EachHostDepthBecomesRgbaFloatsWithoutScalingToOne)
{
    // 16 bits: the host's full value 32768 comes out slightly above 1.
    host_image wide(3, 2, 2, 10);
    std::uint16_t pixel16[4] = {32768, 32768, 0, 16384};
    std::memcpy(wide.bytes.data() + wide.row_bytes + 2 * 8, pixel16, 8);
    unsigned texture = qvsdk::load_layer_texture(*thread, wide.buffer());
    ASSERT_NE(texture, 0u);
    std::vector<float> texels = read_texture(GL_TEXTURE_2D, texture, 0);
    ASSERT_EQ(texels.size(), 3u * 2 * 4);
    const float* t = &texels[(1 * 3 + 2) * 4];
    EXPECT_NEAR(t[0], 32768.0f / 32767, 1e-3);
    EXPECT_EQ(t[1], 0.0f);
    EXPECT_NEAR(t[2], 16384.0f / 32767, 1e-3);
    EXPECT_NEAR(t[3], 32768.0f / 32767, 1e-3);
    qvsdk::release_texture(*thread, texture);

    // 8 bits, on a padded row.
    host_image narrow(2, 2, 1, 5);
    const std::uint8_t pixel8[4] = {255, 128, 0, 255};
    std::memcpy(narrow.bytes.data() + narrow.row_bytes + 4, pixel8, 4);
    texture = qvsdk::load_layer_texture(*thread, narrow.buffer());
    texels = read_texture(GL_TEXTURE_2D, texture, 0);
    t = &texels[(1 * 2 + 1) * 4];
    EXPECT_NEAR(t[0], 128.0f / 255, 1e-3);
    EXPECT_EQ(t[1], 0.0f);
    EXPECT_EQ(t[2], 1.0f);
    EXPECT_EQ(t[3], 1.0f);
    qvsdk::release_texture(*thread, texture);

    // 32 bits as they are.
    host_image floats(1, 1, 4);
    const float argb[4] = {0.5f, 2.0f, -1.0f, 0.25f};
    floats.set(0, 0, argb);
    texture = qvsdk::load_layer_texture(*thread, floats.buffer());
    texels = read_texture(GL_TEXTURE_2D, texture, 0);
    EXPECT_EQ(texels[0], 2.0f);
    EXPECT_EQ(texels[1], -1.0f);
    EXPECT_EQ(texels[2], 0.25f);
    EXPECT_EQ(texels[3], 0.5f);
    qvsdk::release_texture(*thread, texture);
}

TEST_F(Layers, UploadIsMipmappedClampedAndReleasesItsImage)
{
    host_image layer(16, 8, 1);
    const float grey[4] = {1.0f, 0.5f, 0.5f, 0.5f};
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 16; ++x)
            layer.set(x, y, grey);
    auto& sharing = thread->renderer()->devices().sharing();
    const auto* copying = dynamic_cast<qvsdk::copying_gl_sharing*>(&sharing);

    const size_t linked_before = copying ? copying->linked_images() : 0;
    for (int round = 0; round < 3; ++round) {
        const unsigned texture = qvsdk::load_layer_texture(*thread, layer.buffer());
        EXPECT_EQ(texture_parameter(GL_TEXTURE_2D, texture, GL_TEXTURE_MIN_FILTER),
                  GL_LINEAR_MIPMAP_LINEAR);
        EXPECT_EQ(texture_parameter(GL_TEXTURE_2D, texture, GL_TEXTURE_WRAP_S), GL_CLAMP_TO_EDGE);
        const std::vector<float> smallest = read_texture(GL_TEXTURE_2D, texture, 4);
        ASSERT_EQ(smallest.size(), 4u);
        EXPECT_NEAR(smallest[0], 0.5f, 2e-3);
        qvsdk::release_texture(*thread, texture);
        if (copying) {
            EXPECT_EQ(copying->linked_images(), linked_before) << "the upload's image is let go";
        }
    }
}

TEST_F(Layers, NullPixelsGiveNoTexture)
{
    qvsdk::pixel_buffer empty;
    empty.width = empty.height = 4;
    empty.bytes_per_channel = 1;
    empty.row_bytes = 16;
    EXPECT_EQ(qvsdk::load_layer_texture(*thread, empty), 0u);
    EXPECT_EQ(qvsdk::build_environment(*thread, 0), 0u);
}

TEST_F(Layers, EnvironmentCubeFacesLookTheRightWayAndStopAtLevelSix)
{
    // Longitude s below 0.5 red, above it green.
    host_image layer(64, 32, 4);
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 64; ++x) {
            const float red[4] = {1, 1, 0, 0}, green[4] = {1, 0, 1, 0};
            layer.set(x, y, x < 32 ? red : green);
        }
    }
    const unsigned source = qvsdk::load_layer_texture(*thread, layer.buffer());
    const unsigned cube = qvsdk::build_environment(*thread, source);
    qvsdk::release_texture(*thread, source);
    ASSERT_NE(cube, 0u);
    EXPECT_EQ(texture_parameter(GL_TEXTURE_CUBE_MAP, cube, GL_TEXTURE_MAX_LEVEL), 6);
    EXPECT_EQ(texture_parameter(GL_TEXTURE_CUBE_MAP, cube, GL_TEXTURE_MIN_FILTER),
              GL_LINEAR_MIPMAP_LINEAR);

    // +X looks at s = 0.75, −X at s = 0.25.
    const std::vector<float> plus_x =
        read_texture(GL_TEXTURE_CUBE_MAP, cube, 0, GL_TEXTURE_CUBE_MAP_POSITIVE_X);
    const std::vector<float> minus_x =
        read_texture(GL_TEXTURE_CUBE_MAP, cube, 0, GL_TEXTURE_CUBE_MAP_NEGATIVE_X);
    ASSERT_EQ(plus_x.size(), 512u * 512 * 4);
    const size_t centre = (256u * 512 + 256) * 4;
    EXPECT_NEAR(plus_x[centre + 1], 1.0f, 1e-2);
    EXPECT_NEAR(plus_x[centre + 0], 0.0f, 1e-2);
    EXPECT_NEAR(minus_x[centre + 0], 1.0f, 1e-2);
    EXPECT_NEAR(minus_x[centre + 1], 0.0f, 1e-2);

    // The blurred levels spread both colours but keep each face's own leaning.
    const std::vector<float> blurred =
        read_texture(GL_TEXTURE_CUBE_MAP, cube, 6, GL_TEXTURE_CUBE_MAP_POSITIVE_X);
    ASSERT_EQ(blurred.size(), 8u * 8 * 4);
    const float* middle = &blurred[(4 * 8 + 4) * 4];
    EXPECT_GT(middle[1], middle[0]);
    EXPECT_GT(middle[0], 0.0f);
    EXPECT_NEAR(middle[0] + middle[1], 1.0f, 0.02f);
    qvsdk::release_texture(*thread, cube);
}

TEST_F(Layers, BumpLayerBecomesATangentSpaceNormalMap)
{
    // A flat grey layer, and one growing brighter to the right by 1 a texel.
    host_image flat(8, 8, 4), ramp(8, 8, 4);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            const float grey[4] = {1, 0.5f, 0.5f, 0.5f};
            const float v = static_cast<float>(x);
            const float rising[4] = {1, v, v, v};
            flat.set(x, y, grey);
            ramp.set(x, y, rising);
        }
    }
    host_image frame_image(8, 8, 1);
    qvsdk::render_data frame = frame_for(frame_image);
    qvsdk::set_render_size(*thread, 0, frame);

    const unsigned flat_source = qvsdk::load_layer_texture(*thread, flat.buffer());
    const unsigned flat_normals = qvsdk::bump_to_normal(*thread, flat_source, 8, 8);
    std::vector<float> texels = read_texture(GL_TEXTURE_2D, flat_normals, 0);
    for (size_t i = 0; i < texels.size(); i += 4) {
        ASSERT_NEAR(texels[i + 0], 0.5f, 1e-3);
        ASSERT_NEAR(texels[i + 1], 0.5f, 1e-3);
        ASSERT_NEAR(texels[i + 2], 1.0f, 1e-3);
        ASSERT_EQ(texels[i + 3], 1.0f);
    }
    EXPECT_EQ(texture_parameter(GL_TEXTURE_2D, flat_normals, GL_TEXTURE_WRAP_T), GL_REPEAT);

    const unsigned ramp_source = qvsdk::load_layer_texture(*thread, ramp.buffer());
    for (float inverse_downsample : {1.0f, 2.0f}) {
        frame.inverse_downsample_x = frame.inverse_downsample_y = inverse_downsample;
        qvsdk::set_render_size(*thread, 0, frame);
        const unsigned normals = qvsdk::bump_to_normal(*thread, ramp_source, 8, 8);
        texels = read_texture(GL_TEXTURE_2D, normals, 0);
        const float gx = -8.0f / inverse_downsample;
        const float length = std::sqrt(gx * gx + 0.25f);
        const float* inner = &texels[(4 * 8 + 4) * 4];
        EXPECT_NEAR(inner[0], (gx / length + 1) * 0.5f, 2e-3) << inverse_downsample;
        EXPECT_NEAR(inner[1], 0.5f, 2e-3);
        EXPECT_NEAR(inner[2], (0.5f / length + 1) * 0.5f, 2e-3) << inverse_downsample;
        qvsdk::release_texture(*thread, normals);
    }
    for (unsigned texture : {flat_source, flat_normals, ramp_source})
        qvsdk::release_texture(*thread, texture);
}
