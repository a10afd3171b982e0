#pragma once

#include "toolkit/event_info.h"

#include <cstdint>
#include <functional>
#include <list>
#include <unordered_map>
#include <vector>

namespace qvsdk::ui {

using event_handler = std::function<void(const event_info&)>;

// Process-wide registry of handlers per (source, event id). Used only on the
// thread that runs the windows, so it takes no lock.
class event_manager {
public:
    static event_manager& instance();

    // Appends the handler to the pair's list; ids count up from 0 and are never reused.
    std::uint32_t subscribe(event_object* source, event_object* subscriber, std::uint32_t id,
                            event_handler handler);
    void remove_handler(std::uint32_t handler_id);
    // Drops the handlers the object subscribed elsewhere and those registered on it.
    void unregister(event_object* object);
    // Calls a copy of the pair's handlers in registration order; false when there are none.
    bool dispatch(event_object* source, std::uint32_t id, std::int32_t a = 2, std::int32_t b = 1,
                  void* data = nullptr, std::uint64_t extra = 0);
    bool has_handler(event_object* source, std::uint32_t id) const;
    // False once the handler was removed, or went with its source or subscriber.
    bool is_registered(std::uint32_t handler_id) const { return handlers.count(handler_id) != 0; }

private:
    event_manager() = default;

    struct record {
        std::uint32_t handler_id;
        event_handler handler;
    };
    using handler_list = std::list<record>;
    struct index_entry {
        event_object* source;
        std::uint32_t id;
        handler_list::iterator position;
    };

    std::unordered_map<event_object*, std::unordered_map<std::uint32_t, handler_list>> sources;
    std::unordered_map<std::uint32_t, index_entry> handlers;
    std::unordered_map<event_object*, std::vector<std::uint32_t>> subscribers;
    std::uint32_t next_id = 0;
};

} // namespace qvsdk::ui
