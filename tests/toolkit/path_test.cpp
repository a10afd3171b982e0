#include "toolkit/path.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>

using qvsdk::create_folder_tree;
using qvsdk::file_name;
using qvsdk::join_path;
using qvsdk::parent_folder;

TEST(PathHelpers, JoinAddsExactlyOneSeparator)
{
    EXPECT_EQ(join_path(L"D:\\x", L"y"), L"D:\\x\\y");
    EXPECT_EQ(join_path(L"D:\\x\\", L"y"), L"D:\\x\\y");
    EXPECT_EQ(join_path(L"D:\\x", L"\\y"), L"D:\\x\\y");
    EXPECT_EQ(join_path(L"", L"\\y"), L"y");
    EXPECT_EQ(join_path(L"D:\\x", L""), L"D:\\x");
    // Only one leading separator of b is removed.
    EXPECT_EQ(join_path(L"D:\\x", L"\\\\y"), L"D:\\x\\\\y");
    // Forward slashes are not separators.
    EXPECT_EQ(join_path(L"D:/x", L"y"), L"D:/x\\y");
}

TEST(PathHelpers, ParentFolderIgnoresOneTrailingSeparator)
{
    EXPECT_EQ(parent_folder(L"D:\\a\\b"), L"D:\\a");
    EXPECT_EQ(parent_folder(L"D:\\a\\b\\"), L"D:\\a");
    EXPECT_EQ(parent_folder(L"D:\\a"), L"D:");
    EXPECT_EQ(parent_folder(L"D:"), L"");
    EXPECT_EQ(parent_folder(L""), L"");
    EXPECT_EQ(parent_folder(L"\\a"), L"");
    EXPECT_EQ(parent_folder(L"a/b/c"), L"");
}

TEST(PathHelpers, FileNameIsTheLastComponent)
{
    EXPECT_EQ(file_name(L"D:\\a\\b\\"), L"b");
    EXPECT_EQ(file_name(L"D:\\a\\QVVesk.aex"), L"QVVesk.aex");
    EXPECT_EQ(file_name(L"plain"), L"plain");
    EXPECT_EQ(file_name(L"\\a"), L"a");
    EXPECT_EQ(file_name(L""), L"");
}

namespace {

bool is_folder(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

class FolderTree : public ::testing::Test {
protected:
    void SetUp() override
    {
        wchar_t temp[MAX_PATH];
        ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
        static int serial = 0;
        root = join_path(temp, L"qv-folder-tree-" + std::to_wstring(GetCurrentProcessId()) +
                                   L"-" + std::to_wstring(++serial));
        ASSERT_FALSE(is_folder(root));
    }
    void TearDown() override
    {
        std::error_code ignored;
        std::filesystem::remove_all(std::filesystem::path(root), ignored);
    }
    std::wstring root;
};

} // namespace

TEST_F(FolderTree, CreatesEveryMissingLevelAndAcceptsExistingOnes)
{
    const std::wstring deep = join_path(root, L"a\\b\\c");
    EXPECT_TRUE(create_folder_tree(deep));
    EXPECT_TRUE(is_folder(join_path(root, L"a")));
    EXPECT_TRUE(is_folder(join_path(root, L"a\\b")));
    EXPECT_TRUE(is_folder(deep));
    EXPECT_TRUE(create_folder_tree(deep));
    EXPECT_TRUE(create_folder_tree(deep + L"\\"));
}

TEST_F(FolderTree, NonAsciiNames)
{
    const std::wstring deep = join_path(root, L"\u00C9t\u00E9\\\u65E5\u672C");
    EXPECT_TRUE(create_folder_tree(deep));
    EXPECT_TRUE(is_folder(deep));
}

TEST_F(FolderTree, EmptyPathFails)
{
    EXPECT_FALSE(create_folder_tree(L""));
}

TEST_F(FolderTree, ExistingFileCountsAsSuccess)
{
    ASSERT_TRUE(create_folder_tree(root));
    const std::wstring file = join_path(root, L"file.bin");
    std::ofstream(file.c_str()) << "x";
    EXPECT_TRUE(create_folder_tree(file));
}

TEST_F(FolderTree, PathThroughAFileFailsAndEnds)
{
    ASSERT_TRUE(create_folder_tree(root));
    const std::wstring file = join_path(root, L"file.bin");
    std::ofstream(file.c_str()) << "x";
    EXPECT_FALSE(create_folder_tree(join_path(file, L"below\\deeper")));
    EXPECT_FALSE(create_folder_tree(join_path(file, L"below")));
}

TEST_F(FolderTree, MissingDriveFails)
{
    // Find a drive letter that is not mapped.
    const DWORD drives = GetLogicalDrives();
    wchar_t letter = 0;
    for (int i = 25; i >= 3; --i)
        if (!(drives & (1u << i))) {
            letter = static_cast<wchar_t>(L'A' + i);
            break;
        }
    ASSERT_NE(letter, 0);
    EXPECT_FALSE(create_folder_tree(std::wstring(1, letter) + L":\\a\\b"));
}
