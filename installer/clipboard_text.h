#pragma once

#include <windows.h>

#include <string_view>

// Puts a UTF-8 text on the clipboard as Unicode text with its terminating
// zero. False when the clipboard could not be opened or the memory not had.
bool copy_text_to_clipboard(HWND owner, std::string_view text);
