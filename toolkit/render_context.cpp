#include "toolkit/render_context.h"

#include "toolkit/image.h"
#include "toolkit/qv_exception.h"
#include "toolkit/text_encoding.h"
#include "toolkit/text_range_box.h"
#include "toolkit/widget.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace qvsdk::ui {

namespace {

D2D1_COLOR_F to_d2d(const color& c)
{
    return D2D1::ColorF(c.r, c.g, c.b, c.a);
}

D2D1_RECT_F to_d2d(const rect& r)
{
    return D2D1::RectF(float(r.x), float(r.y), float(r.x + r.width), float(r.y + r.height));
}

DWRITE_FONT_STYLE font_style_of(std::int32_t style_kind)
{
    return style_kind == 1 ? DWRITE_FONT_STYLE_ITALIC : DWRITE_FONT_STYLE_NORMAL;
}

} // namespace

std::int32_t grown_extent(std::int32_t extent, float scale)
{
    const float scaled = extent * scale;
    return extent + (static_cast<std::int32_t>(scaled + 0.5f) - static_cast<std::int32_t>(scaled));
}

D2D1_RECT_F outline_rect(const rect& r, float lw)
{
    const float h = lw / 2;
    return D2D1::RectF(r.x + h, r.y + h, r.x + r.width - h, r.y + r.height - h);
}

D2D1_MATRIX_3X2_F child_transform(const D2D1_MATRIX_3X2_F& m, float s, std::int32_t x, std::int32_t y)
{
    D2D1_MATRIX_3X2_F r;
    r._11 = s * m._11;
    r._12 = s * m._12;
    r._21 = s * m._21;
    r._22 = s * m._22;
    r._31 = x * m._11 + y * m._21 + m._31;
    r._32 = x * m._12 + y * m._22 + m._32;
    return r;
}

DWRITE_FONT_WEIGHT font_weight_of(std::int32_t weight_kind)
{
    if (weight_kind == 1)
        return DWRITE_FONT_WEIGHT_LIGHT;
    if (weight_kind == 2)
        return DWRITE_FONT_WEIGHT_BOLD;
    return DWRITE_FONT_WEIGHT_NORMAL;
}

render_context::render_context(HWND window) : window_handle(window)
{
    if (FAILED(D2D1CreateFactory(D2D1_FACTORY_TYPE_SINGLE_THREADED, __uuidof(ID2D1Factory), nullptr,
                                 reinterpret_cast<void**>(d2d_factory.put()))))
        throw qv_exception("unable to create a d2d resource factory");
    RECT client{};
    GetClientRect(window, &client);
    const auto target_props = D2D1::RenderTargetProperties();
    const auto hwnd_props = D2D1::HwndRenderTargetProperties(
        window, D2D1::SizeU(UINT32(client.right - client.left), UINT32(client.bottom - client.top)),
        D2D1_PRESENT_OPTIONS_NONE);
    if (FAILED(d2d_factory->CreateHwndRenderTarget(target_props, hwnd_props, hwnd_target.put())))
        throw qv_exception("unable to create a d2d render target");
    render_target = hwnd_target.get();
    create_resources();
}

void render_context::create_resources()
{
    render_target->SetAntialiasMode(D2D1_ANTIALIAS_MODE_PER_PRIMITIVE);
    if (FAILED(render_target->CreateSolidColorBrush(D2D1::ColorF(0, 0, 0, 1), fill_brush.put()))
        || FAILED(render_target->CreateSolidColorBrush(D2D1::ColorF(1, 1, 1, 1), text_brush.put()))
        || FAILED(render_target->CreateSolidColorBrush(D2D1::ColorF(1, 1, 1, 1), line_brush.put())))
        throw qv_exception("unable to create one or more solid brushes");
    if (FAILED(DWriteCreateFactory(DWRITE_FACTORY_TYPE_SHARED, __uuidof(IDWriteFactory),
                                   reinterpret_cast<IUnknown**>(write_factory.put()))))
        throw qv_exception("unable to create the write factory");
    if (FAILED(write_factory->CreateTextFormat(L"Verdana", nullptr, DWRITE_FONT_WEIGHT_NORMAL,
                                               DWRITE_FONT_STYLE_NORMAL, DWRITE_FONT_STRETCH_NORMAL, 12.0f,
                                               L"en-us", text_format.put())))
        throw qv_exception("unable to initialize the d2d write factory");
    const float dots[] = {1.0f, 1.0f};
    const float dashes[] = {4.0f, 4.0f};
    const auto props = D2D1::StrokeStyleProperties(D2D1_CAP_STYLE_FLAT, D2D1_CAP_STYLE_FLAT, D2D1_CAP_STYLE_FLAT,
                                                   D2D1_LINE_JOIN_MITER, 10.0f, D2D1_DASH_STYLE_CUSTOM, 0.0f);
    if (FAILED(d2d_factory->CreateStrokeStyle(props, dots, 2, dotted_stroke.put()))
        || FAILED(d2d_factory->CreateStrokeStyle(props, dashes, 2, dashed_stroke.put())))
        throw qv_exception("unable to initialize the dotted stroke");
    alias_text = false;
    transforms.push_back(D2D1::Matrix3x2F::Identity());
}

