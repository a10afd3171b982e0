#include "toolkit/event_manager.h"

#include <stdexcept>
#include <utility>

namespace qvsdk::ui {

event_manager& event_manager::instance()
{
    static event_manager manager;
    return manager;
}

std::uint32_t event_manager::subscribe(event_object* source, event_object* subscriber,
                                       std::uint32_t id, event_handler handler)
{
    auto& list = sources[source][id];
    if (list.size() >= list.max_size())
        throw std::length_error("list too long");
    const std::uint32_t handler_id = next_id;
    auto position = list.insert(list.end(), record{handler_id, std::move(handler)});
    handlers[handler_id] = {source, id, position};
    subscribers[subscriber].push_back(handler_id);
    ++next_id;
    return handler_id;
}

void event_manager::remove_handler(std::uint32_t handler_id)
{
    auto entry = handlers.find(handler_id);
    if (entry == handlers.end())
        return;
    auto source = sources.find(entry->second.source);
    if (source == sources.end())
        return;
    auto list = source->second.find(entry->second.id);
    if (list == source->second.end())
        return;
    list->second.erase(entry->second.position);
    if (list->second.empty())
        source->second.erase(list);
    handlers.erase(entry);
}

void event_manager::unregister(event_object* object)
{
    auto subscribed = subscribers.find(object);
    if (subscribed != subscribers.end()) {
        for (std::uint32_t handler_id : subscribed->second)
            remove_handler(handler_id);
        subscribers.erase(subscribed);
    }
    auto source = sources.find(object);
    if (source == sources.end())
        return;
    // The index must forget these records too: a later object at the same
    // address would otherwise let a stale id erase through a dead iterator.
    for (auto& [id, list] : source->second)
        for (auto& r : list)
            handlers.erase(r.handler_id);
    sources.erase(source);
}

bool event_manager::dispatch(event_object* source, std::uint32_t id, std::int32_t a,
                             std::int32_t b, void* data, std::uint64_t extra)
{
    auto entry = sources.find(source);
    if (entry == sources.end())
        return false;
    auto list = entry->second.find(id);
    if (list == entry->second.end())
        return false;
    // Handlers may subscribe, remove or destroy while they run: call a snapshot.
    std::vector<event_handler> calls;
    calls.reserve(list->second.size());
    for (const auto& r : list->second)
        calls.push_back(r.handler);
    const event_info info{source, id, a, b, data, extra};
    for (const auto& call : calls)
        call(info);
    return true;
}

bool event_manager::has_handler(event_object* source, std::uint32_t id) const
{
    auto entry = sources.find(source);
    return entry != sources.end() && entry->second.count(id) != 0;
}

} // namespace qvsdk::ui
