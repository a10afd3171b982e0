#pragma once

#include <string>
#include <string_view>

namespace qvsdk {

// UTF-8 inside the program, UTF-16 at every wide Windows call. Invalid input
// becomes replacement characters, as the system conversion does; nothing throws.
std::wstring utf8_to_wide(std::string_view text);
std::string wide_to_utf8(std::wstring_view text);

} // namespace qvsdk
