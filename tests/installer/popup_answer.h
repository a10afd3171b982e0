#pragma once

#include <windows.h>

#include <functional>
#include <thread>

// Plays the user of a modal window from another thread: waits until find()
// gives a visible window, runs before() on it once, then gives it the key
// with the keyboard focus until it goes (other tests' windows may take the
// focus meanwhile). A window that never goes is closed, so that the test
// fails instead of hanging. The thread's result is whether the key did it.
std::thread answer_with_key(std::function<HWND()> find, WORD key, bool* answered,
                            std::function<void(HWND)> before = {});
