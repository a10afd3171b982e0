// Device choice against scripted platform answers; a chosen device gets a real
// context on the machine's first OpenCL device, so the list can own it.
#include "plugin/renderer/cl_api.h"
#include "plugin/renderer/cl_device_list.h"
#include "plugin/renderer/driver_gl_sharing.h"

#include <gtest/gtest.h>

#include <CL/cl_gl.h>

#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

using namespace qvsdk;

namespace {

template <typename T>
T fake_id(std::uintptr_t n)
{
    return reinterpret_cast<T>(n * 0x100);
}

struct fake_device {
    cl_device_id id;
    cl_device_type type;
    std::string name;
};

struct fake_platform {
    cl_platform_id id;
    std::string vendor;
    std::string name;
    bool sharing = true;
    // The device that shares the OpenGL context; null when the query fails.
    cl_device_id gl_device = nullptr;
    std::vector<fake_device> devices;
    bool vendor_query_fails = false;
};

class scripted_api final : public cl_api {
public:
    std::vector<fake_platform> platforms;
    std::string vendor = "NVIDIA Corporation";
    bool count_fails = false;
    bool ids_fail = false;
    std::vector<cl_device_id> refuse_context;  // context creation fails for these
    std::vector<cl_device_id> contexts_asked;

    ~scripted_api() override
    {
        for (cl_context c : made)
            clReleaseContext(c);
    }

    cl_int platform_ids(cl_uint count, cl_platform_id* ids, cl_uint* available) override
    {
        if (!ids) {
            if (count_fails)
                return CL_OUT_OF_HOST_MEMORY;
            *available = static_cast<cl_uint>(platforms.size());
            return CL_SUCCESS;
        }
        if (ids_fail)
            return CL_OUT_OF_HOST_MEMORY;
        for (cl_uint i = 0; i < count && i < platforms.size(); ++i)
            ids[i] = platforms[i].id;
        return CL_SUCCESS;
    }
    cl_int platform_info(cl_platform_id platform, cl_platform_info what, size_t size, void* value,
                         size_t*) override
    {
        const fake_platform& p = find(platform);
        if (what == CL_PLATFORM_VENDOR && p.vendor_query_fails)
            return CL_INVALID_VALUE;
        const std::string& text = what == CL_PLATFORM_VENDOR ? p.vendor : p.name;
        std::strncpy(static_cast<char*>(value), text.c_str(), size);
        return CL_SUCCESS;
    }
    cl_int device_ids(cl_platform_id platform, cl_device_type type, cl_uint count,
                      cl_device_id* ids, cl_uint* available) override
    {
        std::vector<cl_device_id> matching;
        for (const fake_device& d : find(platform).devices)
            if (d.type == type)
                matching.push_back(d.id);
        if (matching.empty())
            return CL_DEVICE_NOT_FOUND;
        if (available)
            *available = static_cast<cl_uint>(matching.size());
        for (cl_uint i = 0; ids && i < count && i < matching.size(); ++i)
            ids[i] = matching[i];
        return CL_SUCCESS;
    }
    cl_int device_info(cl_device_id device, cl_device_info what, size_t size, void* value,
                       size_t* size_returned) override
    {
        const fake_device& d = find_device(device);
        if (what == CL_DEVICE_TYPE) {
            std::memcpy(value, &d.type, sizeof(d.type));
            return CL_SUCCESS;
        }
        if (size_returned)
            *size_returned = d.name.size() + 1;
        if (value)
            std::strncpy(static_cast<char*>(value), d.name.c_str(), size);
        return CL_SUCCESS;
    }
    bool offers_gl_sharing(cl_platform_id platform) override { return find(platform).sharing; }
    cl_int current_gl_device(cl_platform_id platform, const cl_context_properties* properties,
                             cl_device_id* device) override
    {
        EXPECT_EQ(properties[0], CL_GL_CONTEXT_KHR);
        EXPECT_EQ(properties[2], CL_WGL_HDC_KHR);
        EXPECT_EQ(properties[4], CL_CONTEXT_PLATFORM);
        EXPECT_EQ(properties[5], reinterpret_cast<cl_context_properties>(platform));
        *device = find(platform).gl_device;
        return *device ? CL_SUCCESS : CL_INVALID_GL_SHAREGROUP_REFERENCE_KHR;
    }
    cl_context create_context(const cl_context_properties*, cl_device_id device,
                              cl_int* error) override
    {
        contexts_asked.push_back(device);
        for (cl_device_id refused : refuse_context) {
            if (refused == device) {
                *error = CL_DEVICE_NOT_AVAILABLE;
                return nullptr;
            }
        }
        cl_context context = clCreateContext(nullptr, 1, &real_device(), nullptr, nullptr, error);
        made.push_back(context);
        clRetainContext(context);  // one reference for the list, one for us
        return context;
    }
    cl_command_queue create_queue(cl_context context, cl_device_id, cl_int* error) override
    {
        return clCreateCommandQueue(context, real_device(), 0, error);
    }
    std::string gl_vendor() override { return vendor; }
    cl_context_properties current_gl_context() override { return 0x1234; }
    cl_context_properties current_gl_dc() override { return 0x5678; }
    // The sharing calls, recorded by name and handle.
    cl_mem create_from_gl_texture(cl_context, cl_mem_flags, cl_GLenum, cl_GLint, cl_GLuint texture,
                                  cl_int* error) override
    {
        sharing_calls.push_back("create " + std::to_string(texture));
        *error = CL_SUCCESS;
        return fake_id<cl_mem>(texture);
    }
    cl_int acquire_gl_object(cl_command_queue, cl_mem image) override
    {
        sharing_calls.push_back("acquire " + std::to_string(reinterpret_cast<std::uintptr_t>(image)));
        return CL_SUCCESS;
    }
    cl_int release_gl_object(cl_command_queue, cl_mem image) override
    {
        sharing_calls.push_back("release " + std::to_string(reinterpret_cast<std::uintptr_t>(image)));
        return CL_SUCCESS;
    }
    void release_mem_object(cl_mem image) override
    {
        sharing_calls.push_back("free " + std::to_string(reinterpret_cast<std::uintptr_t>(image)));
    }
    void debug_output(const char*) override {}
    std::vector<std::string> sharing_calls;

private:
    const fake_platform& find(cl_platform_id id) const
    {
        for (const fake_platform& p : platforms)
            if (p.id == id)
                return p;
        throw std::logic_error("unknown platform");
    }
    const fake_device& find_device(cl_device_id id) const
    {
        for (const fake_platform& p : platforms)
            for (const fake_device& d : p.devices)
                if (d.id == id)
                    return d;
        throw std::logic_error("unknown device");
    }
    cl_device_id& real_device()
    {
        if (!real) {
            cl_platform_id platform = nullptr;
            clGetPlatformIDs(1, &platform, nullptr);
            clGetDeviceIDs(platform, CL_DEVICE_TYPE_ALL, 1, &real, nullptr);
        }
        return real;
    }

