#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// The install model: the host versions found, and one status cell per target
// that the worker writes and the window polls.
class PluginInstaller {
public:
    PluginInstaller();

    // Scans the registry for installations; one folder entry per catalogue
    // slot (empty when not found or not an absolute folder), then one per
    // installation beyond it, whose labels are appended to version_names.
    std::vector<std::wstring> find_versions();

    // The worker: writes the module into every non-empty folder, then makes
    // the application-data folder, then sets done.
    void install(std::vector<std::wstring> folders);

    // Window thread only, while no worker runs: sizes the cells (kept cells
    // keep their codes) and clears done.
    void prepare_run(std::size_t target_count);
    std::vector<std::int32_t> statuses() const;
    bool is_done() const { return done.load(std::memory_order_acquire); }

    // Megabytes of the carried module (0 when the resource is missing).
    float module_megabytes() const;

    std::vector<std::string> version_names;

    // Where the scan looks, under HKEY_LOCAL_MACHINE.
    std::wstring registry_path = L"SOFTWARE\\Adobe\\After Effects";
    // The module that carries the effect module as resource 400.
    HMODULE resource_module = GetModuleHandleW(nullptr);
    // The machine's common application-data folder; empty when unknown.
    std::function<std::wstring()> common_app_data;
    // Called by the worker with a target's index after it has worked on the
    // target and before it stores the result (tests hold the worker there).
    std::function<void(std::size_t)> before_result;
    // Called by the worker with a target's index once the new module is
    // written beside the old one and before it replaces it.
    std::function<void(std::size_t)> before_rename;

private:
    void scan(REGSAM access, std::vector<std::wstring>& folders);
    std::int32_t install_one(const std::wstring& folder, std::size_t index) const;

    std::atomic<bool> done{false};
    std::vector<std::atomic<std::int32_t>> cells;
};

// SHGetFolderPathW's common application-data folder, or empty.
std::wstring shell_common_app_data();
