#include "plugin/renderer/render_thread.h"

#include "plugin/crash_dump.h"
#include "plugin/renderer/gl_allocation.h"
#include "plugin/renderer/out_of_gpu_memory.h"
#include "plugin/renderer/renderer.h"

#include <atomic>
#include <thread>
#include <utility>

namespace qvsdk {

struct RenderThread::state {
    bool ended = false;           // state_mutex
    std::mutex state_mutex;       // guards ended, done and error
    std::mutex job_mutex;         // guards job and stop; held while a job runs
    std::condition_variable done_condition;
    std::condition_variable job_condition;
    bool done = false;            // state_mutex
    bool stop = false;            // job_mutex
    std::function<void()> job;    // job_mutex
    std::exception_ptr error;     // state_mutex
    std::atomic<Renderer*> renderer{nullptr}; // written by the render thread only

    // The job's failure, if any, goes with its end: the submitter always sees both.
    void signal_done(std::exception_ptr failure = nullptr)
    {
        std::lock_guard<std::mutex> lock(state_mutex);
        error = failure;
        done = true;
        done_condition.notify_all();
    }
};

RenderThread::RenderThread() : RenderThread([] { return std::make_unique<Renderer>(); }) {}

RenderThread::RenderThread(renderer_factory make_renderer) : shared(std::make_shared<state>())
{
    worker = std::thread(&RenderThread::thread_main, shared, std::move(make_renderer));
    try {
        wait_for_job();
    } catch (...) {
        // No thread may be left running when the failure reaches the caller.
        join_worker();
        throw;
    }
}

RenderThread::~RenderThread()
{
    {
        std::lock_guard<std::mutex> lock(shared->job_mutex);
        shared->stop = true;
    }
    shared->job_condition.notify_one();
    join_worker();
}

void RenderThread::join_worker()
{
    wait_until_ended();
    if (worker.joinable())
        worker.join();
}

Renderer* RenderThread::renderer() const
{
    return shared->renderer;
}

void RenderThread::submit(std::function<void()> new_job)
{
    std::lock_guard<std::mutex> turn(submit_mutex);
    {
        std::lock_guard<std::mutex> lock(shared->job_mutex);
        std::swap(shared->job, new_job);
    }
    shared->job_condition.notify_one();
    wait_for_job();
}

void RenderThread::wait_for_job()
{
    std::unique_lock<std::mutex> lock(shared->state_mutex);
    shared->done_condition.wait(lock, [this] { return shared->done || shared->ended; });
    if (!shared->done)
        return;
    shared->done = false;
    if (shared->error)
        std::rethrow_exception(std::exchange(shared->error, nullptr));
}

void RenderThread::wait_until_ended()
{
    std::unique_lock<std::mutex> lock(shared->state_mutex);
    shared->done_condition.wait(lock, [this] { return shared->ended; });
}

void RenderThread::thread_main(std::shared_ptr<state> shared, renderer_factory make_renderer)
{
    crash_dump_thread translated;  // every step of this thread is the module's own work
    std::unique_ptr<Renderer> owned;
    std::exception_ptr failure;
    try {
        owned = make_renderer();
        shared->renderer = owned.get();
        shared->signal_done();

        for (;;) {
            std::unique_lock<std::mutex> lock(shared->job_mutex);
            shared->job_condition.wait(lock, [&] { return shared->stop || shared->job; });
            if (shared->stop)
                break;  // a job still in the slot is not run
            std::exception_ptr frame_failure;
            try {
                // An error flag an earlier job left set would be read by this job's
                // allocation checks as its own.
                if (owned)
                    clear_gl_errors();
                shared->job();
            } catch (const out_of_gpu_memory&) {
                // The job released what it made: only its frame fails.
                frame_failure = std::current_exception();
            } catch (...) {
                // Its captures go here, on this thread, before the submitter hears
                // of the failure.
                shared->job = nullptr;
                throw;
            }
            shared->job = nullptr;
            lock.unlock();
            shared->signal_done(frame_failure);
        }
    } catch (...) {
        failure = std::current_exception();
    }
    // job_mutex is free here: unwinding released the job's lock.
    owned.reset();
    shared->renderer = nullptr;
    std::lock_guard<std::mutex> lock(shared->state_mutex);
    if (failure) {
        shared->error = failure;
        shared->done = true;
    }
    shared->ended = true;
    shared->done_condition.notify_all();
}

} // namespace qvsdk
