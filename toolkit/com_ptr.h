#pragma once

#include "toolkit/com_error.h"

#include <unknwn.h>

#include <utility>

namespace qvsdk::ui {

// Owning COM pointer: releases on destruction; using it while empty throws
// com_error(E_POINTER) instead of crashing.
template <typename T>
class com_ptr {
public:
    com_ptr() = default;
    com_ptr(const com_ptr& other) : p(other.p)
    {
        if (p)
            p->AddRef();
    }
    com_ptr(com_ptr&& other) noexcept : p(std::exchange(other.p, nullptr)) {}
    com_ptr& operator=(com_ptr other) noexcept
    {
        std::swap(p, other.p);
        return *this;
    }
    ~com_ptr() { reset(); }

    void reset()
    {
        if (T* old = std::exchange(p, nullptr))
            old->Release();
    }
    // For out-parameters: releases what is held and hands out the slot.
    T** put()
    {
        reset();
        return &p;
    }
    T* get() const { return p; }
    T* operator->() const
    {
        if (!p)
            throw com_error(E_POINTER);
        return p;
    }
    explicit operator bool() const { return p != nullptr; }

private:
    T* p = nullptr;
};

} // namespace qvsdk::ui
