// Global set-up and set-down: what the effect reports, registers and keeps.

#include "tests/plugin/dump_files.h"
#include "tests/plugin/effect_host_fixture.h"

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace {

using GlobalSetup = EffectHost;

// Runs `action` with the process's standard error going to a file, returns what it got.
template <class Action> std::string capture_stderr(Action action)
{
    char folder[MAX_PATH];
    char file[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    GetTempFileNameA(folder, "qve", 0, file);
    std::fflush(stderr);
    int saved = _dup(2);
    int target = _open(file, _O_WRONLY | _O_TRUNC | _O_BINARY);
    _dup2(target, 2);
    action();
    std::fflush(stderr);
    _dup2(saved, 2);
    _close(saved);
    _close(target);
    std::ifstream in(file, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    in.close();
    DeleteFileA(file);
    return text.str();
}

TEST_F(GlobalSetup, WritesTheBannerWithoutLineEnd)
{
    PF_Err err = PF_Err_NONE;
    std::string banner = capture_stderr([&] { err = host->global_setup(); });
    EXPECT_EQ(err, PF_Err_NONE);
    EXPECT_EQ(banner, "## QV Vesk 1.0.3 (74)");
}

// Set-up reports the property list's version and flags, registers once under the
// product name and keeps one object in an eight-byte global handle; set-down
// without header images releases no drawing object.
TEST_F(GlobalSetup, ReportsRegistersAndKeepsOneObject)
{
    ASSERT_EQ(host->global_setup(), PF_Err_NONE);
    EXPECT_EQ(host->last_out().my_version, 0x0008004Au);
    EXPECT_EQ(host->last_out().out_flags, 0x06008000);
    EXPECT_EQ(host->last_out().out_flags2, 0x1800140E);
    EXPECT_EQ(host->registrations(), 1);
    EXPECT_EQ(host->registered_name(), "QV Vesk");
    PF_Handle global = host->global_data();
    ASSERT_NE(global, nullptr);
    EXPECT_EQ(host->last_out().global_data, global);
    EXPECT_EQ(host->handle_size(global), 8);
    EXPECT_NE(*static_cast<void**>(*global), nullptr);
    EXPECT_EQ(host->live_handles(), 1u);
    EXPECT_EQ(host->locked_handles(), 0);
    ASSERT_EQ(host->global_setdown(), PF_Err_NONE);
    EXPECT_EQ(host->released_drawing_objects(), 0);
}

TEST_F(GlobalSetup, SetDownGivesEverythingBackAndSetUpWorksAgain)
{
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        ASSERT_EQ(host->global_setup(), PF_Err_NONE);
        ASSERT_EQ(host->params_setup(), PF_Err_NONE);
        EXPECT_EQ(host->num_params(), 80);
        EXPECT_EQ(host->update_params_ui(), PF_Err_NONE);
        EXPECT_EQ(host->global_setdown(), PF_Err_NONE);
        EXPECT_EQ(host->global_data(), nullptr);
        EXPECT_EQ(host->last_out().global_data, nullptr);
        EXPECT_EQ(host->live_handles(), 0u);
        EXPECT_EQ(host->bad_handle_calls(), 0);
        EXPECT_EQ(host->outstanding_suites(), 0);
    }
    EXPECT_EQ(host->registrations(), 2);
}

// Faults that the host or the system raise and handle themselves stay theirs,
// whether the module is set up, running a command or set down.
TEST_F(GlobalSetup, HostsOwnHandledFaultsAreNeverTakenOver)
{
    const int dumps = dumps_in(documents_dump_folder());
    void* const bad = reinterpret_cast<void*>(0x10);
    BOOL probed_in_command = FALSE;
    host->fault = [&probed_in_command, bad](const std::string& call) {
        if (call == "AEGP_RegisterWithAEGP")
            probed_in_command = IsBadReadPtr(bad, 4);
    };
    ASSERT_EQ(host->global_setup(), PF_Err_NONE);
    host->fault = nullptr;
    EXPECT_TRUE(probed_in_command);
    EXPECT_TRUE(IsBadReadPtr(bad, 4));
    ASSERT_EQ(host->global_setdown(), PF_Err_NONE);
    EXPECT_TRUE(IsBadReadPtr(bad, 4));
    EXPECT_EQ(dumps_in(documents_dump_folder()), dumps);
}

} // namespace

#include <tlhelp32.h>

namespace {

int thread_count()
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    int count = 0;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        count += entry.th32OwnerProcessID == GetCurrentProcessId() ? 1 : 0;
    CloseHandle(snapshot);
    return count;
}

TEST_F(GlobalSetup, StartsARenderThreadAndSetDownStopsIt)
{
    int before = thread_count();
    ASSERT_EQ(host->global_setup(), PF_Err_NONE);
    int running = thread_count();
    ASSERT_EQ(host->global_setdown(), PF_Err_NONE);
    // Set-down returns only once the render thread has exited.
    EXPECT_GT(running, before);
    EXPECT_EQ(thread_count(), before);
}

TEST_F(GlobalSetup, ModuleUnloadsRightAfterSetDown)
{
    host.reset();
    module.reset();
    for (int round = 0; round < 10; ++round) {
        SCOPED_TRACE(round);
        auto loaded = std::make_unique<qvhost::effect_module>(QV_EFFECT_MODULE);
        HMODULE handle = loaded->handle();
        ASSERT_NE(handle, nullptr);
        auto driver = std::make_unique<qvhost::test_host>(loaded->main_by_name());
        ASSERT_EQ(driver->global_setup(), PF_Err_NONE);
        ASSERT_EQ(driver->global_setdown(), PF_Err_NONE);
        driver.reset();
        loaded.reset();
        // Nothing of the module may still run or pin it once it is freed.
        MEMORY_BASIC_INFORMATION info{};
        VirtualQuery(reinterpret_cast<void*>(handle), &info, sizeof info);
        EXPECT_NE(info.State, static_cast<DWORD>(MEM_COMMIT)) << "module still mapped";
        Sleep(20);
    }
}

} // namespace

