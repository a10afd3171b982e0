#include "plugin/crash_dump.h"

#include "toolkit/path.h"
#include "toolkit/text_encoding.h"

#include <dbghelp.h>
#include <shlobj.h>

#include <cstdint>
#include <cstdio>
#include <cwchar>
#include <mutex>
#include <stdexcept>

extern "C" void qv_fault_trampoline();
extern "C" [[noreturn]] void qv_throw_pending_fault();

namespace qvsdk {
namespace {

const wchar_t product_name[] = L"QV Vesk";
constexpr int version_major = 1;
constexpr int version_minor = 0;
constexpr int version_build = 74;

thread_local bool translating = false;
thread_local int module_work = 0;  // commands and jobs the thread is inside
thread_local bool writing_dump = false;
thread_local std::string pending_message;

std::wstring base_folder()
{
    wchar_t path[MAX_PATH + 1] = {};
    if (SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, path)))
        return path;
    path[0] = L'\0';
    GetTempPathW(MAX_PATH, path);
    return path;
}

// Writes the dump and returns the message naming it; each step goes on whatever
// the one before gave, so the user always learns where the dump was meant to be.
std::string write_dump(EXCEPTION_POINTERS* pointers)
{
    SYSTEMTIME time{};
    GetLocalTime(&time);
    const std::wstring folder = crash_dump_folder(base_folder());
    // The maker's folder may not exist yet on a fresh machine.
    create_folder_tree(folder);
    const std::wstring file_name =
        crash_dump_file_name(folder, time, GetCurrentProcessId(), GetCurrentThreadId());

    HANDLE file = CreateFileW(file_name.c_str(), GENERIC_READ | GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, CREATE_ALWAYS, 0,
                              nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        MINIDUMP_EXCEPTION_INFORMATION exception{};
        exception.ThreadId = GetCurrentThreadId();
        exception.ExceptionPointers = pointers;
        exception.ClientPointers = TRUE;
        MiniDumpWriteDump(GetCurrentProcess(), GetCurrentProcessId(), file, MiniDumpWithDataSegs,
                          pointers ? &exception : nullptr, nullptr, nullptr);
        CloseHandle(file);
    }
    return crash_dump_message(file_name);
}

bool is_translated_fault(const EXCEPTION_RECORD& record)
{
    const DWORD code = record.ExceptionCode;
    if ((code & 0xC0000000u) != 0xC0000000u)
        return false;  // informational and warning codes (debug output and the like)
    if (code & 0x20000000u)
        return false;  // software exceptions raised by runtimes
    if (code == EXCEPTION_STACK_OVERFLOW)
        return false;  // nothing can run on the exhausted stack
    return (record.ExceptionFlags & EXCEPTION_NONCONTINUABLE) == 0;
}

// The module's image: faults elsewhere (the host, the system, other modules)
// belong to code that may handle them itself.
std::uintptr_t image_begin = 0;
std::uintptr_t image_end = 0;

bool in_module_image(DWORD64 address)
{
    return address >= image_begin && address < image_end;
}

LONG CALLBACK translate_fault(EXCEPTION_POINTERS* pointers)
{
    // A fault while the dump is being written goes to whoever else handles it.
    if (!translating || module_work == 0 || writing_dump ||
        !is_translated_fault(*pointers->ExceptionRecord) ||
        !in_module_image(pointers->ContextRecord->Rip))
        return EXCEPTION_CONTINUE_SEARCH;
    writing_dump = true;
    pending_message = write_dump(pointers);
    writing_dump = false;

    // Resume in the trampoline as if the faulting instruction had called it: the
    // return address points inside that instruction, so the unwinder finds the
    // faulting frame and its handlers (-fnon-call-exceptions covers the instruction).
    CONTEXT& context = *pointers->ContextRecord;
    context.Rsp -= 8;
    *reinterpret_cast<DWORD64*>(context.Rsp) = context.Rip + 1;
    context.Rip = reinterpret_cast<DWORD64>(&qv_fault_trampoline);
    return EXCEPTION_CONTINUE_EXECUTION;
}

} // namespace

} // namespace qvsdk