    cl_device_id real = nullptr;
    std::vector<cl_context> made;
};

fake_platform gpu_platform(std::uintptr_t n, std::string vendor, std::string name = "Platform")
{
    fake_platform p;
    p.id = fake_id<cl_platform_id>(n);
    p.vendor = std::move(vendor);
    p.name = std::move(name);
    p.gl_device = fake_id<cl_device_id>(n + 100);
    p.devices = {{p.gl_device, CL_DEVICE_TYPE_GPU, "GPU " + std::to_string(n)}};
    return p;
}

std::string failure_of(cl_api& api)
{
    try {
        cl_device_list list(api);
    } catch (const std::runtime_error& e) {
        return e.what();
    }
    return "no failure";
}

class ClDeviceList : public ::testing::Test {
protected:
    void TearDown() override { set_copying_gl_sharing_enabled(true); }
    scripted_api api;
};

} // namespace

TEST(GlVendorClass, FirstMatchingWordWinsAndAtiMatchesAnywhere)
{
    EXPECT_EQ(gl_vendor_class("NVIDIA Corporation"), vendor_nvidia);
    EXPECT_EQ(gl_vendor_class("Intel"), vendor_intel);
    EXPECT_EQ(gl_vendor_class("ATI Technologies Inc."), vendor_amd);
    EXPECT_EQ(gl_vendor_class("Advanced Micro Devices, Inc."), vendor_amd);
    // Any text with "ati" in it and neither earlier word counts as AMD.
    EXPECT_EQ(gl_vendor_class("Microsoft Corporation"), vendor_amd);
    EXPECT_EQ(gl_vendor_class("Mesa"), vendor_other);
    EXPECT_EQ(gl_vendor_class(""), vendor_other);

    EXPECT_TRUE(platform_in_vendor_class("NVIDIA CUDA", vendor_nvidia));
    EXPECT_FALSE(platform_in_vendor_class("Intel(R) OpenCL", vendor_nvidia));
    EXPECT_TRUE(platform_in_vendor_class("Advanced Micro Devices, Inc.", vendor_amd));
    EXPECT_TRUE(platform_in_vendor_class("anything", vendor_other));
}

TEST_F(ClDeviceList, ReportsMissingPlatforms)
{
    EXPECT_EQ(failure_of(api), "no OpenCL platforms available");
    api.platforms = {gpu_platform(1, "NVIDIA")};
    api.count_fails = true;
    EXPECT_EQ(failure_of(api), "no OpenCL platforms available");
    api.count_fails = false;
    api.ids_fail = true;
    EXPECT_EQ(failure_of(api), "error getting OpenCL platform ids");
}

