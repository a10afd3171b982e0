#include "installer/plugin_installer.h"

#include "installer/install_status.h"
#include "installer/module_file.h"
#include "installer/version_label.h"

#include "toolkit/path.h"

#include <shlobj.h>
#include <shlwapi.h>

namespace {

constexpr std::size_t catalogue_slots = 12;

// Closes a registry key when it goes.
class registry_key {
public:
    registry_key(HKEY parent, const std::wstring& path, REGSAM access)
    {
        if (RegOpenKeyExW(parent, path.c_str(), 0, access, &key) != ERROR_SUCCESS)
            key = nullptr;
    }
    ~registry_key()
    {
        if (key)
            RegCloseKey(key);
        key = nullptr;
    }
    registry_key(const registry_key&) = delete;
    registry_key& operator=(const registry_key&) = delete;
    HKEY get() const { return key; }

private:
    HKEY key = nullptr;
};

// The slot a subkey name fills: -1 passed over, -2 beyond the catalogue.
int slot_of(const std::wstring& name)
{
    static const wchar_t* const skipped[] = {L"8.0", L"9.0", L"10.0", L"10.5", L"11"};
    for (const wchar_t* s : skipped)
        if (name == s)
            return -1;
    static const struct {
        const wchar_t* name;
        int slot;
    } known[] = {{L"12", 5}, {L"13", 6}, {L"13.5", 7}, {L"13.8", 8}, {L"14.0", 9}, {L"15.0", 10}};
    for (const auto& k : known)
        if (name == k.name)
            return k.slot;
    return -2;
}

// "C:\..." or "\\server\...": anything else depends on the current drive or
// folder, where no host looks for plug-ins.
bool is_absolute_folder(const std::wstring& folder)
{
    if (folder.size() >= 2 && folder[0] == L'\\' && folder[1] == L'\\')
        return true;
    const wchar_t drive = wchar_t(folder.empty() ? 0 : folder[0] | 0x20);
    return folder.size() >= 3 && drive >= L'a' && drive <= L'z' && folder[1] == L':' && folder[2] == L'\\';
}

} // namespace

std::wstring shell_common_app_data()
{
    wchar_t path[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_COMMON_APPDATA, nullptr, 0, path)))
        return {};
    return path;
}

PluginInstaller::PluginInstaller()
    : version_names{"CS3", "CS4", "CS5", "CS55", "CS6", "CC", "CC2014", "CC2015", "CC2015.3", "CC2017", "CC2018",
                    "Custom"},
      common_app_data(shell_common_app_data), cells(catalogue_slots)
{
}

std::vector<std::wstring> PluginInstaller::find_versions()
{
    std::vector<std::wstring> folders(catalogue_slots);
    BOOL wow64 = FALSE;
    IsWow64Process(GetCurrentProcess(), &wow64);
    scan(KEY_READ, folders);
    if (wow64)
        scan(KEY_READ | KEY_WOW64_64KEY, folders);
    return folders;
}

void PluginInstaller::scan(REGSAM access, std::vector<std::wstring>& folders)
{
    registry_key root(HKEY_LOCAL_MACHINE, registry_path, access);
    if (!root.get())
        return;
    DWORD subkeys = 0;
    if (RegQueryInfoKeyW(root.get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, nullptr, nullptr,
                         nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        return;
    for (DWORD i = 0; i < subkeys; ++i) {
        wchar_t name[255];
        DWORD name_length = 255;
        if (RegEnumKeyExW(root.get(), i, name, &name_length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            continue;
        wchar_t value[255];
        DWORD value_bytes = sizeof(value);
        if (SHRegGetValueW(root.get(), name, L"PluginInstallPath", SRRF_RT_REG_SZ, nullptr, value, &value_bytes) !=
            ERROR_SUCCESS)
            continue;
        const std::wstring subkey(name, name_length);
        const std::wstring folder = with_backslashes(value);
        const int slot = slot_of(subkey);
        if (slot == -1 || !is_absolute_folder(folder))
            continue;
        if (slot >= 0) {
            folders[std::size_t(slot)] = folder;
        } else {
            folders.push_back(folder);
            version_names.push_back(version_label_from_path(folder));
        }
    }
}

void PluginInstaller::prepare_run(std::size_t target_count)
{
    std::vector<std::atomic<std::int32_t>> resized(target_count);
    for (std::size_t i = 0; i < target_count && i < cells.size(); ++i)
        resized[i].store(cells[i].load());
    cells.swap(resized);
    done.store(false, std::memory_order_release);
}

std::vector<std::int32_t> PluginInstaller::statuses() const
{
    std::vector<std::int32_t> copy;
    copy.reserve(cells.size());
    for (const auto& cell : cells)
        copy.push_back(cell.load(std::memory_order_acquire));
    return copy;
}

float PluginInstaller::module_megabytes() const
{
    HRSRC found = FindResourceW(resource_module, MAKEINTRESOURCEW(400), MAKEINTRESOURCEW(10));
    if (!found)
        return 0.0f;
    return float(double(SizeofResource(resource_module, found)) / (1024.0 * 1024.0));
}

std::int32_t PluginInstaller::install_one(const std::wstring& folder, std::size_t index) const
{
    std::wstring path = qvsdk::join_path(folder, L"Quorvane");
    CreateDirectoryW(path.c_str(), nullptr);
    path = qvsdk::join_path(path, L"QVVesk.aex");
    HRSRC found = FindResourceW(resource_module, MAKEINTRESOURCEW(400), MAKEINTRESOURCEW(10));
    if (!found)
        return status_resource_missing;
    HGLOBAL loaded = LoadResource(resource_module, found);
    if (!loaded)
        return status_resource_not_loaded;
    return write_module_file(path, LockResource(loaded), SizeofResource(resource_module, found), [&] {
        if (before_rename)
            before_rename(index);
    });
}

void PluginInstaller::install(std::vector<std::wstring> folders)
{
    done.store(false, std::memory_order_release);
    for (std::size_t i = 0; i < folders.size() && i < cells.size(); ++i) {
        if (folders[i].empty())
            continue;
        cells[i].store(status_in_progress, std::memory_order_release);
        const std::int32_t code = install_one(folders[i], i);
        if (before_result)
            before_result(i);
        cells[i].store(code, std::memory_order_release);
    }
    // Without the folder nothing is made: a relative path would land in the
    // current directory.
    const std::wstring app_data = common_app_data ? with_backslashes(common_app_data()) : std::wstring();
    if (!app_data.empty())
        qvsdk::create_folder_tree(qvsdk::join_path(app_data, L"Quorvane"));
    done.store(true, std::memory_order_release);
}
