#include "toolkit/image.h"

#include "toolkit/imaging_lock.h"
#include "toolkit/qv_exception.h"
#include "toolkit/render_context.h"

#include <algorithm>
#include <cstring>

namespace qvsdk::ui {

std::mutex& imaging_lock()
{
    static std::mutex lock;
    return lock;
}

namespace {

// Built at load time with the other toolkit statics.
[[maybe_unused]] std::mutex& imaging_lock_at_start = imaging_lock();

void check(HRESULT hr, const char* message_literal, std::size_t length)
{
    if (FAILED(hr))
        throw qv_exception(message_literal, length);
}

template <std::size_t N>
void check(HRESULT hr, const char (&message)[N])
{
    check(hr, message, N - 1);
}

} // namespace

std::size_t image::pointer_hash::operator()(const void* p) const
{
    std::uint64_t h = 0xcbf29ce484222325ull;
    const auto value = reinterpret_cast<std::uintptr_t>(p);
    for (int i = 0; i < 8; ++i) {
        h ^= (static_cast<std::uint64_t>(value) >> (8 * i)) & 0xff;
        h *= 0x100000001b3ull;
    }
    return static_cast<std::size_t>(h);
}

image::image() : com_init(CoInitializeEx(nullptr, COINIT_MULTITHREADED)), bitmaps(8)
{
    HRESULT hr = CoCreateInstance(CLSID_WICImagingFactory2, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IWICImagingFactory, reinterpret_cast<void**>(factory.put()));
    if (FAILED(hr)) {
        if (com_init != RPC_E_CHANGED_MODE)
            CoUninitialize();
        throw qv_exception("unable to create the imaging factory");
    }
}

image::~image()
{
    drop_contexts();
    if (pixels_locked) {
        open_lock.reset();
        own_lock.unlock();
    }
    converted.reset();
    factory.reset();
    if (com_init != RPC_E_CHANGED_MODE)
        CoUninitialize();
}

void image::drop_contexts()
{
    for (render_context* context : contexts)
        context->forget_image(this);
    contexts.clear();
    bitmaps.clear();
}

bool image::load(const void* data, std::size_t byte_count, float scale)
{
    std::lock_guard<std::mutex> guard(imaging_lock());
    com_ptr<IWICStream> stream;
    com_ptr<IWICBitmapDecoder> decoder;
    if (!data || FAILED(factory->CreateStream(stream.put()))
        || FAILED(stream->InitializeFromMemory(static_cast<BYTE*>(const_cast<void*>(data)),
                                               static_cast<DWORD>(byte_count)))
        || FAILED(factory->CreateDecoderFromStream(stream.get(), nullptr,
                                                   WICDecodeMetadataCacheOnLoad, decoder.put())))
        return false;
    // A stream can have a valid header and still not decode (cut short, bad
    // chunks): that is a decode failure too, and the image stays as it was.
    try {
        convert_frame(decoder.get());
    } catch (const qv_exception&) {
        return false;
    }
    picture_scale = scale;
    loaded = true;
    return true;
}

void image::convert_frame(IWICBitmapDecoder* decoder)
{
    com_ptr<IWICBitmapFrameDecode> frame;
    com_ptr<IWICFormatConverter> converter;
    check(decoder->GetFrame(0, frame.put()), "unable to create the bitmap format converter");
    check(factory->CreateFormatConverter(converter.put()), "unable to create the bitmap format converter");
    check(converter->Initialize(frame.get(), GUID_WICPixelFormat32bppPBGRA, WICBitmapDitherTypeNone,
                                nullptr, 0.0, WICBitmapPaletteTypeCustom),
          "unable to create the bitmap format converter");
    UINT width = 0, height = 0;
    converter->GetSize(&width, &height);
    com_ptr<IWICBitmap> bitmap;
    check(factory->CreateBitmapFromSource(converter.get(), WICBitmapCacheOnLoad, bitmap.put()),
          "unable to create a bitmap from the format converter");
    // A reload replaces the picture, so bitmaps made from the old one go.
    drop_contexts();
    converted = bitmap;
    pixels = {static_cast<std::int32_t>(width), static_cast<std::int32_t>(height)};
}

void image::unload()
{
    std::lock_guard<std::mutex> guard(imaging_lock());
    std::lock_guard<std::mutex> own(own_lock);
    drop_contexts();
    loaded = false;
    pixels_locked = false;
    pixels_written = false;
}

ID2D1Bitmap* image::bitmap_for(render_context& context)
{
    std::lock_guard<std::mutex> guard(imaging_lock());
    std::lock_guard<std::mutex> own(own_lock);
    ID2D1RenderTarget* target = context.target();
    auto hit = bitmaps.find(target);
    if (hit != bitmaps.end())
        return hit->second.get();

    com_ptr<ID2D1Bitmap> first;
    check(target->CreateBitmapFromWicBitmap(converted.get(), nullptr, first.put()),
          "unable to create a bitmap from a WIC bitmap");
    com_ptr<ID2D1Bitmap> shared;
    check(target->CreateSharedBitmap(__uuidof(ID2D1Bitmap), first.get(), nullptr, shared.put()),
          "unable to create a shared bitmap");
    ID2D1Bitmap* result = shared.get();
    bitmaps.emplace(target, std::move(shared));
    context.remember_image(this);
    contexts.push_back(&context);
    return result;
}

void image::release_context(render_context& context)
{
    std::lock_guard<std::mutex> own(own_lock);
    bitmaps.erase(context.target());
    contexts.erase(std::remove(contexts.begin(), contexts.end(), &context), contexts.end());
}

pixel_access image::lock_pixels()
{
    own_lock.lock();
    WICRect whole{0, 0, pixels.width, pixels.height};
    if (!converted || FAILED(converted->Lock(&whole, WICBitmapLockWrite, open_lock.put()))) {
        own_lock.unlock();
        throw qv_exception("unable to lock the bitmap data");
    }
    pixel_access access;
    UINT stride = 0, byte_count = 0;
    BYTE* data = nullptr;
    if (FAILED(open_lock->GetStride(&stride)) || FAILED(open_lock->GetDataPointer(&byte_count, &data))) {
        open_lock.reset();
        own_lock.unlock();
        throw qv_exception("unable to retrieve the bitmap data");
    }
    access.data = data;
    access.stride = stride;
    access.pixels = pixels;
    pixels_locked = true;
    return access;
}

void image::unlock_pixels(const pixel_access& access)
{
    for (auto& [target, bitmap] : bitmaps) {
        if (FAILED(bitmap->CopyFromMemory(nullptr, access.data, access.stride))) {
            open_lock.reset();
            pixels_locked = false;
            own_lock.unlock();
            throw qv_exception("unable to update the bitmap data");
        }
    }
    open_lock.reset();
    pixels_locked = false;
    pixels_written = true;
    own_lock.unlock();
}

} // namespace qvsdk::ui
