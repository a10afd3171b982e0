#include "plugin/light_properties.h"
#include "plugin/material_properties.h"
#include "plugin/pixel_buffer.h"
#include "plugin/render_data.h"
#include "plugin/render_properties.h"
#include "plugin/renderer/model_ref.h"
#include "plugin/scene_properties.h"

#include <gtest/gtest.h>

#include <cstring>
#include <new>

using namespace qvsdk;

namespace {

// Default-constructs T over storage full of garbage, as a member would be.
template <typename T>
struct on_garbage {
    alignas(T) unsigned char storage[sizeof(T)];
    T* value;
    on_garbage()
    {
        std::memset(storage, 0xA5, sizeof storage);
        value = new (storage) T;
    }
    ~on_garbage() { value->~T(); }
};

} // namespace

// A zero model_ref is how an upload that never ran reports itself, and a zero
// texture id is how a material says "no map"; neither may depend on who zeroed.
TEST(RenderRecords, DefaultRecordsMeanNothingUploadedAndNoMaps)
{
    on_garbage<model_ref> model;
    EXPECT_EQ(model.value->vertex_array, 0u);
    EXPECT_EQ(model.value->vertex_buffer, 0u);
    EXPECT_EQ(model.value->index_buffer, 0u);
    EXPECT_EQ(model.value->index_count, 0u);

    on_garbage<scene_properties> scene;
    const material_properties& m = scene.value->material;
    EXPECT_EQ(m.diffuse_texture, 0u);
    EXPECT_EQ(m.glossiness_texture, 0u);
    EXPECT_EQ(m.illumination_texture, 0u);
    EXPECT_EQ(m.environment_texture, 0u);
    EXPECT_EQ(m.normal_texture, 0u);
    EXPECT_TRUE(scene.value->lights.empty());

    on_garbage<render_data> frame;
    EXPECT_EQ(frame.value->output.pixels, nullptr);
    EXPECT_EQ(frame.value->output.row_bytes, 0);
}

