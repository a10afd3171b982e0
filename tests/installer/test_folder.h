#pragma once

#include <windows.h>

#include <string>
#include <vector>

// A fresh folder under the temporary folder, removed with everything in it.
class test_folder {
public:
    explicit test_folder(const std::wstring& tag);
    ~test_folder();
    test_folder(const test_folder&) = delete;
    test_folder& operator=(const test_folder&) = delete;

    const std::wstring& path() const { return root; }
    // Makes a folder (and its parents) below the root and returns its path.
    std::wstring make(const std::wstring& relative) const;

private:
    std::wstring root;
};

std::vector<unsigned char> read_file(const std::wstring& path);
void write_file(const std::wstring& path, const std::string& bytes);
bool file_exists(const std::wstring& path);
std::vector<unsigned char> built_module();
// Where the installer puts the module in a plug-in folder.
std::wstring module_in(const std::wstring& folder);

// A registry tree under HKEY_LOCAL_MACHINE, deleted when the object goes.
class registry_tree {
public:
    explicit registry_tree(std::wstring path);
    ~registry_tree();
    registry_tree(const registry_tree&) = delete;
    registry_tree& operator=(const registry_tree&) = delete;

    const std::wstring& path() const { return root; }
    // Creates subkey with the value (REG_SZ unless another type is given).
    void set(const std::wstring& subkey, const std::wstring& name, const std::wstring& value, DWORD type = REG_SZ);
    void add_key(const std::wstring& subkey);

private:
    std::wstring root;
};
