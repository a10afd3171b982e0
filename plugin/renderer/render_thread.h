#pragma once

#include <condition_variable>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace qvsdk {

class Renderer;

// The one thread that makes every OpenGL and OpenCL call. It builds its Renderer
// when it starts and destroys it when it leaves; callers hand it one job at a time
// and wait for it. A job that throws ends the thread: its submitter gets the
// exception, and later submissions run nothing. Only out_of_gpu_memory, a frame
// that did not fit, reaches its submitter and leaves the thread running.
class RenderThread {
public:
    using renderer_factory = std::function<std::unique_ptr<Renderer>()>;

    // Returns once the Renderer is built, or rethrows why it could not be (after
    // the thread has ended).
    RenderThread();
    // Tests build the thread around a renderer of their own (or none).
    explicit RenderThread(renderer_factory make_renderer);
    RenderThread(const RenderThread&) = delete;
    RenderThread& operator=(const RenderThread&) = delete;
    // Stops the thread and returns only after it has exited, so the module that
    // holds its code may be unloaded right after.
    ~RenderThread();

    // Runs the job on the render thread and returns when it is done, rethrowing
    // its exception. Concurrent submitters take turns.
    void submit(std::function<void()> job);

    // Valid from the end of construction until the thread ends.
    Renderer* renderer() const;

private:
    struct state;
    static void thread_main(std::shared_ptr<state> shared, renderer_factory make_renderer);
    void wait_for_job();
    void wait_until_ended();
    void join_worker();

    // Shared with the thread, so that its last unlock after announcing its end
    // never touches freed memory.
    std::shared_ptr<state> shared;
    // Held from placing a job to the end of its wait: one submission at a time.
    std::mutex submit_mutex;
    // Joined, not detached: its last instructions are this module's code.
    std::thread worker;
};

} // namespace qvsdk
