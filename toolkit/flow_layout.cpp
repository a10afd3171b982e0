#include "toolkit/flow_layout.h"

#include <algorithm>

namespace qvsdk::ui {

flow_result flow_layout(bool horizontal, bool fill_cross, size panel, const std::vector<flow_entry>& entries)
{
    auto length_of = [horizontal](const rect& r) { return horizontal ? r.width : r.height; };

    std::int32_t content = 0;
    std::int32_t expanding = 0;
    for (const flow_entry& e : entries) {
        if (e.expand)
            ++expanding;
        if (e.kind == flow_entry::spacing)
            content += e.fixed;
        else if (e.kind == flow_entry::widget && e.visible)
            content += length_of(e.bounds);
    }
    const std::int32_t panel_length = horizontal ? panel.width : panel.height;
    // Integer division: an odd unit is left at the end.
    const std::int32_t share = expanding > 0 ? (panel_length - content) / expanding : 0;

    flow_result result{{}, 0};
    std::int32_t p = 0;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const flow_entry& e = entries[i];
        if (e.kind == flow_entry::stretch) {
            p += share;
            continue;
        }
        if (e.kind == flow_entry::spacing) {
            p += e.fixed;
            continue;
        }
        if (!e.visible)
            continue;
        const std::int32_t length = length_of(e.bounds) + (e.expand ? share : 0);
        rect r = horizontal ? rect(p, e.bounds.y, length, fill_cross ? panel.height : e.bounds.height)
                            : rect(e.bounds.x, p, fill_cross ? panel.width : e.bounds.width, length);
        r.width = std::max(r.width, e.minimum.width);
        r.height = std::max(r.height, e.minimum.height);
        result.placed.push_back({i, r});
        p += length;
    }
    result.end = p;
    return result;
}

} // namespace qvsdk::ui
