#pragma once

#include <windows.h>

#include <string>

namespace qvsdk {

// Makes structured exceptions (access violations, division by zero, ...) on the
// calling thread write a minidump and continue as a std::runtime_error whose
// message names the dump file. Per thread; other threads are left alone. Code that
// may fault must be built with -fnon-call-exceptions so that it can unwind.
void install_crash_dump_translator();

// Writes the dump for the fault (pointers may be null) and throws the exception.
[[noreturn]] void crash_dump_translator(unsigned code, EXCEPTION_POINTERS* pointers);

// The dump folder under a base folder: base\Quorvane\Error Logs.
std::wstring crash_dump_folder(const std::wstring& base);
// folder\<product tag>-YYYYMMDD-HHMMSS-<process>-<thread>.dmp
std::wstring crash_dump_file_name(const std::wstring& folder, const SYSTEMTIME& time,
                                  unsigned long process, unsigned long thread);
// The message that sends the user to support with the dump.
std::string crash_dump_message(const std::wstring& dump_file);

} // namespace qvsdk
