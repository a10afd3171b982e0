#include "installer/version_label.h"

#include "toolkit/path.h"
#include "toolkit/text_encoding.h"

#include <algorithm>
#include <cctype>

std::string version_label_from_path(const std::wstring& plugin_folder)
{
    if (plugin_folder.empty())
        return {};
    std::string name = qvsdk::wide_to_utf8(qvsdk::file_name(qvsdk::parent_folder(qvsdk::parent_folder(plugin_folder))));
    const std::string marker = "After Effects";
    const std::size_t at = name.rfind(marker);
    if (at != std::string::npos && at + marker.size() < name.size())
        name = name.substr(at + marker.size());
    // Without the marker the whole folder name is the label.
    name.erase(std::remove_if(name.begin(), name.end(),
                              [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }),
               name.end());
    return name;
}

std::wstring with_backslashes(std::wstring path)
{
    std::replace(path.begin(), path.end(), L'/', L'\\');
    return path;
}
