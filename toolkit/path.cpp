#include "toolkit/path.h"

#include <cerrno>
#include <direct.h>
#include <utility>
#include <vector>

namespace qvsdk {

namespace {

void drop_trailing_separator(std::wstring& path)
{
    if (!path.empty() && path.back() == L'\\')
        path.pop_back();
}

} // namespace

std::wstring join_path(std::wstring a, std::wstring b)
{
    if (b.empty())
        return a;
    if (!a.empty() && a.back() != L'\\')
        a += L'\\';
    if (b.front() == L'\\')
        a.append(b, 1, std::wstring::npos);
    else
        a += b;
    return a;
}

std::wstring parent_folder(std::wstring path)
{
    drop_trailing_separator(path);
    const auto at = path.rfind(L'\\');
    if (at == std::wstring::npos)
        return {};
    path.resize(at);
    return path;
}

std::wstring file_name(std::wstring path)
{
    drop_trailing_separator(path);
    const auto at = path.rfind(L'\\');
    if (at == std::wstring::npos)
        return path;
    return path.substr(at + 1);
}

bool create_folder_tree(const std::wstring& path)
{
    if (path.empty())
        return false;

    // Each entry remembers whether its parent has already been made; a folder
    // that is still "missing a parent" after that lies below a file, and trying
    // again would never end.
    struct pending {
        std::wstring path;
        bool parent_done;
    };
    std::vector<pending> stack{{path, false}};
    bool result = false;
    while (!stack.empty()) {
        pending& top = stack.back();
        if (_wmkdir(top.path.c_str()) == 0 || errno == EEXIST) {
            stack.pop_back();
            if (!stack.empty())
                stack.back().parent_done = true;
            result = true;
            continue;
        }
        if (errno != ENOENT || top.parent_done)
            return false;
        std::wstring parent = parent_folder(top.path);
        if (parent.empty())
            return false;
        stack.push_back({std::move(parent), false});
    }
    return result;
}

} // namespace qvsdk
