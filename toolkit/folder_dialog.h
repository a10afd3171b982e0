#pragma once

#include <string>
#include <string_view>

namespace qvsdk::ui {

class window;

// The shell's modal folder picker. Returns the chosen folder with "\"
// separators, or an empty string when cancelled; other failures throw
// qv_exception. The calling thread must have COM initialised.
std::wstring folder_dialog(window* owner, std::string_view title, const std::wstring& start_folder);

} // namespace qvsdk::ui
