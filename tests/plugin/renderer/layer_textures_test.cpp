// Layers into textures: the conversion of each host depth, environment cube maps
// and normal maps from height layers, read back from the GPU.
#include "frame_fixture.h"
#include "png_file.h"
#include "shading_reference.h"

#include "plugin/renderer/cl_device_list.h"
#include "plugin/renderer/copying_gl_sharing.h"
#include "plugin/renderer/render_jobs.h"
#include "plugin/renderer/render_thread.h"
#include "plugin/renderer/renderer.h"

#include <gtest/gtest.h>

#include <GL/glew.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
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

    // RGBA float texels (rows from the texture's first) as a PNG in the test's output folder.
    static void save_texels(const std::string& name, int width, int height,
                            const std::vector<float>& texels)
    {
        std::vector<std::uint8_t> rgba(texels.size());
        for (std::size_t i = 0; i < texels.size(); ++i)
            rgba[i] = static_cast<std::uint8_t>(
                std::lround(std::fmin(std::fmax(texels[i], 0.0f), 1.0f) * 255.0f));
        write_png(test_output_path(name + ".png"), width, height, rgba);
    }

    static qvsdk::RenderThread* thread;
};

qvsdk::RenderThread* Layers::thread = nullptr;

} // namespace

TEST_F(Layers, EachHostDepthBecomesRgbaFloatsWithoutScalingToOne)
{
    unsigned texture = 0;
    std::vector<float> texels;
    // Extremes and middles of each depth in every channel position: alpha, red,
    // green, blue in memory become red, green, blue, alpha; 16 bits divide by 32767
    // (the host's full 32768 comes out slightly above 1) and 8 bits by 255, nothing
    // clamped; rows are padded.
    struct depth_case {
        int bytes;
        std::vector<double> values;
        double divisor;
    };
    const depth_case depths[] = {{1, {0, 1, 127, 128, 254, 255}, 255.0},
                                 {2, {0, 1, 8192, 16384, 32767, 32768, 65535}, 32767.0}};
    for (const depth_case& d : depths) {
        const int count = static_cast<int>(d.values.size());
        host_image table(count, 4, d.bytes, 3);
        for (int y = 0; y < 4; ++y) {
            for (int x = 0; x < count; ++x) {
                for (int c = 0; c < 4; ++c) {
                    // Value x in channel y, its neighbours' values in the others.
                    const double v = d.values[static_cast<std::size_t>((x + (c == y ? 0 : c + 1)) % count)];
                    std::uint8_t* at = table.bytes.data() + y * table.row_bytes +
                                       (x * 4 + c) * d.bytes;
                    if (d.bytes == 1) {
                        *at = static_cast<std::uint8_t>(v);
                    } else {
                        const auto wide16 = static_cast<std::uint16_t>(v);
                        std::memcpy(at, &wide16, 2);
                    }
                }
            }
        }
        texture = qvsdk::load_layer_texture(*thread, table.buffer());
        texels = read_texture(GL_TEXTURE_2D, texture, 0);
        ASSERT_EQ(texels.size(), static_cast<std::size_t>(count) * 4 * 4);
        for (int y = 0; y < 4; ++y) {
            for (int x = 0; x < count; ++x) {
                for (int c = 0; c < 4; ++c) {
                    const double v = d.values[static_cast<std::size_t>((x + (c == y ? 0 : c + 1)) % count)];
                    const double expected = v / d.divisor;
                    // Memory order a, r, g, b lands as r, g, b, a.
                    const float got = texels[(static_cast<std::size_t>(y) * count + x) * 4 + (c + 3) % 4];
                    if (v == 0 || (d.bytes == 1 && v == 255))
                        EXPECT_EQ(got, float(expected)) << d.bytes << " bytes, value " << v << " in channel " << c;
                    else
                        EXPECT_NEAR(got, expected, 1e-3 * std::fmax(1.0, expected))
                            << d.bytes << " bytes, value " << v << " in channel " << c;
                }
            }
        }
        qvsdk::release_texture(*thread, texture);
    }

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

    // Height rising by 1 a texel to the right and by 2 a texel downward (toward
    // later rows): gx = 8 and gy = 16, so n = normalize(-8, -16, 0.5) at full size.
    host_image slope(8, 8, 4);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            const float v = static_cast<float>(x + 2 * y);
            const float rising[4] = {1, v, v, v};
            slope.set(x, y, rising);
        }
    }
    const unsigned slope_source = qvsdk::load_layer_texture(*thread, slope.buffer());
    frame.inverse_downsample_x = frame.inverse_downsample_y = 1.0f;
    qvsdk::set_render_size(*thread, 0, frame);
    const unsigned slope_normals = qvsdk::bump_to_normal(*thread, slope_source, 8, 8);
    texels = read_texture(GL_TEXTURE_2D, slope_normals, 0);
    save_texels("normal_map_slope", 8, 8, texels);
    const double n[3] = {-8, -16, 0.5};
    const double length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
    // Texels two or more from the border: the filter may blend in level 1, which
    // keeps a ramp a ramp only away from the clamped edge.
    for (int y = 2; y < 6; ++y) {
        for (int x = 2; x < 6; ++x) {
            const float* texel = &texels[(static_cast<std::size_t>(y) * 8 + x) * 4];
            for (int c = 0; c < 3; ++c)
                EXPECT_NEAR(texel[c], (n[c] / length + 1) * 0.5, 2e-3)
                    << x << ", " << y << " channel " << c;
        }
    }
    for (unsigned texture : {flat_source, flat_normals, ramp_source, slope_source, slope_normals})
        qvsdk::release_texture(*thread, texture);
}

