#include "toolkit/event_ids.h"
#include "toolkit/event_manager.h"
#include "toolkit/event_object.h"
#include "toolkit/theme_entry.h"
#include "toolkit/theme_store.h"

#include <gtest/gtest.h>

#include <vector>

using namespace qvsdk::ui;

namespace {

struct owner_object : event_object {
    std::vector<std::uint64_t> changed;
    owner_object()
    {
        event_manager::instance().subscribe(this, this, theme_changed_event,
                                            [this](const event_info& e) {
                                                changed.push_back(static_cast<theme_key*>(e.data)->hash);
                                            });
    }
};

// Restores the application theme whatever a test put there.
struct global_theme_guard {
    theme_map saved = global_theme;
    ~global_theme_guard() { global_theme = saved; }
};

} // namespace

TEST(ThemeStore, LookupOrderIsOwnThenGlobalThenDefaultsAndAnEmptyEntryEndsIt)
{
    global_theme_guard guard;
    theme_store store;
    EXPECT_EQ(store.get_text("label_font_name"), "Tahoma");
    global_theme = build_theme_map({{"label_font_name", "Verdana"}});
    EXPECT_EQ(store.get_text("label_font_name"), "Verdana");
    store.set_value("label_font_name", "Courier");
    EXPECT_EQ(store.get_text("label_font_name"), "Courier");
    EXPECT_EQ(store.lookup("label_font_name").size(), 7u);
    EXPECT_EQ(theme_store().get_text("label_font_name"), "Verdana");
    // An empty own entry ends the search.
    store.set_value("label_font_name", std::string_view());
    EXPECT_TRUE(store.get_text("label_font_name").empty());
}

TEST(ThemeStore, MissingKeysReadAsTheKindsDefaultFromOneSharedEmptyValue)
{
    theme_store store;
    EXPECT_EQ(store.get_color("no_such_key_here"), color(0, 0, 0, 0));
    EXPECT_EQ(store.get_float("no_such_key_here"), 0.0f);
    EXPECT_EQ(store.get_int("no_such_key_here"), 0);
    EXPECT_FALSE(store.get_bool("no_such_key_here"));
    EXPECT_EQ(store.get_int_pair("no_such_key_here"), (int_pair{0, 0}));
    EXPECT_EQ(store.get_rect("no_such_key_here"), rect());
    EXPECT_TRUE(store.get_text("no_such_key_here").empty());
    const image_data image = store.get_image("no_such_key_here");
    EXPECT_EQ(image.data, nullptr);
    EXPECT_EQ(image.frames, 1u);
    EXPECT_EQ(image.scale, 1.0f);
    EXPECT_TRUE(store.lookup("no_such_key_here").empty());
    EXPECT_EQ(&store.lookup("no_such_key_here"), &store.lookup("another_missing_key"));
}

TEST(ThemeStore, RedirectIsFollowedOnceAndHidesTheOwnValueOfTheKey)
{
    global_theme_guard guard;
    theme_store store;
    store.set_value("checkbox_font_name", std::string_view("Own"));
    store.set_redirect("checkbox_font_name", "installed_check_font_name");
    EXPECT_TRUE(store.get_text("checkbox_font_name").empty());
    global_theme = build_theme_map({{"installed_check_font_name", "Global"}});
    EXPECT_EQ(store.get_text("checkbox_font_name"), "Global");
    store.set_value("installed_check_font_name", std::string_view("Target"));
    EXPECT_EQ(store.get_text("checkbox_font_name"), "Target");

    // a -> b -> c reads b.
    store.set_value("chain_key_bbbb", 2);
    store.set_value("chain_key_cccc", 3);
    store.set_redirect("chain_key_aaaa", "chain_key_bbbb");
    store.set_redirect("chain_key_bbbb", "chain_key_cccc");
    EXPECT_EQ(store.get_int("chain_key_aaaa"), 2);
}

TEST(ThemeStore, ChangesRaiseEvent56WithTheKeySet)
{
    owner_object owner;
    theme_store store(&owner);
    const theme_key key("button_font_size");
    store.set_value(key, 11.0f);
    store.set_value(key, 11.0f); // equal bytes still announce
    EXPECT_EQ(owner.changed.size(), 2u);

    store.set_redirect("checkbox_font_name", "installed_check_font_name");
    store.set_redirect("checkbox_font_name", "installed_check_font_name");
    EXPECT_EQ(owner.changed.size(), 3u);
    store.set_redirect("checkbox_font_name", "label_font_name");
    ASSERT_EQ(owner.changed.size(), 4u);
    EXPECT_EQ(owner.changed.back(), theme_key("checkbox_font_name").hash);
    EXPECT_EQ(owner.changed.front(), key.hash);
}

TEST(ThemeStore, AssignmentCopiesValuesAndRedirectsButNotTheOwner)
{
    owner_object owner;
    theme_store source;
    source.set_value("button_font_weight", 1);
    source.set_redirect("button_font_name", "label_font_name");
    theme_store target(&owner);
    target.set_value("button_font_size", 20.0f);
    owner.changed.clear();

    target = source;
    EXPECT_TRUE(owner.changed.empty());
    EXPECT_EQ(target.get_int("button_font_weight"), 1);
    EXPECT_EQ(target.get_float("button_font_size"), 11.0f); // own value replaced: default again
    target.set_value("button_font_weight", 2);
    EXPECT_EQ(owner.changed.size(), 1u);
    EXPECT_EQ(source.get_int("button_font_weight"), 1);
}
