#pragma once

#include "toolkit/window.h"

#include <windows.h>

#include <mutex>

// The host's main window seen as a toolkit window, so that the effect's modal
// windows can be owned by it. It never creates a window of its own, and going
// away neither destroys nor re-enables the host's window.
class HostWindowOwner : public qvsdk::ui::window {
public:
    explicit HostWindowOwner(HWND host_window);
    ~HostWindowOwner() override;
};

// The toolkit's event registry may serve one thread at a time, yet the host can
// fail commands on several threads at once: every toolkit window of the module
// lives under this one lock, taken before the owner is built and held until both
// are gone. A window shown from within another's loop on the same thread takes it
// again. While a thread waits it still answers messages sent to its own windows,
// which the window holding the lock may own.
std::unique_lock<std::recursive_mutex> hold_module_windows();
