#include "test_folder.h"

#include "installer/plugin_installer.h"
#include "installer/version_label.h"

#include <gtest/gtest.h>

namespace {

// A catalogue key of this test run's own, so parallel runs never meet.
struct discovery : ::testing::Test {
    registry_tree tree{L"SOFTWARE\\QvInstallerTests-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                       std::to_wstring(GetTickCount())};
    PluginInstaller installer;

    void SetUp() override { installer.registry_path = tree.path() + L"\\After Effects"; }
    void add(const std::wstring& version, const std::wstring& folder)
    {
        tree.set(L"After Effects\\" + version, L"PluginInstallPath", folder);
    }
};

} // namespace

TEST_F(discovery, catalogue_versions_fill_their_slots_and_others_follow_with_labels)
{
    add(L"13.5", L"C:\\AE2015\\Support Files\\Plug-ins");
    add(L"15.0", L"C:/AE2018/Support Files/Plug-ins");
    add(L"12.0", L"C:\\Program Files\\Adobe\\Adobe After Effects CC 2019\\Support Files\\Plug-ins");

    const std::vector<std::wstring> folders = installer.find_versions();
    ASSERT_EQ(folders.size(), 13u);
    EXPECT_EQ(folders[7], L"C:\\AE2015\\Support Files\\Plug-ins");
    EXPECT_EQ(folders[10], L"C:\\AE2018\\Support Files\\Plug-ins"); // "/" stored as "\"
    EXPECT_EQ(folders[5], L""); // "12.0" is not "12"
    EXPECT_EQ(folders[12], L"C:\\Program Files\\Adobe\\Adobe After Effects CC 2019\\Support Files\\Plug-ins");
    ASSERT_EQ(installer.version_names.size(), 13u);
    EXPECT_EQ(installer.version_names[12], "CC2019");
    EXPECT_EQ(installer.version_names[7], "CC2015");
    EXPECT_EQ(installer.version_names[11], "Custom");
}

TEST_F(discovery, old_versions_empty_missing_relative_and_foreign_values_are_passed_over)
{
    for (const wchar_t* old : {L"8.0", L"9.0", L"10.0", L"10.5", L"11"})
        add(old, L"C:\\Old\\Plug-ins");
    add(L"13", L"");                                 // empty
    add(L"12", L".");                                // relative
    add(L"18.0", L"rel\\Tool 18\\Support Files\\Plug-ins");
    tree.add_key(L"After Effects\\13.8");            // no value at all
    tree.set(L"After Effects\\14.0", L"Other", L"C:\\x");
    tree.set(L"After Effects\\16.0", L"PluginInstallPath",
             L"%SystemDrive%\\Adobe After Effects 2020\\Support Files\\Plug-ins", REG_EXPAND_SZ);

    const std::vector<std::wstring> folders = installer.find_versions();
    // Installing what was found, without an application-data folder, writes
    // nothing under the working folder.
    test_folder here(L"relative");
    wchar_t previous[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, previous);
    SetCurrentDirectoryW(here.path().c_str());
    installer.common_app_data = [] { return std::wstring(); };
    installer.prepare_run(folders.size());
    installer.install(folders);
    SetCurrentDirectoryW(previous);
    for (std::int32_t code : installer.statuses())
        EXPECT_NE(code, 2);
    EXPECT_FALSE(file_exists(here.path() + L"\\Quorvane"));

    for (std::size_t slot = 0; slot < 12; ++slot)
        EXPECT_EQ(folders[slot], L"") << "slot " << slot;
    // A REG_EXPAND_SZ value arrives expanded, as a plain string.
    ASSERT_EQ(folders.size(), 13u);
    EXPECT_EQ(folders[12], L"C:\\Adobe After Effects 2020\\Support Files\\Plug-ins");
    ASSERT_EQ(installer.version_names.size(), 13u);
    EXPECT_EQ(installer.version_names[12], "2020");
}

TEST_F(discovery, a_slot_takes_only_its_own_subkey_and_no_key_finds_nothing)
{
    PluginInstaller elsewhere;
    elsewhere.registry_path = tree.path() + L"\\Not There";
    EXPECT_EQ(elsewhere.find_versions(), std::vector<std::wstring>(12));

    // Two different subkeys that both look like the slot's version: only the
    // exact name fills it, whichever comes first; the others are found beyond
    // the catalogue.
    add(L"14", L"C:\\Early\\Tool 14\\Support Files\\Plug-ins");
    add(L"14.0", L"C:\\Exact");
    add(L"14.00", L"C:\\Late\\Tool 14b\\Support Files\\Plug-ins");
    const std::vector<std::wstring> folders = installer.find_versions();
    ASSERT_EQ(folders.size(), 14u);
    EXPECT_EQ(folders[9], L"C:\\Exact");
    EXPECT_EQ(folders[12], L"C:\\Early\\Tool 14\\Support Files\\Plug-ins");
    EXPECT_EQ(folders[13], L"C:\\Late\\Tool 14b\\Support Files\\Plug-ins");
    ASSERT_EQ(installer.version_names.size(), 14u);
    EXPECT_EQ(installer.version_names[12], "Tool14");
    EXPECT_EQ(installer.version_names[13], "Tool14b");
}

TEST(version_label, takes_the_name_after_the_last_host_words_without_white_space)
{
    EXPECT_EQ(version_label_from_path(L"C:\\Program Files\\Adobe\\Adobe After Effects 2020\\Support Files\\Plug-ins"),
              "2020");
    EXPECT_EQ(version_label_from_path(L"D:\\Adobe After Effects CC 2019\\Support Files\\Plug-ins\\"), "CC2019");
    EXPECT_EQ(version_label_from_path(L"D:\\My Tools 7\\Support Files\\Plug-ins"), "MyTools7");
    EXPECT_EQ(version_label_from_path(L"D:\\After Effects\\Support Files\\Plug-ins"), "AfterEffects");
    EXPECT_EQ(version_label_from_path(L""), "");
}
