// The hand-off without a GPU: the thread is built around no renderer, or around a
// factory that fails.
#include "plugin/renderer/render_thread.h"
#include "plugin/renderer/renderer.h"
#include "tests/plugin/dump_files.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

using qvsdk::Renderer;
using qvsdk::RenderThread;

namespace {

// A handle on the render thread itself, taken from inside it, so a test can tell
// that the thread has really gone.
struct thread_watch {
    HANDLE thread = nullptr;
    DWORD id = 0;
    ~thread_watch()
    {
        if (thread)
            CloseHandle(thread);
    }
    RenderThread::renderer_factory factory(bool fail = false)
    {
        return [this, fail]() -> std::unique_ptr<Renderer> {
            id = GetCurrentThreadId();
            thread = OpenThread(SYNCHRONIZE, FALSE, id);
            if (fail)
                throw std::runtime_error("failed to create OpenGL 4.1 context");
            return nullptr;
        };
    }
    bool gone() const { return thread && WaitForSingleObject(thread, 5000) == WAIT_OBJECT_0; }
    // Already exited, without waiting: what unloading the module right away needs.
    bool exited() const { return thread && WaitForSingleObject(thread, 0) == WAIT_OBJECT_0; }
};

} // namespace

TEST(RenderThread, RunsJobsInOrderOnItsOwnThread)
{
    thread_watch watch;
    RenderThread render(watch.factory());
    std::vector<int> order;
    bool foreign_thread = true;
    for (int i = 0; i < 1000; ++i) {
        render.submit([&, i] {
            order.push_back(i);
            foreign_thread = foreign_thread && GetCurrentThreadId() == watch.id;
        });
        ASSERT_EQ(order.size(), static_cast<size_t>(i + 1));  // done when submit returns
    }
    EXPECT_TRUE(foreign_thread);
    EXPECT_NE(watch.id, GetCurrentThreadId());
    for (int i = 0; i < 1000; ++i)
        ASSERT_EQ(order[i], i);
}

TEST(RenderThread, ConcurrentSubmittersTakeTurns)
{
    RenderThread render([]() -> std::unique_ptr<Renderer> { return nullptr; });
    std::atomic<int> running{0};
    std::atomic<bool> overlapped{false};
    int total = 0;  // only ever touched by jobs
    std::vector<std::thread> submitters;
    for (int t = 0; t < 8; ++t) {
        submitters.emplace_back([&] {
            for (int i = 0; i < 250; ++i) {
                int seen = -1;
                render.submit([&] {
                    if (running.fetch_add(1) != 0)
                        overlapped = true;
                    seen = ++total;
                    std::this_thread::yield();
                    running.fetch_sub(1);
                });
                // Each submitter sees its own job finished, never another's.
                if (seen <= 0)
                    overlapped = true;
            }
        });
    }
    for (std::thread& s : submitters)
        s.join();
    EXPECT_FALSE(overlapped);
    EXPECT_EQ(total, 2000);
}

TEST(RenderThread, StandardExceptionReachesItsSubmitterAndEndsTheThread)
{
    thread_watch watch;
    RenderThread render(watch.factory());
    try {
        render.submit([] { throw std::runtime_error("render buffer size is over maximum supported size"); });
        FAIL() << "the job's exception was lost";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "render buffer size is over maximum supported size");
    }
    EXPECT_TRUE(watch.gone());
    bool ran = false;
    render.submit([&] { ran = true; });  // returns at once, reports nothing
    EXPECT_FALSE(ran);
    EXPECT_EQ(render.renderer(), nullptr);
}

TEST(RenderThread, AnyExceptionKindIsCarriedBack)
{
    RenderThread render([]() -> std::unique_ptr<Renderer> { return nullptr; });
    EXPECT_THROW(render.submit([] { throw 42; }), int);
    EXPECT_NO_THROW(render.submit([] { throw 43; }));
}

TEST(RenderThread, FailedRendererFailsTheConstructorAfterTheThreadEnded)
{
    thread_watch watch;
    try {
        RenderThread render(watch.factory(true));
        FAIL() << "construction should have failed";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "failed to create OpenGL 4.1 context");
    }
    EXPECT_TRUE(watch.exited());
}

TEST(RenderThread, DestroyingAnIdleThreadEndsIt)
{
    thread_watch watch;
    {
        RenderThread render(watch.factory());
        render.submit([] {});
    }
    EXPECT_TRUE(watch.exited());
}

TEST(RenderThread, HardwareFaultInAJobArrivesAsAnExceptionNamingTheDump)
{
    RenderThread render([]() -> std::unique_ptr<Renderer> { return nullptr; });
    std::string message;
    try {
        render.submit([] {
            int* volatile bad = reinterpret_cast<int*>(0x10);
            *bad = 1;
        });
    } catch (const std::runtime_error& e) {
        message = e.what();
    }
    const std::wstring dump = named_dump(message);
    EXPECT_NE(dump.find(L"\\Quorvane\\Error Logs\\QV Vesk_v1.0.74-"), std::wstring::npos) << message;
    expect_dump(dump);
}

TEST(RenderThread, JobThatThrowsIsDestroyedOnTheRenderThreadBeforeItsErrorArrives)
{
    // Records which thread lets go of the job's captures.
    struct capture_watch {
        explicit capture_watch(std::atomic<DWORD>* on) : destroyed_on(on) {}
        std::atomic<DWORD>* destroyed_on;
        ~capture_watch() { destroyed_on->store(GetCurrentThreadId()); }
    };
    thread_watch watch;
    RenderThread render(watch.factory());
    std::atomic<DWORD> destroyed_on{0};
    auto captured = std::make_shared<capture_watch>(&destroyed_on);
    std::weak_ptr<capture_watch> seen = captured;
    auto job = [captured] { throw std::runtime_error("lost the device"); };
    captured.reset();
    EXPECT_THROW(render.submit(std::move(job)), std::runtime_error);
    EXPECT_TRUE(seen.expired()) << "the failed job still sits in the slot";
    EXPECT_EQ(destroyed_on.load(), watch.id);
}
