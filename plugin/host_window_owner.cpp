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
