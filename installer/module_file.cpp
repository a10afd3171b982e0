#include "installer/module_file.h"

#include "installer/install_status.h"

namespace {

// Closes the handle and, unless kept, deletes the temporary file.
class temporary_file {
public:
    explicit temporary_file(std::wstring p) : path(std::move(p))
    {
        handle = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    }
    ~temporary_file()
    {
        close();
        if (!kept)
            DeleteFileW(path.c_str());
    }
    temporary_file(const temporary_file&) = delete;
    temporary_file& operator=(const temporary_file&) = delete;

    bool is_open() const { return handle != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return handle; }
    bool close()
    {
        if (handle == INVALID_HANDLE_VALUE)
            return true;
        const bool ok = CloseHandle(handle) != 0;
        handle = INVALID_HANDLE_VALUE;
        return ok;
    }
    void keep() { kept = true; }

private:
    std::wstring path;
    HANDLE handle = INVALID_HANDLE_VALUE;
    bool kept = false;
};

} // namespace

std::int32_t write_module_file(const std::wstring& path, const void* data, DWORD byte_count,
                               const std::function<void()>& before_rename)
{
    const std::wstring temporary = path + L".new";
    temporary_file file(temporary);
    if (!file.is_open())
        return status_file_not_created;
    DWORD written = 0;
    const bool wrote = WriteFile(file.get(), data, byte_count, &written, nullptr) != 0;
    // A short write is a failed write. The data reaches the disk before the
    // rename, so a power loss never leaves a renamed but incomplete module.
    if (!wrote || written != byte_count || !FlushFileBuffers(file.get()) || !file.close())
        return status_write_failed;
    if (before_rename)
        before_rename();
    if (!MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return status_file_not_created;
    file.keep();
    return status_installed;
}
