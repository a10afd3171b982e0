#include "installer/installer_startup.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR command_line, int)
{
    return installer_main(command_line, system_startup_actions());
}
