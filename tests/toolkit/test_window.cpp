#include "test_window.h"

#include "toolkit/com_ptr.h"
#include "toolkit/text_encoding.h"

#include <wincodec.h>

#include <cstdlib>
#include <stdexcept>

using qvsdk::ui::com_ptr;

namespace {

const wchar_t* window_class()
{
    static const wchar_t* name = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"qv_test_window";
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        RegisterClassW(&wc);
        return L"qv_test_window";
    }();
    return name;
}

} // namespace

test_window::test_window(int width, int height)
{
    RECT r{0, 0, width, height};
    AdjustWindowRectEx(&r, WS_POPUP, FALSE, WS_EX_TOPMOST);
    // Captures read the screen, so keep clear of other tests' windows, which
    // open near the middle of the shared display.
    hwnd = CreateWindowExW(WS_EX_TOPMOST, window_class(), L"qv test", WS_POPUP | WS_VISIBLE, 1600, 840,
                           r.right - r.left, r.bottom - r.top, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!hwnd)
        throw std::runtime_error("cannot create the test window");
    UpdateWindow(hwnd);
}

test_window::~test_window()
{
    DestroyWindow(hwnd);
    pump_for(0);
}

bool pump_until(const std::function<bool()>& done, int bound_ms)
{
    const DWORD start = GetTickCount();
    for (;;) {
        pump_for(0);
        if (done())
            return true;
        if (GetTickCount() - start > DWORD(bound_ms))
            return false;
        Sleep(15);
    }
}

test_window::capture capture_showing(HWND hwnd, const std::string& name, const std::string& what,
                                     const capture_test& shows, const std::function<void()>& paint, int bound_ms)
{
    test_window::capture c;
    const bool shown = pump_until(
        [&] {
            if (paint)
                paint();
            c = capture_client(hwnd);
            return !c.pixels.empty() && shows(c);
        },
        bound_ms);
    c.save(name);
    if (!shown)
        ADD_FAILURE() << name << ": waited " << bound_ms << " ms for " << what << "; the last capture is saved";
    return c;
}

test_window::capture capture_colours(HWND hwnd, const std::string& name, std::initializer_list<colour_at> points,
                                     const std::function<void()>& paint, int tolerance)
{
    const test_window::capture c = capture_showing(
        hwnd, name, "the colours at the points listed below",
        [&](const test_window::capture& shot) { return shows_colours(shot, points, tolerance); }, paint);
    if (!c.pixels.empty())
        for (const colour_at& p : points)
            if (!colour_near(c.at(p.x, p.y), p.r, p.g, p.b, tolerance))
                ADD_FAILURE() << name << ": at " << p.x << ", " << p.y << " " << std::hex << c.at(p.x, p.y)
                              << " instead of " << std::dec << p.r << ", " << p.g << ", " << p.b;
    return c;
}

bool differs_within(const test_window::capture& a, const test_window::capture& b, int x, int y, int width, int height)
{
    for (int row = y; row < y + height; ++row)
        for (int column = x; column < x + width; ++column)
            if (a.at(column, row) != b.at(column, row))
                return true;
    return false;
}

void test_window::capture::save(const std::string& name) const
{
    const char* folder = std::getenv("QV_TEST_OUTPUT");
    if (!folder || !*folder)
        return;
    const std::wstring path = qvsdk::utf8_to_wide(std::string(folder) + "\\" + name + ".png");
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    com_ptr<IWICImagingFactory> factory;
    com_ptr<IWICStream> stream;
    com_ptr<IWICBitmapEncoder> encoder;
    com_ptr<IWICBitmapFrameEncode> frame;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                reinterpret_cast<void**>(factory.put())))
        || FAILED(factory->CreateStream(stream.put()))
        || FAILED(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE))
        || FAILED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.put()))
        || FAILED(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache))
        || FAILED(encoder->CreateNewFrame(frame.put(), nullptr)) || FAILED(frame->Initialize(nullptr)))
        return;
    std::vector<std::uint32_t> opaque(pixels);
    for (auto& px : opaque)
        px |= 0xff000000u;
    WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGRA;
    frame->SetSize(UINT(width), UINT(height));
    frame->SetPixelFormat(&format);
    frame->WritePixels(UINT(height), UINT(width * 4), UINT(opaque.size() * 4),
                       reinterpret_cast<BYTE*>(opaque.data()));
    frame->Commit();
    encoder->Commit();
}

test_window::capture capture_client(HWND hwnd)
{
    RECT client{};
    GetClientRect(hwnd, &client);
    test_window::capture c;
    c.width = client.right;
    c.height = client.bottom;

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = c.width;
    info.bmiHeader.biHeight = -c.height; // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC window_dc = GetDC(hwnd);
    HDC memory_dc = CreateCompatibleDC(window_dc);
    HBITMAP dib = CreateDIBSection(window_dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory_dc, dib);
    BitBlt(memory_dc, 0, 0, c.width, c.height, window_dc, 0, 0, SRCCOPY);
    GdiFlush();
    const auto* p = static_cast<const std::uint32_t*>(bits);
    c.pixels.assign(p, p + static_cast<std::size_t>(c.width) * c.height);
    for (auto& px : c.pixels)
        px &= 0x00ffffff;
    SelectObject(memory_dc, old);
    DeleteObject(dib);
    DeleteDC(memory_dc);
    ReleaseDC(hwnd, window_dc);
    return c;
}
