#include "import_patch.h"
#include "test_folder.h"

#include "installer/install_error_message.h"
#include "installer/install_status.h"
#include "installer/module_file.h"
#include "installer/plugin_installer.h"

#include "toolkit/path.h"
#include "toolkit/text_encoding.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct worker : ::testing::Test {
    test_folder root{L"worker"};
    std::wstring app_data = root.make(L"ProgramData");
    PluginInstaller installer;

    void SetUp() override
    {
        installer.common_app_data = [this] { return app_data; };
    }
    std::vector<std::int32_t> run(const std::vector<std::wstring>& folders)
    {
        installer.prepare_run(folders.size());
        installer.install(folders);
        EXPECT_TRUE(installer.is_done());
        return installer.statuses();
    }
};

} // namespace

TEST_F(worker, writes_the_built_module_byte_for_byte_into_every_chosen_folder)
{
    const std::wstring a = root.make(L"A\\Plug-ins");
    const std::wstring b = root.make(L"B\\Plug-ins");
    const std::vector<std::int32_t> codes = run({a, L"", b});
    EXPECT_EQ(codes, (std::vector<std::int32_t>{2, 0, 2}));

    const std::vector<unsigned char> expected = built_module();
    ASSERT_GT(expected.size(), 100000u);
    EXPECT_TRUE(read_file(module_in(a)) == expected);
    EXPECT_TRUE(read_file(module_in(b)) == expected);
    EXPECT_FALSE(file_exists(module_in(a) + L".new"));
    EXPECT_TRUE(file_exists(qvsdk::join_path(app_data, L"Quorvane")));
}

TEST_F(worker, a_failing_target_gets_its_code_and_a_retry_writes_only_what_is_missing)
{
    const std::wstring good = root.make(L"Good");
    const std::wstring bad = root.make(L"Bad");
    // A folder where the module file should go.
    root.make(L"Bad\\Quorvane\\QVVesk.aex");
    EXPECT_EQ(run({good, bad}), (std::vector<std::int32_t>{2, 40}));

    // The retry gets a folder only for the failed target; the installed one
    // keeps its code and its file is not touched again.
    write_file(module_in(good), "marker");
    RemoveDirectoryW(module_in(bad).c_str());
    EXPECT_EQ(run({L"", bad}), (std::vector<std::int32_t>{2, 2}));
    EXPECT_EQ(read_file(module_in(good)), std::vector<unsigned char>({'m', 'a', 'r', 'k', 'e', 'r'}));
    EXPECT_TRUE(read_file(module_in(bad)) == built_module());
}

