#include "plugin/crash_dump.h"

#include "tests/plugin/dump_files.h"
#include "toolkit/text_encoding.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <stdexcept>
#include <string>
#include <thread>

using namespace qvsdk;

namespace {

void write_to_bad_address()
{
    int* volatile bad = reinterpret_cast<int*>(0x10);
    *bad = 1;
}

int divide_by(int divisor)
{
    volatile int d = divisor;
    return 100 / d;
}

// A fault that the translator leaves alone reaches this handler, added after it,
// which resumes at the landing and jumps back to fault_left_alone.
void* landing_buffer[5];
volatile bool expecting_fault = false;

[[noreturn]] void land()
{
    __builtin_longjmp(landing_buffer, 1);
}

LONG CALLBACK catch_left_fault(EXCEPTION_POINTERS* pointers)
{
    if (!expecting_fault || pointers->ExceptionRecord->ExceptionCode != EXCEPTION_ACCESS_VIOLATION)
        return EXCEPTION_CONTINUE_SEARCH;
    expecting_fault = false;
    CONTEXT& context = *pointers->ContextRecord;
    context.Rsp = (context.Rsp & ~DWORD64(15)) - 8;  // as if just called
    context.Rip = reinterpret_cast<DWORD64>(&land);
    return EXCEPTION_CONTINUE_EXECUTION;
}

template <typename Fault>
std::string message_of(Fault fault)
{
    try {
        fault();
    } catch (const std::runtime_error& e) {
        return e.what();
    }
    return "no exception";
}

// True when the fault came through untranslated; else the translated message.
template <typename Fault>
bool fault_left_alone(Fault fault, std::string& translated)
{
    void* handler = AddVectoredExceptionHandler(0, catch_left_fault);
    bool left_alone = true;
    if (__builtin_setjmp(landing_buffer) == 0) {
        expecting_fault = true;
        translated = message_of(fault);
        left_alone = false;
    }
    expecting_fault = false;
    RemoveVectoredExceptionHandler(handler);
    return left_alone;
}

} // namespace

TEST(CrashDumpNames, FolderAndFileFollowTheProductTag)
{
    EXPECT_EQ(crash_dump_folder(L"C:\\Users\\me\\Documents"),
              L"C:\\Users\\me\\Documents\\Quorvane\\Error Logs");
    SYSTEMTIME time{};
    time.wYear = 2026;
    time.wMonth = 3;
    time.wDay = 7;
    time.wHour = 9;
    time.wMinute = 5;
    time.wSecond = 3;
    EXPECT_EQ(crash_dump_file_name(L"D:\\logs", time, 4120, 77),
              L"D:\\logs\\QV Vesk_v1.0.74-20260307-090503-4120-77.dmp");
    const std::string message = crash_dump_message(L"D:\\logs\\x.dmp");
    EXPECT_EQ(message.substr(message.size() - 16), ":\n\nD:\\logs\\x.dmp");
    EXPECT_NE(message.find("support@"), std::string::npos);
}

TEST(CrashDumpTranslator, FaultOnAHostThreadWritesADumpIntoAFreshFolderTree)
{
    // A fresh machine: neither the maker's folder nor its log folder exists.
    const std::wstring folder = documents_dump_folder();
    dumps_in(folder, true);
    RemoveDirectoryW(folder.c_str());
    RemoveDirectoryW((folder.substr(0, folder.rfind(L'\\'))).c_str());
    ASSERT_EQ(GetFileAttributesW(folder.c_str()), INVALID_FILE_ATTRIBUTES)
        << "old dumps left in " << wide_to_utf8(folder);

    install_crash_dump_translator();
    crash_dump_scope inside_command;
    const std::string message = message_of(write_to_bad_address);
    const std::wstring dump = named_dump(message);
    EXPECT_EQ(dump.rfind(folder + L"\\QV Vesk_v1.0.74-", 0), 0u) << message;
    expect_dump(dump);

    // The process goes on, and the next fault is translated as well.
    const std::string second = message_of([] {
        volatile int quotient = divide_by(0);
        (void)quotient;
    });
    expect_dump(named_dump(second));
}

TEST(CrashDumpTranslator, EachThreadInstallsItsOwn)
{
    std::string message;
    std::thread worker([&] {
        crash_dump_thread translated;
        message = message_of(write_to_bad_address);
    });
    worker.join();
    const std::wstring dump = named_dump(message);
    const std::wstring thread_part = L"-" + std::to_wstring(GetCurrentThreadId()) + L".dmp";
    EXPECT_EQ(dump.find(thread_part), std::wstring::npos) << "named after the wrong thread";
    expect_dump(dump);
}

TEST(CrashDumpTranslator, DirectCallWritesWithoutExceptionPointers)
{
    const std::string message = message_of([] { crash_dump_translator(0xC0000005u, nullptr); });
    expect_dump(named_dump(message));
}

TEST(CrashDumpTranslator, LeavesFaultsOutsideCommandsAndOutsideTheModuleAlone)
{
    const std::wstring folder = documents_dump_folder();
    const int dumps = dumps_in(folder);
    install_crash_dump_translator();
    {
        // The system's own probe faults inside the system and handles it itself.
        crash_dump_scope inside_command;
        EXPECT_TRUE(IsBadReadPtr(reinterpret_cast<void*>(0x10), 4));
        EXPECT_TRUE(IsBadWritePtr(reinterpret_cast<void*>(0x10), 4));
    }
    EXPECT_EQ(dumps_in(folder), dumps);
    // Registered, but not inside a command or job: the fault is not ours to take.
    std::string message;
    EXPECT_TRUE(fault_left_alone(write_to_bad_address, message)) << message;
    {
        crash_dump_scope inside_command;
        EXPECT_FALSE(fault_left_alone(write_to_bad_address, message));
        expect_dump(named_dump(message));
    }

    // After the registration is cleared nothing is translated, even inside a command.
    remove_crash_dump_translator();
    {
        crash_dump_scope inside_command;
        EXPECT_TRUE(fault_left_alone(write_to_bad_address, message)) << message;
        EXPECT_TRUE(IsBadReadPtr(reinterpret_cast<void*>(0x10), 4));
    }
    EXPECT_EQ(dumps_in(folder), dumps);
}
