#pragma once

#include <windows.h>

namespace qvsdk::ui {

// The per-monitor DPI functions of User32, loaded at run time; an entry is
// null on a system that lacks it, and callers then keep the screen DPI.
struct dpi_functions {
    using get_thread_context_fn = DPI_AWARENESS_CONTEXT(WINAPI*)();
    using set_thread_context_fn = DPI_AWARENESS_CONTEXT(WINAPI*)(DPI_AWARENESS_CONTEXT);
    using get_dpi_for_window_fn = UINT(WINAPI*)(HWND);
    using contexts_equal_fn = BOOL(WINAPI*)(DPI_AWARENESS_CONTEXT, DPI_AWARENESS_CONTEXT);

    get_thread_context_fn get_thread_context = nullptr;
    set_thread_context_fn set_thread_context = nullptr;
    get_dpi_for_window_fn get_dpi_for_window = nullptr;
    contexts_equal_fn contexts_equal = nullptr;

    static const dpi_functions& get();

    dpi_functions();
    ~dpi_functions();
    dpi_functions(const dpi_functions&) = delete;
    dpi_functions& operator=(const dpi_functions&) = delete;

private:
    HMODULE library = nullptr;
};

} // namespace qvsdk::ui
