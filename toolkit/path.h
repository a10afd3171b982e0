#pragma once

#include <string>

// Windows paths as UTF-16 with "\" as the only separator; "/" is never looked at.
namespace qvsdk {

// a + "\" + b, with exactly one separator between them; b empty gives a.
std::wstring join_path(std::wstring a, std::wstring b);
// The path without its last component (one trailing "\" ignored).
std::wstring parent_folder(std::wstring path);
// The last component (one trailing "\" ignored).
std::wstring file_name(std::wstring path);
// Creates the folder and every missing parent. True when the folder, or anything
// of that name, exists afterwards; folders made before a failure stay.
bool create_folder_tree(const std::wstring& path);

} // namespace qvsdk
