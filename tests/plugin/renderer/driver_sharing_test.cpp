// The renderer on the driver's sharing path. The machine's OpenCL offers no OpenGL
// sharing, so the seam answers as a sharing driver would: it reports the real
// device as a GPU sharing the context, and behind the sharing calls it copies
// between texture and image. The log shows each kernel between acquire and
// release; a kernel outside them would also read or leave stale pixels.
// Its own executable: the path is announced once a process.
#include "frame_fixture.h"

#include "plugin/renderer/cl_api.h"
#include "plugin/renderer/copying_gl_sharing.h"
#include "plugin/renderer/render_jobs.h"
#include "plugin/renderer/render_thread.h"
#include "plugin/renderer/renderer.h"

#include <gtest/gtest.h>

#include <GL/glew.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

using namespace qvtest;

namespace {

class sharing_driver_api final : public qvsdk::cl_api {
public:
    qvsdk::cl_api& real = qvsdk::system_cl_api();
    // Listed first, offering no sharing: it must be passed over.
    cl_platform_id other = reinterpret_cast<cl_platform_id>(std::uintptr_t{0x5100});
    cl_platform_id platform = nullptr;
    cl_device_id device = nullptr;
    std::vector<std::string> log;
    std::vector<std::string> announcements;
    std::vector<cl_context_properties> context_properties;

    sharing_driver_api()
    {
        real.platform_ids(1, &platform, nullptr);
        real.device_ids(platform, CL_DEVICE_TYPE_ALL, 1, &device, nullptr);
    }

    cl_int platform_ids(cl_uint count, cl_platform_id* ids, cl_uint* available) override
    {
        if (available)
            *available = 2;
        if (ids && count >= 2) {
            ids[0] = other;
            ids[1] = platform;
        }
        return CL_SUCCESS;
    }
    cl_int platform_info(cl_platform_id p, cl_platform_info what, size_t size, void* value,
                         size_t* size_returned) override
    {
        EXPECT_EQ(p, platform);
        return real.platform_info(p, what, size, value, size_returned);
    }
    cl_int device_ids(cl_platform_id p, cl_device_type type, cl_uint count, cl_device_id* ids,
                      cl_uint* available) override
    {
        return real.device_ids(p, type, count, ids, available);
    }
    cl_int device_info(cl_device_id d, cl_device_info what, size_t size, void* value,
                       size_t* size_returned) override
    {
        if (what == CL_DEVICE_TYPE && value) {
            const cl_device_type gpu = CL_DEVICE_TYPE_GPU;
            *static_cast<cl_device_type*>(value) = gpu;
            return CL_SUCCESS;
        }
        return real.device_info(d, what, size, value, size_returned);
    }
    bool offers_gl_sharing(cl_platform_id p) override { return p == platform; }
    cl_int current_gl_device(cl_platform_id p, const cl_context_properties*,
                             cl_device_id* d) override
    {
        EXPECT_EQ(p, platform);
        *d = device;
        return CL_SUCCESS;
    }
    cl_context create_context(const cl_context_properties* properties, cl_device_id d,
                              cl_int* error) override
    {
        for (const cl_context_properties* at = properties; *at; at += 2)
            context_properties.insert(context_properties.end(), at, at + 2);
        // The real driver takes no OpenGL properties.
        const cl_context_properties plain[] = {
            CL_CONTEXT_PLATFORM, reinterpret_cast<cl_context_properties>(platform), 0};
        return real.create_context(plain, d, error);
    }
    cl_command_queue create_queue(cl_context context, cl_device_id d, cl_int* error) override
    {
        return real.create_queue(context, d, error);
    }
    std::string gl_vendor() override { return "Mesa"; }
    cl_context_properties current_gl_context() override { return real.current_gl_context(); }
    cl_context_properties current_gl_dc() override { return real.current_gl_dc(); }

    cl_mem create_from_gl_texture(cl_context context, cl_mem_flags flags, cl_GLenum target,
                                  cl_GLint level, cl_GLuint texture, cl_int* error) override
    {
        cl_mem image = copier.create_image(context, flags, target, level, texture, error);
        log.push_back("create " + std::to_string(texture) + " " + flag_name(flags) + " as " +
                      name_of(image));
        return image;
    }
    cl_int acquire_gl_object(cl_command_queue queue, cl_mem image) override
    {
        log.push_back("acquire " + name_of(image));
        return copier.acquire(queue, image);
    }
    cl_int release_gl_object(cl_command_queue queue, cl_mem image) override
    {
        log.push_back("release " + name_of(image));
        return copier.release(queue, image);
    }
    void release_mem_object(cl_mem image) override
    {
        log.push_back("free " + name_of(image));
        copier.release_image(image);
    }
    void debug_output(const char* text) override { announcements.push_back(text); }
    cl_int run_kernel(cl_command_queue queue, cl_kernel kernel, size_t width,
                      size_t height) override
    {
        log.push_back("kernel");
        return real.run_kernel(queue, kernel, width, height);
    }

