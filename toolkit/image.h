#pragma once

#include "toolkit/com_ptr.h"
#include "toolkit/non_copyable_non_moveable.h"
#include "toolkit/size.h"

#include <windows.h>
#include <d2d1.h>
#include <wincodec.h>

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <unordered_map>
#include <vector>

namespace qvsdk::ui {

class render_context;

// Direct access to an image's converted pixels (32-bit premultiplied BGRA).
struct pixel_access {
    std::uint8_t* data = nullptr;
    std::uint32_t bits_per_pixel = 32;
    std::uint32_t stride = 0;
    size pixels{0, 0};
};

// A picture decoded by WIC from bytes in memory, with one Direct2D bitmap per
// render target made on first draw.
class image : non_copyable_non_moveable {
public:
    image();
    ~image();

    // The bytes are not copied and must outlive the image. False when they are
    // not a picture WIC can decode; the image is then left as it was.
    bool load(const void* data, std::size_t byte_count, float scale);
    void unload();
    bool is_loaded() const { return loaded; }
    size pixel_size() const { return pixels; }
    float scale() const { return picture_scale; }

    // The bitmap for the context's render target; owned by the image.
    ID2D1Bitmap* bitmap_for(render_context& context);
    void release_context(render_context& context);
    std::size_t context_count() const { return contexts.size(); }

    // Holds the image's mutex until unlock_pixels, which also refreshes every bitmap.
    pixel_access lock_pixels();
    void unlock_pixels(const pixel_access& access);

private:
    struct pointer_hash {
        std::size_t operator()(const void* p) const;
    };

    void convert_frame(IWICBitmapDecoder* decoder);
    void drop_contexts();

    bool loaded = false;
    bool pixels_locked = false;
    bool pixels_written = false;
    std::mutex own_lock;
    HRESULT com_init;
    com_ptr<IWICBitmapLock> open_lock;
    com_ptr<IWICImagingFactory> factory;
    com_ptr<IWICBitmap> converted;
    std::unordered_map<const void*, com_ptr<ID2D1Bitmap>, pointer_hash> bitmaps;
    size pixels{0, 0};
    float picture_scale = 1.0f;
    std::vector<render_context*> contexts;
};

} // namespace qvsdk::ui