TEST_F(worker, the_installer_program_carries_the_built_module_and_installs_it)
{
    HMODULE program = LoadLibraryExW(qvsdk::utf8_to_wide(QV_INSTALLER_PROGRAM).c_str(), nullptr,
                                     LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(program, nullptr);
    installer.resource_module = program;
    const std::wstring folder = root.make(L"FromProgram");
    EXPECT_EQ(run({folder}), std::vector<std::int32_t>{2});
    FreeLibrary(program);
    const std::vector<unsigned char> expected = built_module();
    ASSERT_FALSE(expected.empty());
    EXPECT_TRUE(read_file(module_in(folder)) == expected);
}

TEST_F(worker, a_module_without_the_resource_reports_code_20)
{
    installer.resource_module = GetModuleHandleW(L"kernel32.dll");
    const std::wstring folder = root.make(L"NoResource");
    EXPECT_EQ(run({folder}), std::vector<std::int32_t>{20});
    EXPECT_FALSE(file_exists(module_in(folder)));
}

TEST(module_file, a_failed_write_keeps_the_old_module_and_leaves_no_temporary_file)
{
    test_folder root(L"write");
    const std::wstring path = qvsdk::join_path(root.path(), L"QVVesk.aex");
    write_file(path, "old module");

    // The second page of the source cannot be read, so the write stops part way.
    SYSTEM_INFO info{};
    GetSystemInfo(&info);
    const DWORD page = info.dwPageSize;
    auto* memory = static_cast<unsigned char*>(VirtualAlloc(nullptr, 2 * page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    ASSERT_NE(memory, nullptr);
    std::fill(memory, memory + 2 * page, 0x5a);
    DWORD old_protection = 0;
    VirtualProtect(memory + page, page, PAGE_NOACCESS, &old_protection);

    EXPECT_EQ(write_module_file(path, memory, 2 * page), status_write_failed);
    EXPECT_EQ(read_file(path), std::vector<unsigned char>({'o', 'l', 'd', ' ', 'm', 'o', 'd', 'u', 'l', 'e'}));
    EXPECT_FALSE(file_exists(path + L".new"));

    EXPECT_EQ(write_module_file(path, memory, page), status_installed);
    EXPECT_EQ(read_file(path).size(), page);
    VirtualFree(memory, 0, MEM_RELEASE);
}

TEST_F(worker, the_module_size_is_measured_from_the_carried_resource)
{
    const std::vector<unsigned char> module = built_module();
    ASSERT_GT(module.size(), 100000u);
    EXPECT_FLOAT_EQ(installer.module_megabytes(), float(double(module.size()) / (1024.0 * 1024.0)));
    installer.resource_module = GetModuleHandleW(L"kernel32.dll");
    EXPECT_EQ(installer.module_megabytes(), 0.0f);
}

TEST(install_error_message, file_errors_name_the_code_and_every_hint)
{
    const std::string hints = ").\n - Make sure that After Effects is closed\n - Make sure you have enough disk space.\n"
                              " - Make sure you have administrative privileges.";
    EXPECT_EQ(install_error_message(40), "Could not create the plugin file (Error code: 40" + hints);
    EXPECT_EQ(install_error_message(50), "Could not create the plugin file (Error code: 50" + hints);
    EXPECT_EQ(install_error_message(30),
              "Could not load the plugin file from the installer (Error code: 30).\n - The installer file may be corrupt.");
    EXPECT_EQ(install_error_message(2), "Unkown error (2).");
}

TEST(install_error_message, the_failure_notice_names_the_version_and_asks_for_a_retry)
{
    EXPECT_EQ(install_failure_message("CC2018", 50),
              "The installation of QV Vesk Plug-in for After Effects CC2018 failed!\n\n"
              "Could not create the plugin file (Error code: 50).\n - Make sure that After Effects is closed\n"
              " - Make sure you have enough disk space.\n - Make sure you have administrative privileges."
              "\n\nPlease contact support if you continue to have trouble.\n\nDo you want to retry?");
    EXPECT_EQ(install_failure_message("2020", 20),
              "The installation of QV Vesk Plug-in for After Effects 2020 failed!\n\n"
              "Could not load the plugin file from the installer (Error code: 20).\n - The installer file may be corrupt."
              "\n\nPlease contact support if you continue to have trouble.\n\nDo you want to retry?");
}

namespace {

// The file calls of one write_module_file, in order.
std::vector<std::string> file_calls;
BOOL flush_result = TRUE;
void* real_flush = nullptr;
void* real_move = nullptr;

BOOL WINAPI watched_flush(HANDLE file)
{
    file_calls.push_back("flush");
    const BOOL flushed = reinterpret_cast<BOOL(WINAPI*)(HANDLE)>(real_flush)(file);
    return flush_result ? flushed : FALSE;
}

BOOL WINAPI watched_move(LPCWSTR from, LPCWSTR to, DWORD flags)
{
    file_calls.push_back("move");
    return reinterpret_cast<BOOL(WINAPI*)(LPCWSTR, LPCWSTR, DWORD)>(real_move)(from, to, flags);
}

} // namespace

TEST(module_file, the_new_module_reaches_the_disk_before_it_is_renamed_into_place)
{
    test_folder root(L"flush");
    const std::wstring path = qvsdk::join_path(root.path(), L"QVVesk.aex");
    write_file(path, "old module");
    const std::string bytes(70000, 'q');

    import_patch flush("kernel32.dll", "FlushFileBuffers", reinterpret_cast<void*>(&watched_flush));
    import_patch move("kernel32.dll", "MoveFileExW", reinterpret_cast<void*>(&watched_move));
    ASSERT_TRUE(move.found());
    ASSERT_TRUE(flush.found()) << "the module file is never flushed";
    real_flush = flush.original();
    real_move = move.original();

    file_calls.clear();
    flush_result = TRUE;
    EXPECT_EQ(write_module_file(path, bytes.data(), DWORD(bytes.size())), status_installed);
    EXPECT_EQ(file_calls, (std::vector<std::string>{"flush", "move"}));
    EXPECT_EQ(read_file(path).size(), bytes.size());

    // A flush that fails is a failed write: the old module stays.
    write_file(path, "old module");
    file_calls.clear();
    flush_result = FALSE;
    EXPECT_EQ(write_module_file(path, bytes.data(), DWORD(bytes.size())), status_write_failed);
    EXPECT_EQ(file_calls, std::vector<std::string>{"flush"});
    EXPECT_EQ(read_file(path), std::vector<unsigned char>({'o', 'l', 'd', ' ', 'm', 'o', 'd', 'u', 'l', 'e'}));
    EXPECT_FALSE(file_exists(path + L".new"));
    flush_result = TRUE;
}