render_context::~render_context()
{
    // Each image lets go of the bitmap it made for this target.
    const std::vector<image*> registered = images;
    for (image* picture : registered)
        picture->release_context(*this);
    images.clear();
    if (!paint_stack.empty()) {
        render_target->EndDraw();
        EndPaint(window_handle, &paint);
    }
}

void render_context::remember_image(image* picture)
{
    images.push_back(picture);
}

void render_context::forget_image(image* picture)
{
    images.erase(std::remove(images.begin(), images.end(), picture), images.end());
}

void render_context::set_fill_color(const color& c)
{
    fill_colour = c;
    fill_brush->SetColor(to_d2d(c));
}

void render_context::set_text_color(const color& c)
{
    text_brush->SetColor(to_d2d(c));
}

void render_context::set_line(const color& c, float width)
{
    line_colour = c;
    line_brush->SetColor(to_d2d(c));
    line_width = width;
}

void render_context::set_stroke(std::int32_t kind, bool antialias)
{
    stroke = kind;
    antialias_lines = antialias;
}

void render_context::set_font(std::string_view name, float size, std::int32_t weight_kind,
                              std::int32_t style_kind, bool underlined)
{
    font_family = qvsdk::utf8_to_wide(name);
    font_weight = font_weight_of(weight_kind);
    font_style = font_style_of(style_kind);
    font_size = size;
    underline = underlined;
    alias_text = false;
}

void render_context::set_text_alignment(std::int32_t horizontal, std::int32_t vertical)
{
    text_format->SetTextAlignment(horizontal == 0   ? DWRITE_TEXT_ALIGNMENT_LEADING
                                  : horizontal == 2 ? DWRITE_TEXT_ALIGNMENT_TRAILING
                                                    : DWRITE_TEXT_ALIGNMENT_CENTER);
    text_format->SetParagraphAlignment(vertical == 1   ? DWRITE_PARAGRAPH_ALIGNMENT_NEAR
                                       : vertical == 2 ? DWRITE_PARAGRAPH_ALIGNMENT_FAR
                                                       : DWRITE_PARAGRAPH_ALIGNMENT_CENTER);
}

void render_context::set_scale(float x, float y)
{
    scale_x = x;
    scale_y = y;
}

ID2D1StrokeStyle* render_context::current_stroke() const
{
    if (stroke == dotted)
        return dotted_stroke.get();
    if (stroke == dashed)
        return dashed_stroke.get();
    return nullptr;
}

void render_context::fill_rect(const rect& r)
{
    if (fill_colour.a == 0)
        return;
    const rect grown(r.x, r.y, grown_extent(r.width, scale_x), grown_extent(r.height, scale_y));
    render_target->FillRectangle(to_d2d(grown), fill_brush.get());
}

void render_context::fill_rounded_rect(const rect& r, float radius)
{
    if (fill_colour.a == 0)
        return;
    render_target->FillRoundedRectangle(D2D1::RoundedRect(to_d2d(r), radius, radius), fill_brush.get());
}

