#pragma once

#include "toolkit/color.h"
#include "toolkit/image_data.h"
#include "toolkit/int_pair.h"
#include "toolkit/rect.h"
#include "toolkit/theme_key.h"
#include "toolkit/theme_value.h"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <type_traits>

namespace qvsdk::ui {

class event_object;

// The application's theme; replaced as a whole by assignment before any widget paints.
extern theme_map global_theme;
// The toolkit's defaults, built from its table at load time and never changed.
extern const theme_map default_theme;

// A widget's own theme values and key redirects. Lookups fall back to the
// global theme, then the defaults; changes raise event 56 on the owner.
class theme_store {
public:
    explicit theme_store(event_object* owner = nullptr);
    theme_store(const theme_store&) = delete;
    // Copies values and redirects; keeps this store's owner and raises nothing.
    theme_store& operator=(const theme_store& other);

    // Redirect once, own values, global theme, defaults, else a shared empty value.
    const theme_value& lookup(const theme_key& key) const;

    bool get_bool(const theme_key& key) const;
    std::int32_t get_int(const theme_key& key) const;
    float get_float(const theme_key& key) const;
    int_pair get_int_pair(const theme_key& key) const;
    rect get_rect(const theme_key& key) const;
    color get_color(const theme_key& key) const;
    std::string_view get_text(const theme_key& key) const; // no terminator
    image_data get_image(const theme_key& key) const;

    template <typename T>
    void set_value(const theme_key& key, const T& value)
    {
        static_assert(!std::is_same_v<T, std::string_view>);
        store(key, theme_value_of(value));
    }
    void set_value(const theme_key& key, std::string_view text) { store(key, theme_value_of(text)); }
    // A text literal stores its characters without the terminating zero.
    template <std::size_t M>
    void set_value(const theme_key& key, const char (&text)[M])
    {
        set_value(key, std::string_view(text, M - 1));
    }
    void set_redirect(const theme_key& key, const theme_key& target);

private:
    void store(const theme_key& key, theme_value bytes);
    void notify(const theme_key& key);

    theme_map own_values = make_theme_map();
    theme_redirect_map redirects;
    event_object* owner;
};

} // namespace qvsdk::ui
