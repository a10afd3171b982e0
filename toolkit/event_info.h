#pragma once

#include <cstdint>

namespace qvsdk::ui {

class event_object;

// What a handler receives; lives on the dispatcher's stack for the call only.
struct event_info {
    event_object* source;
    std::uint32_t id;
    std::int32_t a;
    std::int32_t b;
    void* data; // a record pointer or a small integer, per event id
    std::uint64_t extra;
};

} // namespace qvsdk::ui
