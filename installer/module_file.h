#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

// Writes the bytes as the file at path: into a temporary file beside it
// first, which replaces the old file only once every byte is written, so a
// failed write leaves the old file as it was. Returns an install status:
// installed, file not created or write failed. before_rename runs once the
// temporary file holds every byte (tests hold the writer there).
std::int32_t write_module_file(const std::wstring& path, const void* data, DWORD byte_count,
                               const std::function<void()>& before_rename = {});
