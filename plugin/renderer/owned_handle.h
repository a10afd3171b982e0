#pragma once

#include <utility>

namespace qvsdk {

// Owns one handle and releases it with Release when destroyed; an empty handle
// (value-initialised) is never passed to Release. The handle is zeroed as it is
// released, so nothing can release it twice.
template <typename T, auto Release>
class owned_handle {
public:
    owned_handle() = default;
    explicit owned_handle(T value) : value(value) {}
    owned_handle(owned_handle&& other) noexcept : value(std::exchange(other.value, T{})) {}
    owned_handle& operator=(owned_handle&& other) noexcept
    {
        if (this != &other) {
            reset();
            value = std::exchange(other.value, T{});
        }
        return *this;
    }
    owned_handle(const owned_handle&) = delete;
    owned_handle& operator=(const owned_handle&) = delete;
    ~owned_handle() { reset(); }

    T get() const { return value; }
    explicit operator bool() const { return value != T{}; }

    void reset(T replacement = T{})
    {
        T old = std::exchange(value, replacement);
        if (old != T{})
            Release(old);
    }

private:
    T value{};
};

} // namespace qvsdk
