#pragma once

#include <functional>
#include <utility>

// Runs its function once when destroyed while armed; release() disarms it.
// Running it by hand (operator()) also disarms it.
class cleanup_guard {
public:
    explicit cleanup_guard(std::function<void()> function) : function(std::move(function)) {}
    cleanup_guard(const cleanup_guard&) = delete;
    cleanup_guard& operator=(const cleanup_guard&) = delete;
    ~cleanup_guard()
    {
        if (armed)
            function();
    }

    void release() { armed = false; }
    void operator()()
    {
        if (!armed)
            return;
        armed = false;
        function();
    }

private:
    std::function<void()> function;
    bool armed = true;
};