void render_context::draw_rect(const rect& r)
{
    if (line_colour.a == 0 || line_width <= 0)
        return;
    if (!antialias_lines)
        render_target->SetAntialiasMode(D2D1_ANTIALIAS_MODE_ALIASED);
    render_target->DrawRectangle(outline_rect(r, line_width), line_brush.get(), line_width, current_stroke());
    render_target->SetAntialiasMode(D2D1_ANTIALIAS_MODE_PER_PRIMITIVE);
}

void render_context::draw_line(point from, point to)
{
    if (line_colour.a == 0 || line_width <= 0)
        return;
    if (!antialias_lines)
        render_target->SetAntialiasMode(D2D1_ANTIALIAS_MODE_ALIASED);
    const float half = line_width / 2;
    const float offset = half - std::floor(half);
    render_target->DrawLine(D2D1::Point2F(from.x + offset, from.y + offset),
                            D2D1::Point2F(to.x + offset, to.y + offset), line_brush.get(), line_width,
                            current_stroke());
    render_target->SetAntialiasMode(D2D1_ANTIALIAS_MODE_PER_PRIMITIVE);
}

void render_context::fill_circle(point centre, float radius, const rect& clip)
{
    if (fill_colour.a == 0)
        return;
    const bool clipped = !clip.is_zero();
    if (clipped)
        render_target->PushAxisAlignedClip(to_d2d(clip), D2D1_ANTIALIAS_MODE_PER_PRIMITIVE);
    render_target->FillEllipse(D2D1::Ellipse(D2D1::Point2F(float(centre.x), float(centre.y)), radius, radius),
                               fill_brush.get());
    if (clipped)
        render_target->PopAxisAlignedClip();
}

void render_context::fill_gradient(const rect& r, const color& top, const color& bottom)
{
    const D2D1_GRADIENT_STOP stops[] = {{0.0f, to_d2d(top)}, {1.0f, to_d2d(bottom)}};
    com_ptr<ID2D1GradientStopCollection> collection;
    if (FAILED(render_target->CreateGradientStopCollection(stops, 2, D2D1_GAMMA_2_2, D2D1_EXTEND_MODE_CLAMP,
                                                           collection.put())))
        return;
    com_ptr<ID2D1LinearGradientBrush> brush;
    if (FAILED(render_target->CreateLinearGradientBrush(
            D2D1::LinearGradientBrushProperties(D2D1::Point2F(0, float(r.y)), D2D1::Point2F(0, float(r.y + r.height))),
            collection.get(), brush.put())))
        return;
    render_target->FillRectangle(to_d2d(r), brush.get());
}

ID2D1Bitmap* render_context::bitmap_of(image& picture)
{
    return picture.is_loaded() ? picture.bitmap_for(*this) : nullptr;
}

void render_context::draw_image(point position, image& picture, float opacity)
{
    ID2D1Bitmap* bitmap = bitmap_of(picture);
    if (!bitmap)
        return;
    const size pixels = picture.pixel_size();
    const float s = picture.scale();
    const rect destination(position.x, position.y, std::int32_t(pixels.width / s), std::int32_t(pixels.height / s));
    render_target->DrawBitmap(bitmap, to_d2d(destination), opacity, D2D1_BITMAP_INTERPOLATION_MODE_LINEAR, nullptr);
}

void render_context::draw_image_in_rect(const rect& destination, image& picture, float opacity)
{
    ID2D1Bitmap* bitmap = bitmap_of(picture);
    if (!bitmap)
        return;
    render_target->DrawBitmap(bitmap, to_d2d(destination), opacity, D2D1_BITMAP_INTERPOLATION_MODE_LINEAR, nullptr);
}

void render_context::draw_image_part(point position, image& picture, const rect& source, float opacity)
{
    draw_image_part_in_rect(rect(position.x, position.y, source.width, source.height), picture, source, opacity);
}

void render_context::draw_image_part_in_rect(const rect& destination, image& picture, const rect& source,
                                             float opacity)
{
    ID2D1Bitmap* bitmap = bitmap_of(picture);
    if (!bitmap)
        return;
    const float s = picture.scale();
    const D2D1_RECT_F pixels =
        D2D1::RectF(source.x * s, source.y * s, (source.x + source.width) * s, (source.y + source.height) * s);
    render_target->DrawBitmap(bitmap, to_d2d(destination), opacity, D2D1_BITMAP_INTERPOLATION_MODE_LINEAR, &pixels);
}

