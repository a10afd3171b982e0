#pragma once

#include <windows.h>

#include <string>

namespace qvsdk {

// Makes structured exceptions (access violations, division by zero, ...) on the
// calling thread write a minidump and continue as a std::runtime_error whose
// message names the dump file. Per thread; other threads are left alone. Only a
// fault of the module's own code (its instruction inside the module's image) while
// the thread is inside a crash_dump_scope is translated: faults that the host, the
// system or other modules raise and handle themselves are left to them. Code that
// may fault must be built with -fnon-call-exceptions so that it can unwind.
void install_crash_dump_translator();
// Clears the calling thread's registration; with none left nothing of the module
// watches faults any more.
void remove_crash_dump_translator();

// Marks the calling thread as running one of the module's commands or jobs.
class crash_dump_scope {
public:
    crash_dump_scope();
    ~crash_dump_scope();
    crash_dump_scope(const crash_dump_scope&) = delete;
    crash_dump_scope& operator=(const crash_dump_scope&) = delete;
};

// A thread of the module's own whose every step is the module's work: registered
// and inside a scope for the object's life.
class crash_dump_thread {
public:
    crash_dump_thread() { install_crash_dump_translator(); }
    ~crash_dump_thread() { remove_crash_dump_translator(); }
    crash_dump_thread(const crash_dump_thread&) = delete;
    crash_dump_thread& operator=(const crash_dump_thread&) = delete;

private:
    crash_dump_scope inside;
};

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
