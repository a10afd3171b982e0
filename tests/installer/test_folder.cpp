#include "test_folder.h"

#include "toolkit/path.h"
#include "toolkit/text_encoding.h"

#include <shellapi.h>

#include <fstream>
#include <iterator>

test_folder::test_folder(const std::wstring& tag)
{
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    root = qvsdk::join_path(temp, L"qvinstaller-" + tag + L"-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                                      std::to_wstring(GetTickCount()));
    qvsdk::create_folder_tree(root);
}

test_folder::~test_folder()
{
    std::wstring from = root;
    from.push_back(L'\0'); // the list ends with two zeros
    SHFILEOPSTRUCTW op{};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NO_UI;
    SHFileOperationW(&op);
}

std::wstring test_folder::make(const std::wstring& relative) const
{
    const std::wstring p = qvsdk::join_path(root, relative);
    qvsdk::create_folder_tree(p);
    return p;
}

std::vector<unsigned char> read_file(const std::wstring& path)
{
    std::vector<unsigned char> bytes;
    HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE)
        return bytes;
    const DWORD size = GetFileSize(f, nullptr);
    bytes.resize(size);
    DWORD got = 0;
    if (size && !ReadFile(f, bytes.data(), size, &got, nullptr))
        bytes.clear();
    bytes.resize(got);
    CloseHandle(f);
    return bytes;
}

void write_file(const std::wstring& path, const std::string& bytes)
{
    HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(f, bytes.data(), DWORD(bytes.size()), &written, nullptr);
    CloseHandle(f);
}

bool file_exists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<unsigned char> built_module()
{
    return read_file(qvsdk::utf8_to_wide(QV_BUILT_MODULE));
}

registry_tree::registry_tree(std::wstring path) : root(std::move(path))
{
    add_key(L"");
}

registry_tree::~registry_tree()
{
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, root.c_str());
    RegDeleteKeyW(HKEY_LOCAL_MACHINE, root.c_str());
}

void registry_tree::add_key(const std::wstring& subkey)
{
    HKEY key = nullptr;
    const std::wstring full = subkey.empty() ? root : root + L"\\" + subkey;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, full.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) ==
        ERROR_SUCCESS)
        RegCloseKey(key);
}

void registry_tree::set(const std::wstring& subkey, const std::wstring& name, const std::wstring& value, DWORD type)
{
    HKEY key = nullptr;
    const std::wstring full = root + L"\\" + subkey;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, full.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return;
    RegSetValueExW(key, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(value.c_str()),
                   DWORD((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}

std::wstring module_in(const std::wstring& folder)
{
    return qvsdk::join_path(qvsdk::join_path(folder, L"Quorvane"), L"QVVesk.aex");
}