com_ptr<IDWriteTextLayout> render_context::make_layout(std::string_view text, float max_width, float max_height,
                                                       const std::vector<style_run>& runs)
{
    const std::wstring wide = qvsdk::utf8_to_wide(text);
    com_ptr<IDWriteTextLayout> layout;
    if (FAILED(write_factory->CreateTextLayout(wide.c_str(), UINT32(wide.size()), text_format.get(), max_width,
                                               max_height, layout.put())))
        return {};
    const DWRITE_TEXT_RANGE all{0, UINT32(wide.size())};
    layout->SetFontWeight(font_weight, all);
    layout->SetFontStyle(font_style, all);
    // An empty family keeps the format's own instead of asking for a font named "".
    if (!font_family.empty())
        layout->SetFontFamilyName(font_family.c_str(), all);
    layout->SetFontSize(font_size, all);
    layout->SetUnderline(underline, all);
    for (const style_run& run : runs) {
        if (run.end <= run.start || run.start < 0)
            continue;
        const DWRITE_TEXT_RANGE range{UINT32(run.start), UINT32(run.end - run.start)};
        layout->SetFontWeight(font_weight_of(run.weight_kind), range);
        layout->SetFontStyle(font_style_of(run.style), range);
        const std::wstring family = qvsdk::utf8_to_wide(run.font_name);
        if (!family.empty())
            layout->SetFontFamilyName(family.c_str(), range);
        layout->SetFontSize(run.size, range);
        layout->SetUnderline(run.underline, range);
        if (run.colour == color()) {
            layout->SetDrawingEffect(text_brush.get(), range);
        } else {
            com_ptr<ID2D1SolidColorBrush> brush;
            if (SUCCEEDED(render_target->CreateSolidColorBrush(to_d2d(run.colour), brush.put())))
                layout->SetDrawingEffect(brush.get(), range);
        }
    }
    return layout;
}

void render_context::draw_text(const rect& r, std::string_view text, const std::vector<style_run>& runs)
{
    com_ptr<IDWriteTextLayout> layout = make_layout(text, float(r.width), float(r.height), runs);
    if (!layout)
        return;
    if (!alias_text)
        render_target->SetAntialiasMode(D2D1_ANTIALIAS_MODE_ALIASED);
    render_target->DrawTextLayout(D2D1::Point2F(float(r.x), float(r.y)), layout.get(), text_brush.get(),
                                  D2D1_DRAW_TEXT_OPTIONS_NONE);
    render_target->SetAntialiasMode(D2D1_ANTIALIAS_MODE_PER_PRIMITIVE);
}

void render_context::draw_text_clipped(const rect& layout_rect, const rect& clip, std::string_view text)
{
    const std::wstring wide = qvsdk::utf8_to_wide(text);
    com_ptr<IDWriteTextLayout> layout;
    if (FAILED(write_factory->CreateTextLayout(wide.c_str(), UINT32(wide.size()), text_format.get(),
                                               float(layout_rect.width), float(layout_rect.height), layout.put())))
        return;
    const DWRITE_TEXT_RANGE all{0, UINT32(wide.size())};
    layout->SetFontWeight(font_weight, all);
    layout->SetFontStyle(font_style, all);
    if (!font_family.empty())
        layout->SetFontFamilyName(font_family.c_str(), all);
    layout->SetFontSize(font_size, all);
    render_target->PushAxisAlignedClip(to_d2d(clip), D2D1_ANTIALIAS_MODE_ALIASED);
    render_target->DrawTextLayout(D2D1::Point2F(float(layout_rect.x), float(layout_rect.y)), layout.get(),
                                  text_brush.get(), D2D1_DRAW_TEXT_OPTIONS_NONE);
    render_target->PopAxisAlignedClip();
}

