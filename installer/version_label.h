#pragma once

#include <string>

// The label of an installation beyond the catalogue, from its plug-in folder:
// the name two folders up, after its last "After Effects", without white space.
std::string version_label_from_path(const std::wstring& plugin_folder);

// Every "/" turned into "\".
std::wstring with_backslashes(std::wstring path);
