#include "toolkit/event_manager.h"
#include "toolkit/event_object.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

using qvsdk::ui::event_info;
using qvsdk::ui::event_manager;
using qvsdk::ui::event_object;

namespace {

struct object : event_object {
};

event_manager& events()
{
    return event_manager::instance();
}

} // namespace

TEST(Events, DispatchCallsHandlersInRegistrationOrderWithTheRaisersValues)
{
    object source, subscriber;
    std::vector<std::string> calls;
    events().subscribe(&source, &subscriber, 7, [&](const event_info& e) {
        calls.push_back("first");
        EXPECT_EQ(e.source, &source);
        EXPECT_EQ(e.id, 7u);
        EXPECT_EQ(e.a, 2);
        EXPECT_EQ(e.b, 1);
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(e.data), 42u);
        EXPECT_EQ(e.extra, 9u);
    });
    events().subscribe(&source, &subscriber, 7, [&](const event_info&) { calls.push_back("second"); });
    events().subscribe(&source, &subscriber, 8, [&](const event_info&) { calls.push_back("other id"); });

    EXPECT_TRUE(events().dispatch(&source, 7, 2, 1, reinterpret_cast<void*>(42), 9));
    EXPECT_EQ(calls, (std::vector<std::string>{"first", "second"}));
    EXPECT_FALSE(events().dispatch(&source, 99));
    EXPECT_TRUE(events().has_handler(&source, 8));
    EXPECT_FALSE(events().has_handler(&source, 99));
}

TEST(Events, HandlerIdsIncreaseByOnePerSubscription)
{
    object source;
    const auto first = events().subscribe(&source, &source, 1, [](const event_info&) {});
    const auto second = events().subscribe(&source, &source, 2, [](const event_info&) {});
    EXPECT_EQ(second, first + 1);
}

TEST(Events, RemovingTheLastHandlerOfAPairMakesDispatchReturnFalse)
{
    object source, subscriber;
    int calls = 0;
    const auto id = events().subscribe(&source, &subscriber, 3, [&](const event_info&) { ++calls; });
    events().remove_handler(id);
    EXPECT_FALSE(events().dispatch(&source, 3));
    EXPECT_FALSE(events().has_handler(&source, 3));
    EXPECT_EQ(calls, 0);
    events().remove_handler(id); // unknown now: harmless
    events().remove_handler(0xfffffff0u);
}

TEST(Events, DispatchRunsOnTheHandlersRegisteredWhenItBegan)
{
    object source, subscriber;
    int removed_calls = 0, added_calls = 0, self_calls = 0;
    std::uint32_t self_id = 0, victim_id = 0;
    self_id = events().subscribe(&source, &subscriber, 5, [&](const event_info&) {
        ++self_calls;
        events().remove_handler(self_id);
        events().remove_handler(victim_id);
        events().subscribe(&source, &subscriber, 5, [&](const event_info&) { ++added_calls; });
    });
    victim_id = events().subscribe(&source, &subscriber, 5, [&](const event_info&) { ++removed_calls; });

    EXPECT_TRUE(events().dispatch(&source, 5));
    EXPECT_EQ(self_calls, 1);
    EXPECT_EQ(removed_calls, 1); // removed during the dispatch, still called in it
    EXPECT_EQ(added_calls, 0);   // added during the dispatch, called from the next

    EXPECT_TRUE(events().dispatch(&source, 5));
    EXPECT_EQ(self_calls, 1);
    EXPECT_EQ(removed_calls, 1);
    EXPECT_EQ(added_calls, 1);
}

TEST(Events, HandlersMayRaiseNestedEventsAndDestroyTheirSource)
{
    auto source = std::make_unique<object>();
    object other;
    int nested = 0;
    events().subscribe(&other, &other, 1, [&](const event_info&) { ++nested; });
    events().subscribe(source.get(), &other, 1, [&](const event_info&) {
        events().dispatch(&other, 1);
        source.reset();
    });
    EXPECT_TRUE(events().dispatch(source.get(), 1));
    EXPECT_EQ(nested, 1);
    EXPECT_EQ(source, nullptr);
}

TEST(Events, ExceptionsLeaveDispatchAndTheManagerUsable)
{
    object source;
    int after = 0;
    events().subscribe(&source, &source, 4, [](const event_info&) { throw std::runtime_error("handler"); });
    events().subscribe(&source, &source, 6, qvsdk::ui::event_handler());
    events().subscribe(&source, &source, 4, [&](const event_info&) { ++after; });
    EXPECT_THROW(events().dispatch(&source, 4), std::runtime_error);
    EXPECT_THROW(events().dispatch(&source, 6), std::bad_function_call);
    EXPECT_EQ(after, 0);
    EXPECT_TRUE(events().has_handler(&source, 4));
}

TEST(Events, ADestroyedObjectLosesHandlersOnItAndHandlersItSubscribed)
{
    object source;
    int calls_on_dead = 0, calls_by_dead = 0;
    auto dying = std::make_unique<object>();
    events().subscribe(dying.get(), &source, 1, [&](const event_info&) { ++calls_on_dead; });
    events().subscribe(&source, dying.get(), 1, [&](const event_info&) { ++calls_by_dead; });
    object* const address = dying.get();
    dying.reset();

    EXPECT_FALSE(events().dispatch(address, 1));
    EXPECT_FALSE(events().dispatch(&source, 1));
    EXPECT_EQ(calls_on_dead, 0);
    EXPECT_EQ(calls_by_dead, 0);
}

// A new object built where a destroyed one lived must not be touched through
// the ids of handlers that were registered on the old one.
TEST(Events, StaleIdsOfADestroyedSourceCannotRemoveHandlersOfItsSuccessor)
{
    alignas(object) unsigned char storage[sizeof(object)];
    auto subscriber = std::make_unique<object>();
    object later_subscriber;

    auto* first = new (storage) object;
    const auto stale = events().subscribe(first, subscriber.get(), 3, [](const event_info&) {});
    first->~object();

    auto* second = new (storage) object;
    ASSERT_EQ(static_cast<void*>(first), static_cast<void*>(second));
    int calls = 0;
    events().subscribe(second, &later_subscriber, 3, [&](const event_info&) { ++calls; });

    // Both the explicit removal and the old subscriber's death go through the stale id.
    events().remove_handler(stale);
    subscriber.reset();
    EXPECT_TRUE(events().dispatch(second, 3));
    EXPECT_EQ(calls, 1);

    second->~object();
    EXPECT_FALSE(events().dispatch(second, 3));
}
