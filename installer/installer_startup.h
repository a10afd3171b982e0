#pragma once

#include <functional>
#include <string>

// What start-up does to the outside world; tests replace these.
struct startup_actions {
    // Starts the executable again through the shell with a verb and
    // parameters; false when the shell refused.
    std::function<bool(const std::wstring& executable, const wchar_t* verb, const wchar_t* parameters)> shell_start;
    // Shows the installer window until it ends.
    std::function<void()> run_installer;
    // Tells the user that start-up failed.
    std::function<void(const std::string& message)> report_error;
};

// The real ones: ShellExecuteExW, the installer window, a message box.
startup_actions system_startup_actions();

// Without "/UAC" on the command line, starts the installer again elevated
// and returns 0, or 1 when that was refused; with it, runs the installer.
// An exception ends in a message and result 1.
int installer_main(const wchar_t* command_line, const startup_actions& actions);

// Constructs the installer window, runs it modally and destroys it.
void run_installer();
