#pragma once

#include "toolkit/color.h"
#include "toolkit/com_ptr.h"
#include "toolkit/non_copyable_non_moveable.h"
#include "toolkit/point.h"
#include "toolkit/rect.h"
#include "toolkit/size.h"
#include "toolkit/style_run.h"

#include <windows.h>
#include <d2d1.h>
#include <dwrite.h>

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

namespace qvsdk::ui {

class image;
class widget;

// A window's Direct2D surface with the current drawing state. Widgets draw
// through it in their own 96-dpi coordinates, bracketed by begin_widget and
// end_widget.
class render_context : non_copyable_non_moveable {
public:
    enum stroke_kind : std::int32_t { solid = 0, dotted = 1, dashed = 2 };

    explicit render_context(HWND window);
    ~render_context();

    void set_fill_color(const color& c);
    void set_text_color(const color& c);
    void set_line(const color& c, float width);
    void set_stroke(std::int32_t kind, bool antialias);
    void set_font(std::string_view name, float size, std::int32_t weight_kind, std::int32_t style_kind,
                  bool underline);
    // Horizontal 0 leading, 2 trailing, else centred; vertical 1 top, 2 bottom, else centred.
    void set_text_alignment(std::int32_t horizontal, std::int32_t vertical);
    void set_scale(float x, float y);

    void fill_rect(const rect& r);
    void fill_rounded_rect(const rect& r, float radius);
    void draw_rect(const rect& r);
    void draw_line(point from, point to);
    // A clip of all zero means no clip.
    void fill_circle(point centre, float radius, const rect& clip);
    void fill_gradient(const rect& r, const color& top, const color& bottom);

    void draw_image(point position, image& picture, float opacity);
    void draw_image_in_rect(const rect& destination, image& picture, float opacity);
    // The source is in the image's units (pixels over its scale).
    void draw_image_part(point position, image& picture, const rect& source, float opacity);
    void draw_image_part_in_rect(const rect& destination, image& picture, const rect& source, float opacity);

    // Runs address UTF-16 positions of the text.
    void draw_text(const rect& r, std::string_view text, const std::vector<style_run>& runs);
    void draw_text_clipped(const rect& layout, const rect& clip, std::string_view text);
    // Bounds of 0 mean unbounded; one unit is added to each measured side.
    size measure_text(std::string_view text, std::int32_t max_width, std::int32_t max_height,
                      const std::vector<style_run>& runs);
    // The layout's hit-test boxes of [start, end): one per line and run, not their union.
    std::vector<rect> text_range_rects(std::string_view text, const std::vector<style_run>& runs, size layout,
                                       std::int32_t start, std::int32_t end);

    // The first call of a paint begins painting and drawing; the matching last
    // end_widget ends both. bounds: the widget's rect in its parent.
    void begin_widget(const void* widget, const rect& bounds, float scale, const RECT& device_clip);
    // The window's traversal: the widget's own rect and scale; the clip in
    // device pixels.
    void begin_widget(const widget& w, const RECT& device_clip);
    void end_widget();
    // Widgets begun and not yet ended in the paint under way.
    std::size_t paint_depth() const { return paint_stack.size(); }

    ID2D1RenderTarget* target() const { return render_target; }
    // The window's client size changed (pixels) or its DPI did; widgets keep
    // drawing in 96-dpi units.
    void resize(std::uint32_t pixel_width, std::uint32_t pixel_height);
    void set_dpi(float dpi_x, float dpi_y);
    HWND window() const { return window_handle; }

    // Bookkeeping between images and the contexts that hold their bitmaps.
    void remember_image(image* picture);
    void forget_image(image* picture);
    std::size_t image_count() const { return images.size(); }

private:
    void create_resources();
    ID2D1StrokeStyle* current_stroke() const;
    com_ptr<IDWriteTextLayout> make_layout(std::string_view text, float max_width, float max_height,
                                           const std::vector<style_run>& runs);
    ID2D1Bitmap* bitmap_of(image& picture);

    // Declared first so that it is released last.
    HWND window_handle;
    com_ptr<ID2D1HwndRenderTarget> hwnd_target;
    ID2D1RenderTarget* render_target = nullptr; // alias of hwnd_target
    com_ptr<ID2D1Factory> d2d_factory;
    com_ptr<IDWriteFactory> write_factory;
    com_ptr<ID2D1SolidColorBrush> fill_brush;
    com_ptr<ID2D1SolidColorBrush> text_brush;
    com_ptr<ID2D1SolidColorBrush> line_brush;
    com_ptr<ID2D1StrokeStyle> dotted_stroke;
    com_ptr<ID2D1StrokeStyle> dashed_stroke;
    com_ptr<IDWriteTextFormat> text_format;
    PAINTSTRUCT paint{};
    DWRITE_FONT_WEIGHT font_weight = DWRITE_FONT_WEIGHT_NORMAL;
    DWRITE_FONT_STYLE font_style = DWRITE_FONT_STYLE_NORMAL;
    std::wstring font_family;
    float font_size = 12.0f;
    bool underline = false;
    float line_width = 1.0f;
    std::int32_t stroke = solid;
    bool antialias_lines = false;
    bool alias_text = false;
    std::vector<const void*> paint_stack;
    std::deque<D2D1_MATRIX_3X2_F> transforms;
    D2D1_MATRIX_3X2_F base_transform = D2D1::Matrix3x2F::Identity();
    std::vector<image*> images;
    float scale_x = 1.0f;
    float scale_y = 1.0f;
    color fill_colour{0, 0, 0, 1};
    color line_colour{1, 1, 1, 1};
};

// Pure geometry of the context, callable without a window.
// Width or height grown by one when the scaled size has a fraction of .5 or more.
std::int32_t grown_extent(std::int32_t extent, float scale);
// The outline of draw_rect: inset by half the line width on every side.
D2D1_RECT_F outline_rect(const rect& r, float line_width);
// A child's transform: scale, then move to its position, then the parent's.
D2D1_MATRIX_3X2_F child_transform(const D2D1_MATRIX_3X2_F& parent, float scale, std::int32_t x,
                                  std::int32_t y);
DWRITE_FONT_WEIGHT font_weight_of(std::int32_t weight_kind);

} // namespace qvsdk::ui
