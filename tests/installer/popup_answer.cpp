#include "popup_answer.h"

#include "widget_input.h"

std::thread answer_with_key(std::function<HWND()> find, WORD key, bool* answered, std::function<void(HWND)> before)
{
    return std::thread([find = std::move(find), key, answered, before = std::move(before)] {
        HWND target = nullptr;
        if (answered)
            *answered = false;
        // Generous: some windows come only after other steps the test waits for.
        if (!pump_until([&] { return (target = find()) && IsWindowVisible(target); }, 30000)) {
            ADD_FAILURE() << "waited for a visible window to answer with key " << key;
            return;
        }
        if (before)
            before(target);
        const auto gone = [target] { return !IsWindowVisible(target); };
        for (int attempt = 0; attempt < 5 && !gone(); ++attempt) {
            // Keys go to the foreground window.
            pump_until([&] { widget_input::focus(target); return GetForegroundWindow() == target || gone(); }, 3000);
            widget_input::key(key);
            pump_until(gone, 3000);
        }
        if (!gone()) {
            ADD_FAILURE() << "waited for the window to go on key " << key << "; closing it";
            PostMessageW(target, WM_CLOSE, 0, 0);
        } else if (answered) {
            *answered = true;
        }
    });
}
