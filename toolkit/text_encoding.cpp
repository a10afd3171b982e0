#include "toolkit/text_encoding.h"

#include <windows.h>

#include <climits>

namespace qvsdk {

std::wstring utf8_to_wide(std::string_view text)
{
    if (text.empty() || text.size() > INT_MAX)
        return {};
    const int length = static_cast<int>(text.size());
    const int needed = MultiByteToWideChar(CP_UTF8, 0, text.data(), length, nullptr, 0);
    if (needed <= 0)
        return {};
    std::wstring wide(static_cast<size_t>(needed), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), length, wide.data(), needed);
    return wide;
}

std::string wide_to_utf8(std::wstring_view text)
{
    if (text.size() >= INT_MAX)
        return {};
    // Converting the terminator too keeps the length query and the copy in step
    // for views that are not terminated; the converted zero is dropped below.
    std::wstring terminated(text);
    const int length = static_cast<int>(terminated.size()) + 1;
    const int needed = WideCharToMultiByte(CP_UTF8, 0, terminated.c_str(), length, nullptr, 0,
                                           nullptr, nullptr);
    if (needed <= 1)
        return {};
    std::string narrow(static_cast<size_t>(needed), '\0');
    WideCharToMultiByte(CP_UTF8, 0, terminated.c_str(), length, narrow.data(), needed, nullptr,
                        nullptr);
    narrow.pop_back();
    return narrow;
}

} // namespace qvsdk