    // Image handles by the order they were made: i0, i1, ...
    std::string name_of(cl_mem image)
    {
        for (std::size_t i = 0; i < images.size(); ++i)
            if (images[i] == image)
                return "i" + std::to_string(i);
        images.push_back(image);
        return "i" + std::to_string(images.size() - 1);
    }

private:
    static std::string flag_name(cl_mem_flags flags)
    {
        return flags == CL_MEM_READ_WRITE  ? "rw"
               : flags == CL_MEM_WRITE_ONLY ? "w"
               : flags == CL_MEM_READ_ONLY  ? "r"
                                            : "?";
    }

    qvsdk::copying_gl_sharing copier;
    std::vector<cl_mem> images;
};

GLuint bound_texture_of(qvsdk::RenderThread& thread, unsigned texture, float* first_texel)
{
    thread.submit([&] {
        glBindTexture(GL_TEXTURE_2D, texture);
        std::vector<float> texels(4 * 4 * 4);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_FLOAT, texels.data());
        for (int c = 0; c < 4; ++c)
            first_texel[c] = texels[c];
        glBindTexture(GL_TEXTURE_2D, 0);
    });
    return texture;
}

} // namespace

TEST(DriverSharing, RendererMakesAndHoldsSharedImagesAroundEachKernel)
{
    sharing_driver_api api;
    ASSERT_NE(api.device, nullptr);
    {
        qvsdk::RendererProxy proxy(std::make_unique<qvsdk::RenderThread>(
            [&api] { return std::make_unique<qvsdk::Renderer>(api); }));
        proxy.load_sphere_model();
        qvsdk::RenderThread& thread = proxy.render_thread();
        ASSERT_NE(thread.renderer(), nullptr);
        EXPECT_EQ(api.announcements, std::vector<std::string>{"OpenCL: driver OpenGL sharing\n"});

        // The sharing platform, with the current OpenGL context and device context.
        ASSERT_EQ(api.context_properties.size(), 6u);
        EXPECT_EQ(api.context_properties[0], CL_GL_CONTEXT_KHR);
        EXPECT_NE(api.context_properties[1], 0);
        EXPECT_EQ(api.context_properties[2], CL_WGL_HDC_KHR);
        EXPECT_EQ(api.context_properties[4], CL_CONTEXT_PLATFORM);
        EXPECT_EQ(api.context_properties[5], reinterpret_cast<cl_context_properties>(api.platform));

        // A layer: one write-only image of the new texture, held around the kernel.
        host_image layer(4, 4, 1);
        const float argb[4] = {1.0f, 0.2f, 0.6f, 1.0f};
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x)
                layer.set(x, y, argb);
        const unsigned texture = qvsdk::load_layer_texture(thread, layer.buffer());
        ASSERT_NE(texture, 0u);
        EXPECT_EQ(api.log, (std::vector<std::string>{"create " + std::to_string(texture) + " w as i0",
                                                     "acquire i0", "kernel", "release i0",
                                                     "free i0"}));
        float texel[4];
        bound_texture_of(thread, texture, texel);
        EXPECT_NEAR(texel[0], 51.0f / 255, 1e-3);
        EXPECT_NEAR(texel[1], 153.0f / 255, 1e-3);
        EXPECT_NEAR(texel[2], 1.0f, 1e-3);
        qvsdk::release_texture(thread, texture);

        // A frame: the accumulation image is made with the buffers and held around
        // the output kernel.
        api.log.clear();
        host_image image(32, 32, 1);
        render_frame(proxy, image, 0, {plain_scene(32, 32, 12.0f)});
        ASSERT_EQ(api.log.size(), 4u);
        EXPECT_EQ(api.log[0].rfind("create ", 0), 0u);
        EXPECT_NE(api.log[0].find(" rw as "), std::string::npos);
        const std::string accumulation = api.log[0].substr(api.log[0].rfind(' ') + 1);
        EXPECT_EQ(api.log[1], "acquire " + accumulation);
        EXPECT_EQ(api.log[2], "kernel");
        EXPECT_EQ(api.log[3], "release " + accumulation);
        EXPECT_EQ(image.channel(16, 16, 0), 1.0f);
        EXPECT_EQ(image.channel(16, 16, 1), 1.0f);
        EXPECT_EQ(image.channel(1, 1, 0), 0.0f);

        // A second frame of the same size reuses the image.
        api.log.clear();
        render_frame(proxy, image, 0, {plain_scene(32, 32, 12.0f)});
        EXPECT_EQ(api.log, (std::vector<std::string>{"acquire " + accumulation, "kernel",
                                                     "release " + accumulation}));
    }
    // A second renderer in the same process does not announce the path again.
    qvsdk::RenderThread again([&api] { return std::make_unique<qvsdk::Renderer>(api); });
    again.submit([] {});
    EXPECT_EQ(api.announcements.size(), 1u);
}
