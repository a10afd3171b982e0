#include "plugin/host_window_owner.h"

HostWindowOwner::HostWindowOwner(HWND host_window)
{
    qvsdk::ui::native_window& record = native_record();
    record.hwnd = host_window;
    record.owner = nullptr;
    HDC screen = GetDC(nullptr);
    record.dpi_x = GetDeviceCaps(screen, LOGPIXELSX);
    record.dpi_y = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
}

HostWindowOwner::~HostWindowOwner()
{
    // The native record would otherwise destroy the handle it holds.
    native_record().hwnd = nullptr;
}

std::unique_lock<std::recursive_mutex> hold_module_windows()
{
    static std::recursive_mutex windows;
    std::unique_lock<std::recursive_mutex> held(windows, std::try_to_lock);
    while (!held.owns_lock()) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_SENDMESSAGE);
        MSG message;
        PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        held.try_lock();
    }
    return held;
}
