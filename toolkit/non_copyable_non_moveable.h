#pragma once

namespace qvsdk::ui {

// Base of toolkit objects whose address is their identity (events, widgets).
class non_copyable_non_moveable {
protected:
    non_copyable_non_moveable() = default;
    ~non_copyable_non_moveable() = default;

public:
    non_copyable_non_moveable(const non_copyable_non_moveable&) = delete;
    non_copyable_non_moveable& operator=(const non_copyable_non_moveable&) = delete;
    non_copyable_non_moveable(non_copyable_non_moveable&&) = delete;
    non_copyable_non_moveable& operator=(non_copyable_non_moveable&&) = delete;
};

} // namespace qvsdk::ui
