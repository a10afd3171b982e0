#pragma once

#include "toolkit/rect.h"
#include "toolkit/size.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace qvsdk::ui {

// One entry of a flow panel, as the layout sees it.
struct flow_entry {
    enum kind_t : std::int32_t { widget = 0, stretch = 1, spacing = 2 };
    kind_t kind = widget;
    bool expand = false;
    bool visible = true;   // the child's own flag; hidden children take no room
    rect bounds;           // a child's current rect
    size minimum{0, 0};    // a child's minimum size
    std::int32_t fixed = 0; // a spacing's length
};

struct flow_placement {
    std::size_t index; // into the entries
    rect bounds;
};

struct flow_result {
    std::vector<flow_placement> placed; // every visible child, in order
    std::int32_t end;                   // the running position after the last entry
};

// Places the children one after another along the axis, sharing what is left
// of the panel's length among the expanding entries.
flow_result flow_layout(bool horizontal, bool fill_cross_axis, size panel, const std::vector<flow_entry>& entries);

} // namespace qvsdk::ui
