#include "toolkit/text_range_box.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace qvsdk::ui {

namespace {

float aligned_offset(std::int32_t alignment, float room, float used)
{
    if (room <= 0)
        return 0;
    if (alignment == 1)
        return room - used;
    if (alignment == 2)
        return (room - used) / 2;
    return 0;
}

} // namespace

std::vector<rect> text_range_boxes(const laid_text& t, std::int32_t start, std::int32_t end)
{
    float total_height = 0;
    for (const laid_line& line : t.lines)
        total_height += line.height;
    float y = aligned_offset(t.vertical, t.max_height, total_height);

    std::vector<rect> boxes;
    std::size_t c = 0;
    std::int32_t position = 0;
    for (const laid_line& line : t.lines) {
        const std::int32_t line_end = position + line.length;
        const std::int32_t visible_end = line_end - line.trailing_whitespace;
        // The line's clusters: its width without trailing white space places it.
        const std::size_t first = c;
        float used = 0;
        for (std::int32_t p = position; c < t.clusters.size() && p < line_end; ++c) {
            if (p < visible_end)
                used += t.clusters[c].width;
            p += t.clusters[c].length;
        }
        float x = aligned_offset(t.horizontal, t.max_width, used);
        float left = FLT_MAX, right = -FLT_MAX;
        for (std::size_t k = first, p = std::size_t(position); k < c; ++k) {
            const laid_cluster& cluster = t.clusters[k];
            const std::int32_t cluster_start = std::int32_t(p);
            const std::int32_t cluster_end = cluster_start + cluster.length;
            if (cluster_start < end && cluster_end > start && cluster.width > 0) {
                left = std::min(left, x);
                right = std::max(right, x + cluster.width);
            }
            x += cluster.width;
            p += std::size_t(cluster.length);
        }
        if (left <= right)
            boxes.push_back(rounded_box(left, y, right, y + line.height));
        y += line.height;
        position = line_end;
    }
    return boxes;
}

rect rounded_box(float left, float top, float right, float bottom)
{
    constexpr float limit = 1.0e9f;
    auto held = [limit](float v) { return std::int32_t(std::lround(std::max(-limit, std::min(v, limit)))); };
    return {held(left), held(top), held(right - left), held(bottom - top)};
}

} // namespace qvsdk::ui
