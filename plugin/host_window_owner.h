#pragma once

#include "toolkit/window.h"

#include <windows.h>

// The host's main window seen as a toolkit window, so that the effect's modal
// windows can be owned by it. It never creates a window of its own, and going
// away neither destroys nor re-enables the host's window.
class HostWindowOwner : public qvsdk::ui::window {
public:
    explicit HostWindowOwner(HWND host_window);
    ~HostWindowOwner() override;
};