TEST_F(ClDeviceList, SinglePlatformNeedsNoVendorMatch)
{
    api.platforms = {gpu_platform(1, "Intel(R) Corporation")};
    cl_device_list list(api);
    ASSERT_NE(list.selected, nullptr);
    EXPECT_EQ(list.selected->platform, api.platforms[0].id);
    EXPECT_EQ(list.selected->device, api.platforms[0].gl_device);
    EXPECT_EQ(list.selected->name, "GPU 1");
    EXPECT_EQ(list.selected->type, static_cast<cl_device_type>(CL_DEVICE_TYPE_GPU));
    EXPECT_NE(list.selected->queue.get(), nullptr);
}

TEST_F(ClDeviceList, OtherVendorsPlatformIsSkippedEvenWhenListedFirstAndTheNameMayMatch)
{
    const std::pair<const char*, const char*> second[] = {{"NVIDIA Corporation", "Platform"},
                                                          {"Some Vendor", "NVIDIA CUDA"}};
    for (const auto& [vendor, name] : second) {
        SCOPED_TRACE(vendor);
        api.contexts_asked.clear();
        api.platforms = {gpu_platform(1, "Intel(R) Corporation"), gpu_platform(2, vendor, name)};
        cl_device_list list(api);
        EXPECT_EQ(list.selected->platform, api.platforms[1].id);
        EXPECT_EQ(api.contexts_asked, std::vector<cl_device_id>{api.platforms[1].gl_device});
    }
}

TEST_F(ClDeviceList, SkipsDevicesOtherThanAGpuAndPlatformsWithoutAnAnswer)
{
    api.platforms = {gpu_platform(1, "NVIDIA"), gpu_platform(2, "NVIDIA"), gpu_platform(3, "NVIDIA"),
                     gpu_platform(4, "NVIDIA"), gpu_platform(5, "NVIDIA")};
    api.platforms[0].devices[0].type = CL_DEVICE_TYPE_CPU;
    api.platforms[3].devices[0].type = CL_DEVICE_TYPE_ACCELERATOR;
    api.platforms[4].devices[0].type = CL_DEVICE_TYPE_DEFAULT;
    api.platforms[1].gl_device = nullptr;
    api.platforms[2].vendor_query_fails = true;
    EXPECT_EQ(failure_of(api), "no valid OpenCL/OpenGL interop device\n");
    EXPECT_TRUE(api.contexts_asked.empty());
}

TEST_F(ClDeviceList, FailedContextMovesOnToTheNextPlatform)
{
    api.platforms = {gpu_platform(1, "NVIDIA"), gpu_platform(2, "NVIDIA")};
    api.refuse_context = {api.platforms[0].gl_device};
    cl_device_list list(api);
    EXPECT_EQ(list.selected->platform, api.platforms[1].id);
    EXPECT_EQ(list.devices.size(), 1u);
}

TEST_F(ClDeviceList, WithoutAnySharingTheStandInTakesAGpuBeforeACpu)
{
    api.platforms = {gpu_platform(1, "CPU vendor"), gpu_platform(2, "GPU vendor")};
    api.platforms[0].devices[0].type = CL_DEVICE_TYPE_CPU;
    for (fake_platform& p : api.platforms)
        p.sharing = false;
    cl_device_list list(api);
    EXPECT_EQ(list.selected->platform, api.platforms[1].id);
    EXPECT_EQ(list.selected->type, static_cast<cl_device_type>(CL_DEVICE_TYPE_GPU));

    set_copying_gl_sharing_enabled(false);
    EXPECT_EQ(failure_of(api), "no valid OpenCL/OpenGL interop device\n");
}

TEST_F(ClDeviceList, OnePlatformWithSharingKeepsTheDriverPath)
{
    // The stand-in never hides a driver that offers sharing but has no fitting device.
    api.platforms = {gpu_platform(1, "NVIDIA"), gpu_platform(2, "NVIDIA")};
    api.platforms[0].sharing = false;
    api.platforms[1].devices[0].type = CL_DEVICE_TYPE_CPU;
    EXPECT_EQ(failure_of(api), "no valid OpenCL/OpenGL interop device\n");
}

TEST_F(ClDeviceList, DriverPathMakesAndHoldsImagesThroughTheSeam)
{
    api.platforms = {gpu_platform(1, "NVIDIA")};
    cl_device_list list(api);
    gl_sharing& sharing = list.sharing();
    EXPECT_NE(dynamic_cast<driver_gl_sharing*>(&sharing), nullptr);
    cl_int error = -1;
    cl_mem image = sharing.create_image(nullptr, CL_MEM_READ_ONLY, GL_TEXTURE_2D, 0, 7, &error);
    EXPECT_EQ(error, CL_SUCCESS);
    sharing.acquire(nullptr, image);
    sharing.release(nullptr, image);
    sharing.release_image(image);
    sharing.release_image(nullptr);  // nothing to let go
    const std::string handle = std::to_string(7 * 0x100);
    EXPECT_EQ(api.sharing_calls, (std::vector<std::string>{"create 7", "acquire " + handle,
                                                           "release " + handle, "free " + handle}));
}
