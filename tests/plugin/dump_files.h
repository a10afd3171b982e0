#pragma once
// Where translated faults leave their minidumps, and the file a message names.
#include <gtest/gtest.h>

#include <shlobj.h>
#include <windows.h>

#include <string>

inline std::wstring documents_dump_folder()
{
    wchar_t documents[MAX_PATH + 1] = {};
    SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, documents);
    return std::wstring(documents) + L"\\Quorvane\\Error Logs";
}

// How many dumps the folder holds; `remove` deletes each one counted.
inline int dumps_in(const std::wstring& folder, bool remove = false)
{
    int count = 0;
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW((folder + L"\\*.dmp").c_str(), &found);
    for (bool more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileW(search, &found)) {
        ++count;
        if (remove)
            DeleteFileW((folder + L"\\" + found.cFileName).c_str());
    }
    if (search != INVALID_HANDLE_VALUE)
        FindClose(search);
    return count;
}

// The path after the message's two line feeds (a debugger line's own line feed dropped).
inline std::wstring named_dump(const std::string& message)
{
    const std::size_t at = message.find("\n\n");
    std::string path = at == std::string::npos ? std::string() : message.substr(at + 2);
    if (!path.empty() && path.back() == '\n')
        path.pop_back();
    std::wstring wide(path.size(), L'\0');
    const int n = int(path.size());
    wide.resize(MultiByteToWideChar(CP_UTF8, 0, path.data(), n, &wide[0], n));
    return wide;
}

// The dump exists, is not empty, and is removed again.
inline void expect_dump(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    ASSERT_TRUE(GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        << "no dump at \"" << path << "\"";
    EXPECT_GT(data.nFileSizeLow, 0u);
    DeleteFileW(path.c_str());
}
