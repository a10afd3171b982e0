#include "toolkit/theme_store.h"

#include "toolkit/event_ids.h"
#include "toolkit/event_manager.h"
#include "toolkit/theme_entry.h"

#include <utility>

namespace qvsdk::ui {

theme_map make_theme_map()
{
    theme_map map(8);
    map.max_load_factor(1.0f);
    return map;
}

theme_map build_theme_map(const std::vector<theme_entry>& rows)
{
    theme_map map = make_theme_map();
    for (const auto& row : rows)
        map.emplace(row.key, row.value); // a repeated key keeps its first row
    return map;
}

theme_map global_theme = make_theme_map();

namespace {

const theme_value& empty_value()
{
    static const theme_value empty;
    return empty;
}

const theme_value* find_in(const theme_map& map, const theme_key& key)
{
    auto it = map.find(key);
    return it == map.end() ? nullptr : &it->second;
}

} // namespace

theme_store::theme_store(event_object* owner_) : owner(owner_)
{
    redirects.rehash(8);
    redirects.max_load_factor(1.0f);
}

theme_store& theme_store::operator=(const theme_store& other)
{
    if (this != &other) {
        own_values = other.own_values;
        redirects = other.redirects;
    }
    return *this;
}

const theme_value& theme_store::lookup(const theme_key& requested) const
{
    theme_key key = requested;
    auto redirect = redirects.find(key);
    if (redirect != redirects.end())
        key = redirect->second; // followed once, never chained
    if (const theme_value* v = find_in(own_values, key))
        return *v;
    if (const theme_value* v = find_in(global_theme, key))
        return *v;
    if (const theme_value* v = find_in(default_theme, key))
        return *v;
    return empty_value();
}

bool theme_store::get_bool(const theme_key& key) const
{
    return read_theme_value<std::uint8_t>(lookup(key), 0) != 0;
}

std::int32_t theme_store::get_int(const theme_key& key) const
{
    return read_theme_value<std::int32_t>(lookup(key), 0);
}

float theme_store::get_float(const theme_key& key) const
{
    return read_theme_value<float>(lookup(key), 0.0f);
}

int_pair theme_store::get_int_pair(const theme_key& key) const
{
    return read_theme_value<int_pair>(lookup(key), int_pair{0, 0});
}

rect theme_store::get_rect(const theme_key& key) const
{
    return read_theme_value<rect>(lookup(key), rect());
}

color theme_store::get_color(const theme_key& key) const
{
    return read_theme_value<color>(lookup(key), color());
}

std::string_view theme_store::get_text(const theme_key& key) const
{
    const theme_value& v = lookup(key);
    if (v.empty())
        return {};
    return {reinterpret_cast<const char*>(v.data()), v.size()};
}

image_data theme_store::get_image(const theme_key& key) const
{
    return read_theme_value<image_data>(lookup(key), image_data());
}

void theme_store::store(const theme_key& key, theme_value bytes)
{
    own_values[key] = std::move(bytes);
    notify(key);
}

void theme_store::set_redirect(const theme_key& key, const theme_key& target)
{
    auto it = redirects.find(key);
    const bool changed = it == redirects.end() || it->second.hash != target.hash;
    redirects.insert_or_assign(key, target);
    if (changed)
        notify(key);
}

void theme_store::notify(const theme_key& key)
{
    if (owner)
        event_manager::instance().dispatch(owner, theme_changed_event, 2, 1,
                                           const_cast<theme_key*>(&key), 0);
}

} // namespace qvsdk::ui