#include "hostsdk/pf_smart_render.h"
#include "tools/qvhost/debug_output.h"

#include <cstdlib>

namespace {

// Run by its own test entry with the system's OpenCL drivers hidden, so that the
// renderer cannot start.
class RendererStartFailure : public EffectHost {
protected:
    void SetUp() override
    {
        if (!std::getenv("QV_OPENCL_HIDDEN"))
            GTEST_SKIP() << "needs the OpenCL drivers hidden";
        EffectHost::SetUp();
    }
};

TEST_F(RendererStartFailure, SetUpFailsWithTheRenderersMessage)
{
    qvhost::debug_output output;
    EXPECT_EQ(host->global_setup(), PF_Err_INTERNAL_STRUCT_DAMAGED);
    std::vector<std::string> lines = output.lines();
    ASSERT_FALSE(lines.empty());
    const std::string prefix = "QV Vesk Exception: QV Vesk failed to initialize with error:\n\n";
    ASSERT_GT(lines.back().size(), prefix.size() + 1);
    EXPECT_EQ(lines.back().compare(0, prefix.size(), prefix), 0) << lines.back();
}

TEST_F(RendererStartFailure, EffectStaysRegisteredAndFramesAreCancelled)
{
    ASSERT_EQ(host->global_setup(), PF_Err_INTERNAL_STRUCT_DAMAGED);
    EXPECT_EQ(host->registrations(), 1);
    ASSERT_NE(host->global_data(), nullptr);
    EXPECT_EQ(host->params_setup(), PF_Err_NONE);
    EXPECT_EQ(host->num_params(), 80);
    EXPECT_EQ(host->update_params_ui(), PF_Err_NONE);

    static PF_EffectWorld world{};
    PF_SmartRenderCallbacks callbacks{};
    callbacks.checkout_layer_pixels = [](PF_ProgPtr, A_long, PF_EffectWorld** out) -> PF_Err {
        *out = &world;
        return PF_Err_NONE;
    };
    callbacks.checkout_output = [](PF_ProgPtr, PF_EffectWorld** out) -> PF_Err {
        *out = &world;
        return PF_Err_NONE;
    };
    PF_SmartRenderInput input{};
    input.bitdepth = 8;
    PF_SmartRenderExtra extra{&input, &callbacks};
    EXPECT_EQ(host->send(PF_Cmd_SMART_RENDER, &extra), PF_Interrupt_CANCEL);

    EXPECT_EQ(host->global_setdown(), PF_Err_NONE);
    EXPECT_EQ(host->live_handles(), 0u);
    EXPECT_EQ(host->outstanding_suites(), 0);
}

} // namespace
