#include "installer/installer_startup.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

struct fake_system {
    int shell_calls = 0;
    int runs = 0;
    bool shell_accepts = true;
    std::wstring verb, parameters, executable;
    std::string error;
    bool throw_in_run = false;

    startup_actions actions()
    {
        return {[this](const std::wstring& exe, const wchar_t* v, const wchar_t* p) {
                    ++shell_calls;
                    executable = exe;
                    verb = v;
                    parameters = p;
                    return shell_accepts;
                },
                [this] {
                    ++runs;
                    if (throw_in_run)
                        throw std::runtime_error("no window");
                },
                [this](const std::string& m) { error = m; }};
    }
};

} // namespace

TEST(startup, without_the_marker_it_restarts_itself_elevated_and_ends)
{
    fake_system s;
    EXPECT_EQ(installer_main(L"", s.actions()), 0);
    EXPECT_EQ(s.shell_calls, 1);
    EXPECT_EQ(s.runs, 0);
    EXPECT_EQ(s.verb, L"runas");
    EXPECT_EQ(s.parameters, L"/UAC");
    EXPECT_NE(s.executable.find(L"installer_logic_tests"), std::wstring::npos);

    // Another case is not the marker; a refused elevation ends with 1.
    s.shell_accepts = false;
    EXPECT_EQ(installer_main(L"/uac", s.actions()), 1);
    EXPECT_EQ(s.shell_calls, 2);
    EXPECT_EQ(s.runs, 0);
}

TEST(startup, with_the_marker_anywhere_it_runs_the_installer)
{
    fake_system s;
    EXPECT_EQ(installer_main(L"/UAC", s.actions()), 0);
    EXPECT_EQ(installer_main(L"x/UACy --other", s.actions()), 0);
    EXPECT_EQ(s.runs, 2);
    EXPECT_EQ(s.shell_calls, 0);
}

TEST(startup, an_exception_is_shown_and_ends_with_1)
{
    fake_system s;
    s.throw_in_run = true;
    EXPECT_EQ(installer_main(L"/UAC", s.actions()), 1);
    EXPECT_NE(s.error.find("no window"), std::string::npos);
}
