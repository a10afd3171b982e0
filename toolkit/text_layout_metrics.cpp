#include "toolkit/text_layout_metrics.h"

#include "toolkit/com_ptr.h"
#include "toolkit/render_context.h"
#include "toolkit/text_encoding.h"
#include "toolkit/text_range_box.h"

#include <windows.h>
#include <dwrite.h>

#include <cfloat>

namespace qvsdk::ui {

namespace {

com_ptr<IDWriteFactory> write_factory()
{
    // The shared factory is one object per process; asking again is cheap.
    com_ptr<IDWriteFactory> f;
    DWriteCreateFactory(DWRITE_FACTORY_TYPE_SHARED, __uuidof(IDWriteFactory), reinterpret_cast<IUnknown**>(f.put()));
    return f;
}

DWRITE_FONT_STYLE style_of(std::int32_t kind)
{
    return kind == 1 ? DWRITE_FONT_STYLE_ITALIC : DWRITE_FONT_STYLE_NORMAL;
}

} // namespace

std::vector<rect> text_range_from_metrics(std::string_view text, const std::vector<style_run>& runs,
                                          const text_font& font, size layout_size, std::int32_t start,
                                          std::int32_t end)
{
    com_ptr<IDWriteFactory> factory = write_factory();
    if (!factory || text.empty() || end <= start)
        return {};
    const std::wstring family = qvsdk::utf8_to_wide(font.name);
    com_ptr<IDWriteTextFormat> format;
    if (FAILED(factory->CreateTextFormat(family.empty() ? L"Verdana" : family.c_str(), nullptr,
                                         font_weight_of(font.weight_kind), style_of(font.style_kind),
                                         DWRITE_FONT_STRETCH_NORMAL, font.size, L"en-us", format.put())))
        return {};
    const DWRITE_TEXT_ALIGNMENT horizontal = font.horizontal == 0   ? DWRITE_TEXT_ALIGNMENT_LEADING
                                             : font.horizontal == 2 ? DWRITE_TEXT_ALIGNMENT_TRAILING
                                                                    : DWRITE_TEXT_ALIGNMENT_CENTER;
    const DWRITE_PARAGRAPH_ALIGNMENT vertical = font.vertical == 1   ? DWRITE_PARAGRAPH_ALIGNMENT_NEAR
                                                : font.vertical == 2 ? DWRITE_PARAGRAPH_ALIGNMENT_FAR
                                                                     : DWRITE_PARAGRAPH_ALIGNMENT_CENTER;
    format->SetTextAlignment(horizontal);
    format->SetParagraphAlignment(vertical);

    const std::wstring wide = qvsdk::utf8_to_wide(text);
    const float max_width = layout_size.width == 0 ? FLT_MAX : float(layout_size.width);
    const float max_height = layout_size.height == 0 ? FLT_MAX : float(layout_size.height);
    com_ptr<IDWriteTextLayout> layout;
    if (FAILED(factory->CreateTextLayout(wide.c_str(), UINT32(wide.size()), format.get(), max_width, max_height,
                                         layout.put())))
        return {};
    layout->SetUnderline(font.underline, {0, UINT32(wide.size())});
    for (const style_run& run : runs) {
        if (run.end <= run.start || run.start < 0)
            continue;
        const DWRITE_TEXT_RANGE range{UINT32(run.start), UINT32(run.end - run.start)};
        layout->SetFontWeight(font_weight_of(run.weight_kind), range);
        layout->SetFontStyle(style_of(run.style), range);
        const std::wstring run_family = qvsdk::utf8_to_wide(run.font_name);
        if (!run_family.empty())
            layout->SetFontFamilyName(run_family.c_str(), range);
        layout->SetFontSize(run.size, range);
        layout->SetUnderline(run.underline, range);
    }

    laid_text laid;
    UINT32 count = 0;
    layout->GetLineMetrics(nullptr, 0, &count);
    std::vector<DWRITE_LINE_METRICS> lines(count);
    if (count == 0 || FAILED(layout->GetLineMetrics(lines.data(), count, &count)))
        return {};
    for (const auto& line : lines)
        laid.lines.push_back({std::int32_t(line.length), std::int32_t(line.trailingWhitespaceLength), line.height});
    count = 0;
    layout->GetClusterMetrics(nullptr, 0, &count);
    std::vector<DWRITE_CLUSTER_METRICS> clusters(count);
    if (count == 0 || FAILED(layout->GetClusterMetrics(clusters.data(), count, &count)))
        return {};
    for (const auto& cluster : clusters)
        laid.clusters.push_back({std::int32_t(cluster.length), cluster.width});
    laid.horizontal = std::int32_t(horizontal);
    laid.vertical = std::int32_t(vertical);
    laid.max_width = layout_size.width == 0 ? 0.0f : max_width;
    laid.max_height = layout_size.height == 0 ? 0.0f : max_height;
    return text_range_boxes(laid, start, end);
}

} // namespace qvsdk::ui