extern "C" void qv_throw_pending_fault()
{
    std::string message;
    message.swap(qvsdk::pending_message);
    throw std::runtime_error(message);
}

// Realigns the stack (a fault can come at any alignment) and throws; its frame
// pointer lets the unwinder step back over the realignment.
__asm__(
    ".text\n"
    ".globl qv_fault_trampoline\n"
    ".def qv_fault_trampoline; .scl 2; .type 32; .endef\n"
    ".seh_proc qv_fault_trampoline\n"
    "qv_fault_trampoline:\n"
    "    pushq %rbp\n"
    "    .seh_pushreg %rbp\n"
    "    movq %rsp, %rbp\n"
    "    .seh_setframe %rbp, 0\n"
    "    .seh_endprologue\n"
    "    andq $-16, %rsp\n"
    "    subq $32, %rsp\n"
    "    call qv_throw_pending_fault\n"
    "    int3\n"
    ".seh_endproc\n");

namespace qvsdk {

namespace {

// The handler's code goes with the module: it is removed when the module is
// unloaded, before the libraries it loaded are, whose own unloading may raise
// and handle faults of its own.
struct installed_handler {
    std::mutex mutex;
    void* handle = nullptr;
    int registrations = 0;  // threads registered now
    ~installed_handler()
    {
        if (handle)
            RemoveVectoredExceptionHandler(handle);
    }
};

installed_handler& handler()
{
    static installed_handler instance;
    return instance;
}

void find_module_image()
{
    HMODULE module = nullptr;
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            reinterpret_cast<LPCWSTR>(&translate_fault), &module))
        return;
    const auto* base = reinterpret_cast<const unsigned char*>(module);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    image_begin = reinterpret_cast<std::uintptr_t>(base);
    image_end = image_begin + nt->OptionalHeader.SizeOfImage;
}

} // namespace

void install_crash_dump_translator()
{
    static std::once_flag found;
    std::call_once(found, find_module_image);
    if (translating)
        return;
    installed_handler& installed = handler();
    std::lock_guard<std::mutex> lock(installed.mutex);
    if (installed.registrations++ == 0)
        installed.handle = AddVectoredExceptionHandler(1, translate_fault);
    translating = true;
}

void remove_crash_dump_translator()
{
    if (!translating)
        return;
    translating = false;
    installed_handler& installed = handler();
    std::lock_guard<std::mutex> lock(installed.mutex);
    if (--installed.registrations == 0 && installed.handle) {
        RemoveVectoredExceptionHandler(installed.handle);
        installed.handle = nullptr;
    }
}

crash_dump_scope::crash_dump_scope()
{
    ++module_work;
}

crash_dump_scope::~crash_dump_scope()
{
    --module_work;
}

void crash_dump_translator(unsigned /*code*/, EXCEPTION_POINTERS* pointers)
{
    throw std::runtime_error(write_dump(pointers));
}

std::wstring crash_dump_folder(const std::wstring& base)
{
    wchar_t folder[512] = {};
    std::swprintf(folder, 512, L"%ls\\Quorvane\\Error Logs", base.c_str());
    return folder;
}

std::wstring crash_dump_file_name(const std::wstring& folder, const SYSTEMTIME& time,
                                  unsigned long process, unsigned long thread)
{
    wchar_t tag[64] = {};
    std::swprintf(tag, 64, L"%ls_v%d.%d.%d", product_name, version_major, version_minor,
                  version_build);
    wchar_t name[512] = {};
    std::swprintf(name, 512, L"%ls\\%ls-%04d%02d%02d-%02d%02d%02d-%ld-%ld.dmp", folder.c_str(), tag,
                  time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute, time.wSecond,
                  static_cast<long>(process), static_cast<long>(thread));
    return name;
}

std::string crash_dump_message(const std::wstring& dump_file)
{
    wchar_t message[1024] = {};
    std::swprintf(message, 1024,
                  L"Please compress this file and send it to Quorvane support "
                  L"(support@quorvane.com):\n\n%ls",
                  dump_file.c_str());
    return wide_to_utf8(message);
}

} // namespace qvsdk
