#include "installer/installer_startup.h"

#include "installer/installer_ui.h"

#include "toolkit/text_encoding.h"

#include <windows.h>
#include <shellapi.h>

#include <exception>

namespace {

bool shell_execute(const std::wstring& executable, const wchar_t* verb, const wchar_t* parameters)
{
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof(info);
    info.lpVerb = verb;
    info.lpFile = executable.c_str();
    info.lpParameters = parameters;
    info.nShow = SW_SHOWDEFAULT;
    return ShellExecuteExW(&info) != FALSE;
}

void show_error(const std::string& message)
{
    MessageBoxW(nullptr, qvsdk::utf8_to_wide(message).c_str(), L"QV Vesk Installer", MB_OK | MB_ICONERROR);
}

std::wstring own_executable()
{
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return path;
}

} // namespace

startup_actions system_startup_actions()
{
    return {shell_execute, run_installer, show_error};
}

void run_installer()
{
    InstallerUI window;
    window.run_modal();
}

int installer_main(const wchar_t* command_line, const startup_actions& actions)
{
    try {
        const std::wstring line = command_line ? command_line : L"";
        if (line.find(L"/UAC") != std::wstring::npos) {
            actions.run_installer();
            return 0;
        }
        return actions.shell_start(own_executable(), L"runas", L"/UAC") ? 0 : 1;
    } catch (const std::exception& e) {
        actions.report_error(std::string("The installer stopped: ") + e.what());
    } catch (...) {
        actions.report_error("The installer stopped after an unknown error.");
    }
    return 1;
}
