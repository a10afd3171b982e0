#pragma once

#include "toolkit/rect.h"

#include <windows.h>
#include <imm.h>

#include <cstdint>
#include <string>

namespace qvsdk::ui {

class window;

// Follows the system's input-method composition for one window and raises
// event 55 on its focused widget: 0 started, 1 changed, 2 committed.
class ime_context {
public:
    explicit ime_context(HWND window_handle);

    void on_input_language_changed();
    void place_candidate_window();
    bool update_composition(LPARAM lparam, DWORD kind);
    void read_composition_string(HIMC context, DWORD kind);

    void on_start_composition(window& w);
    void on_end_composition(window& w, LPARAM lparam);
    void on_composition(window& w, LPARAM lparam);
    // The modal loop records each key pressed while composing.
    void record_key(HWND target);

    const std::wstring& text() const { return composition; }
    bool is_composing() const { return composing; }
    std::int32_t cursor() const { return cursor_position; }
    void set_caret(const rect& r) { caret = r; }

private:
    std::wstring composition;
    bool composing = false;
    bool converting = false;
    HKL layout = nullptr;
    bool is_input_method = false;
    rect caret;
    HWND hwnd;
    std::uint32_t recorded_key = 0;
    std::uint32_t recorded_char = 0;
    std::int32_t cursor_position = 0;
};

// Where the caret goes inside a composition being converted, after a key.
std::int32_t converting_cursor(std::int32_t cursor, std::int32_t length, std::uint32_t key);

} // namespace qvsdk::ui