size render_context::measure_text(std::string_view text, std::int32_t max_width, std::int32_t max_height,
                                  const std::vector<style_run>& runs)
{
    com_ptr<IDWriteTextLayout> layout = make_layout(text, max_width == 0 ? FLT_MAX : float(max_width),
                                                    max_height == 0 ? FLT_MAX : float(max_height), runs);
    DWRITE_TEXT_METRICS metrics{};
    if (!layout || FAILED(layout->GetMetrics(&metrics)))
        return {0, 0};
    return {std::int32_t(metrics.widthIncludingTrailingWhitespace + 1), std::int32_t(metrics.height + 1)};
}

std::vector<rect> render_context::text_range_rects(std::string_view text, const std::vector<style_run>& runs,
                                                  size layout_size, std::int32_t start, std::int32_t end)
{
    com_ptr<IDWriteTextLayout> layout = make_layout(text, layout_size.width == 0 ? FLT_MAX : float(layout_size.width),
                                                    layout_size.height == 0 ? FLT_MAX : float(layout_size.height), runs);
    if (!layout || end <= start)
        return {};
    UINT32 count = 0;
    layout->HitTestTextRange(UINT32(start), UINT32(end - start), 0, 0, nullptr, 0, &count);
    if (count == 0)
        return {};
    std::vector<DWRITE_HIT_TEST_METRICS> metrics(count);
    if (FAILED(layout->HitTestTextRange(UINT32(start), UINT32(end - start), 0, 0, metrics.data(), count, &count)))
        return {};
    std::vector<rect> boxes;
    for (UINT32 i = 0; i < count; ++i) {
        const DWRITE_HIT_TEST_METRICS& m = metrics[i];
        if (m.width > 0 && m.height > 0)
            boxes.push_back(rounded_box(m.left, m.top, m.left + m.width, m.top + m.height));
    }
    return boxes;
}

void render_context::begin_widget(const void* widget, const rect& bounds, float scale, const RECT& device_clip)
{
    if (paint_stack.empty()) {
        BeginPaint(window_handle, &paint);
        render_target->BeginDraw();
    }
    paint_stack.push_back(widget);
    render_target->SetTransform(D2D1::Matrix3x2F::Identity());
    render_target->PushAxisAlignedClip(
        D2D1::RectF(float(device_clip.left), float(device_clip.top), float(device_clip.right), float(device_clip.bottom)),
        D2D1_ANTIALIAS_MODE_ALIASED);
    transforms.push_back(child_transform(transforms.back(), scale, bounds.x, bounds.y));
    render_target->SetTransform(transforms.back());
    const float w = float(grown_extent(bounds.width, scale_x));
    const float h = float(grown_extent(bounds.height, scale_y));
    render_target->PushAxisAlignedClip(D2D1::RectF(0, 0, w, h), D2D1_ANTIALIAS_MODE_PER_PRIMITIVE);
}

void render_context::begin_widget(const widget& w, const RECT& device_clip)
{
    begin_widget(&w, w.bounds(), w.scale(), device_clip);
}

void render_context::resize(std::uint32_t pixel_width, std::uint32_t pixel_height)
{
    hwnd_target->Resize(D2D1::SizeU(pixel_width, pixel_height));
}

void render_context::set_dpi(float dpi_x, float dpi_y)
{
    // The target stays at 96 dpi (one unit a pixel) and the DPI scale starts
    // the transform chain; clips pushed under a scaled target DPI are placed
    // wrongly by some Direct2D implementations.
    render_target->SetDpi(96.0f, 96.0f);
    set_scale(dpi_x / 96.0f, dpi_y / 96.0f);
    base_transform = D2D1::Matrix3x2F::Scale(dpi_x / 96.0f, dpi_y / 96.0f);
    if (paint_stack.empty()) {
        transforms.clear();
        transforms.push_back(base_transform);
    }
}

void render_context::end_widget()
{
    if (paint_stack.empty())
        return;
    render_target->PopAxisAlignedClip();
    render_target->PopAxisAlignedClip();
    transforms.pop_back();
    if (transforms.empty())
        transforms.push_back(base_transform);
    // The parent may draw on after its child; give it back its own transform.
    render_target->SetTransform(transforms.back());
    paint_stack.pop_back();
    if (paint_stack.empty()) {
        render_target->SetTransform(D2D1::Matrix3x2F::Identity());
        render_target->EndDraw();
        EndPaint(window_handle, &paint);
    }
}

} // namespace qvsdk::ui
