#include "tools/qvhost/drawing_recorder.h"

#include "tools/qvhost/test_host.h"

#include <stdexcept>

namespace qvhost {

namespace {

drawing_recorder* active = nullptr;

// Distinct addresses that stand for the host's drawing objects.
char draw_ref_token, supplier_token, surface_token;

drawing_recorder& current()
{
    if (!active)
        throw std::logic_error("no drawing recorder is active");
    return *active;
}

} // namespace

drawing_recorder::drawing_recorder(test_host& host, int panel_width, int panel_height)
    : host(host), width(panel_width), height(panel_height),
      panel(std::size_t(panel_width) * std::size_t(panel_height), 0)
{
    if (active)
        throw std::logic_error("one drawing recorder at a time");
    active = this;
    custom_ui.PF_GetDrawingReference = get_drawing_reference;
    draw_suite.GetSupplier = get_supplier;
    draw_suite.GetSurface = get_surface;
    supplier_suite.NewImageFromBuffer = new_image;
    supplier_suite.ReleaseObject = release_object;
    surface_suite.DrawImage = draw_image;
    replaced[0] = host.provide_suite(kPFEffectCustomUISuite, kPFEffectCustomUISuiteVersion1, &custom_ui);
    replaced[1] = host.provide_suite(kDRAWBOT_DrawSuite, kDRAWBOT_DrawSuite_Version1, &draw_suite);
    replaced[2] = host.provide_suite(kDRAWBOT_SupplierSuite, kDRAWBOT_SupplierSuite_Version1, &supplier_suite);
    replaced[3] = host.provide_suite(kDRAWBOT_SurfaceSuite, kDRAWBOT_SurfaceSuite_Version2, &surface_suite);
}

drawing_recorder::~drawing_recorder()
{
    host.provide_suite(kPFEffectCustomUISuite, kPFEffectCustomUISuiteVersion1, replaced[0]);
    host.provide_suite(kDRAWBOT_DrawSuite, kDRAWBOT_DrawSuite_Version1, replaced[1]);
    host.provide_suite(kDRAWBOT_SupplierSuite, kDRAWBOT_SupplierSuite_Version1, replaced[2]);
    host.provide_suite(kDRAWBOT_SurfaceSuite, kDRAWBOT_SurfaceSuite_Version2, replaced[3]);
    active = nullptr;
}

std::vector<drawing_call> drawing_recorder::calls_named(const std::string& name) const
{
    std::vector<drawing_call> found;
    for (const drawing_call& call : recorded)
        if (call.name == name)
            found.push_back(call);
    return found;
}

int drawing_recorder::live_images() const
{
    int live = 0;
    for (const auto& image : images)
        live += image->released ? 0 : 1;
    return live;
}

std::uint32_t drawing_recorder::panel_pixel(int x, int y) const
{
    return panel.at(std::size_t(y) * std::size_t(width) + std::size_t(x));
}

void drawing_recorder::clear_panel(std::uint32_t colour)
{
    panel.assign(panel.size(), colour);
}

PF_EventExtra drawing_recorder::panel_event(PF_EventType type, PF_ParamIndex index, const PF_Rect& frame)
{
    static PF_ContextRecord context{0x43555349, PF_Window_EFFECT, nullptr};
    PF_EventExtra extra{};
    extra.contextH = &context;
    extra.e_type = type;
    extra.effect_win.index = index;
    extra.effect_win.area = PF_EA_CONTROL;
    extra.effect_win.current_frame = frame;
    extra.effect_win.param_title_frame = {frame.left, frame.top - 20, frame.right, frame.top};
    return extra;
}

drawing_recorder::image_record* drawing_recorder::find(DRAWBOT_ImageRef image)
{
    for (auto& record : images)
        if (reinterpret_cast<DRAWBOT_ImageRef>(record.get()) == image)
            return record.get();
    return nullptr;
}

PF_Err drawing_recorder::get_drawing_reference(PF_ContextH, DRAWBOT_DrawRef* draw_ref)
{
    drawing_recorder& r = current();
    r.recorded.push_back({"PF_GetDrawingReference"});
    *draw_ref = r.give_drawing_reference ? reinterpret_cast<DRAWBOT_DrawRef>(&draw_ref_token) : nullptr;
    return PF_Err_NONE;
}

SPErr drawing_recorder::get_supplier(DRAWBOT_DrawRef draw_ref, DRAWBOT_SupplierRef* supplier)
{
    drawing_recorder& r = current();
    r.recorded.push_back({"GetSupplier"});
    *supplier = draw_ref == reinterpret_cast<DRAWBOT_DrawRef>(&draw_ref_token)
                    ? reinterpret_cast<DRAWBOT_SupplierRef>(&supplier_token)
                    : nullptr;
    return kSPNoError;
}

SPErr drawing_recorder::get_surface(DRAWBOT_DrawRef draw_ref, DRAWBOT_SurfaceRef* surface)
{
    drawing_recorder& r = current();
    r.recorded.push_back({"GetSurface"});
    *surface = draw_ref == reinterpret_cast<DRAWBOT_DrawRef>(&draw_ref_token)
                   ? reinterpret_cast<DRAWBOT_SurfaceRef>(&surface_token)
                   : nullptr;
    return kSPNoError;
}

SPErr drawing_recorder::new_image(DRAWBOT_SupplierRef supplier, A_long width, A_long height, A_long row_bytes,
                                  DRAWBOT_PixelLayout layout, const void* data, DRAWBOT_ImageRef* image)
{
    drawing_recorder& r = current();
    drawing_call call{"NewImageFromBuffer"};
    call.width = width;
    call.height = height;
    call.row_bytes = row_bytes;
    call.layout = layout;
    *image = nullptr;
    if (supplier != reinterpret_cast<DRAWBOT_SupplierRef>(&supplier_token) || !data || width <= 0 ||
        height <= 0 || row_bytes < width * 4) {
        r.recorded.push_back(call);
        return 1;
    }
    auto record = std::make_unique<image_record>();
    record->number = int(r.images.size()) + 1;
    record->width = width;
    record->height = height;
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    for (A_long y = 0; y < height; ++y)
        record->bytes.insert(record->bytes.end(), bytes + std::size_t(y) * std::size_t(row_bytes),
                             bytes + std::size_t(y) * std::size_t(row_bytes) + std::size_t(width) * 4);
    call.image = record->number;
    *image = reinterpret_cast<DRAWBOT_ImageRef>(record.get());
    r.images.push_back(std::move(record));
    r.recorded.push_back(call);
    return kSPNoError;
}

SPErr drawing_recorder::release_object(DRAWBOT_ObjectRef object)
{
    drawing_recorder& r = current();
    drawing_call call{"ReleaseObject"};
    image_record* image = r.find(static_cast<DRAWBOT_ImageRef>(object));
    if (image) {
        call.image = image->number;
        image->released = true;
    }
    r.releases += 1;
    r.recorded.push_back(call);
    return image ? kSPNoError : 1;
}

SPErr drawing_recorder::draw_image(DRAWBOT_SurfaceRef surface, DRAWBOT_ImageRef image,
                                   const DRAWBOT_PointF32* origin, float opacity)
{
    drawing_recorder& r = current();
    drawing_call call{"DrawImage"};
    call.x = origin ? origin->x : 0;
    call.y = origin ? origin->y : 0;
    call.opacity = opacity;
    image_record* record = r.find(image);
    if (record)
        call.image = record->number;
    r.recorded.push_back(call);
    if (!record || record->released || surface != reinterpret_cast<DRAWBOT_SurfaceRef>(&surface_token))
        return 1;
    const int left = int(call.x), top = int(call.y);
    for (A_long y = 0; y < record->height; ++y) {
        for (A_long x = 0; x < record->width; ++x) {
            const int px = left + int(x), py = top + int(y);
            if (px < 0 || py < 0 || px >= r.width || py >= r.height)
                continue;
            const std::uint8_t* p = &record->bytes[(std::size_t(y) * std::size_t(record->width) + std::size_t(x)) * 4];
            r.panel[std::size_t(py) * std::size_t(r.width) + std::size_t(px)] =
                (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[1]) << 8) | p[0];
        }
    }
    return kSPNoError;
}

} // namespace qvhost
