#include "toolkit/dpi_functions.h"

namespace qvsdk::ui {

namespace {

template <typename F>
F load(HMODULE library, const char* name)
{
    return library ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(library, name))) : nullptr;
}

} // namespace

dpi_functions::dpi_functions() : library(LoadLibraryW(L"User32.dll"))
{
    get_thread_context = load<get_thread_context_fn>(library, "GetThreadDpiAwarenessContext");
    set_thread_context = load<set_thread_context_fn>(library, "SetThreadDpiAwarenessContext");
    get_dpi_for_window = load<get_dpi_for_window_fn>(library, "GetDpiForWindow");
    contexts_equal = load<contexts_equal_fn>(library, "AreDpiAwarenessContextsEqual");
}

dpi_functions::~dpi_functions()
{
    if (library)
        FreeLibrary(library);
}

const dpi_functions& dpi_functions::get()
{
    static const dpi_functions table;
    return table;
}

} // namespace qvsdk::ui
