#pragma once

#include "plugin/message_popup.h"

#include <windows.h>

#include <string>

// A stand-in for the host's main window: a plain visible window at (0, 400),
// 600 x 400, clear of the toolkit tests' windows, so that the effect's windows
// centre on it.
class host_main_window {
public:
    host_main_window();
    ~host_main_window();
    host_main_window(const host_main_window&) = delete;
    host_main_window& operator=(const host_main_window&) = delete;
    HWND handle() const { return hwnd; }

private:
    HWND hwnd = nullptr;
};

// The visible top-level window of this process with this title, waited for.
HWND wait_for_window(const std::wstring& title, int timeout_ms);
// The message popup behind a native window of this process, or null.
qvsdk::ui::message_popup* popup_of(HWND hwnd);
// A client point of a window on the screen.
POINT screen_point(HWND hwnd, int x, int y);