TEST_F(Layers, CubeFacesFollowTheFaceTable)
{
    const unsigned cube = qvtest::environment_cube(*thread, 256, 128, qvtest::direction_colour);
    ASSERT_NE(cube, 0u);
    const qvtest::cube_level top = read_cube_level(*thread, cube, 0);
    ASSERT_EQ(top.size, 512);
    const char* names[6] = {"pos_x", "neg_x", "pos_y", "neg_y", "pos_z", "neg_z"};

    // Each face's texel (u, v) shows the layer where the table's direction points.
    const double points[][2] = {{0.5, 0.5}, {0.2, 0.7}, {0.85, 0.3}};
    for (int face = 0; face < 6; ++face) {
        save_texels(std::string("cube_direction_") + names[face], 512, 512, top.faces[face]);
        for (const auto& point : points) {
            const int x = static_cast<int>(point[0] * 512), y = static_cast<int>(point[1] * 512);
            const qvtest::vec3d d =
                unit(qvtest::cube_face_direction(face, (x + 0.5) / 512, (y + 0.5) / 512));
            const float* texel = &top.faces[face][(static_cast<std::size_t>(y) * 512 + x) * 4];
            // At a pole the longitude's gradient grows without bound, so the centres of
            // +Y and -Y read a blurred level of the layer: only their height is exact.
            const bool pole = (face == 2 || face == 3) && point[0] == 0.5;
            for (int c = pole ? 1 : 0; c < (pole ? 2 : 3); ++c)
                EXPECT_NEAR(texel[c], (d[c] + 1) / 2, pole ? 0.02 : 0.01)
                    << names[face] << " at " << x << ", " << y << " channel " << c;
        }
    }
    // The centre of +Z, direction (0, 0, 1), reads the layer at s = t = 0.5: longitude
    // 0 and latitude 0, the colour of (0, 0, 1).
    const float* centre = &top.faces[4][(256u * 512 + 256) * 4];
    const qvtest::rgba middle = direction_colour({0, 0, 1});
    for (int c = 0; c < 3; ++c)
        EXPECT_NEAR(centre[c], middle[c], 0.005) << c;
    qvsdk::release_texture(*thread, cube);
}

TEST_F(Layers, EachPrefilterLevelFiltersTheLevelAboveWithItsSampleRow)
{
    const unsigned cube = qvtest::environment_cube(*thread, 512, 256, qvtest::striped_colour);
    ASSERT_NE(cube, 0u);

    qvtest::cube_level above = read_cube_level(*thread, cube, 0);
    for (int level = 1; level <= 6; ++level) {
        const qvtest::cube_level filtered = read_cube_level(*thread, cube, level);
        ASSERT_EQ(filtered.size, 512 >> level);
        save_texels("prefiltered_pos_z_level_" + std::to_string(level), filtered.size,
                    filtered.size, filtered.faces[4]);
        const int n = filtered.size;
        const int texels[][3] = {{4, n / 2, n / 2}, {4, n / 4, n / 3}, {0, n / 2, n / 2},
                                 {3, n / 3, n / 2}, {1, n * 3 / 4, n / 4}};
        for (const auto& at : texels) {
            const int face = at[0], x = at[1], y = at[2];
            const qvtest::vec3d normal =
                unit(qvtest::cube_face_direction(face, (x + 0.5) / n, (y + 0.5) / n));
            const qvtest::vec3d up = std::fabs(normal[2]) < 0.999 ? qvtest::vec3d{0, 0, 1}
                                                                  : qvtest::vec3d{1, 0, 0};
            const qvtest::vec3d tangent = unit(cross(up, normal));
            const qvtest::vec3d bitangent = cross(normal, tangent);
            double sum[4] = {}, weight = 0;
            for (int i = 0; i < 512; ++i) {
                const qvtest::vec3d p = qvtest::ggx_sample(level - 1, i);
                qvtest::vec3d h{}, l{};
                for (int k = 0; k < 3; ++k)
                    h[k] = tangent[k] * p[0] + bitangent[k] * p[1] + normal[k] * p[2];
                for (int k = 0; k < 3; ++k)
                    l[k] = 2 * dot(normal, h) * h[k] - normal[k];
                const double q = dot(l, normal);
                if (q <= 0)
                    continue;
                const qvtest::rgba c = above.lookup(l);
                for (int k = 0; k < 4; ++k)
                    sum[k] += c[k] * q;
                weight += q;
            }
            const float* texel = &filtered.faces[face][(static_cast<std::size_t>(y) * n + x) * 4];
            for (int c = 0; c < 4; ++c)
                EXPECT_NEAR(texel[c], sum[c] / weight, 0.006 + 0.01 * std::fabs(sum[c] / weight))
                    << "level " << level << " face " << face << " at " << x << ", " << y
                    << " channel " << c;
        }
        above = filtered;
    }
    qvsdk::release_texture(*thread, cube);
}
