#include "popup_answer.h"

#include "widget_input.h"

std::thread answer_with_key(std::function<HWND()> find, WORD key, bool* answered, std::function<void(HWND)> before)
{
    return std::thread([find = std::move(find), key, answered, before = std::move(before)] {
        HWND target = nullptr;
        for (int i = 0; i < 500 && !target; ++i) {
            HWND w = find();
            if (w && IsWindowVisible(w))
                target = w;
            else
                Sleep(20);
        }
        if (answered)
            *answered = false;
        if (!target)
            return;
        Sleep(300);
        if (before)
            before(target);
        for (int attempt = 0; attempt < 10 && IsWindowVisible(target); ++attempt) {
            widget_input::focus(target);
            widget_input::key(key);
            Sleep(500);
        }
        if (IsWindowVisible(target)) {
            PostMessageW(target, WM_CLOSE, 0, 0);
            return;
        }
        if (answered)
            *answered = true;
    });
}
