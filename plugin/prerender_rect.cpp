#include "plugin/prerender_rect.h"

#include <algorithm>

bool rect_is_empty(const PF_LRect& rect)
{
    return rect.left >= rect.right || rect.top >= rect.bottom;
}

void union_rect(PF_LRect& into, const PF_LRect& from)
{
    if (rect_is_empty(into)) {
        into = from;
        return;
    }
    if (rect_is_empty(from))
        return;
    into.left = std::min(into.left, from.left);
    into.top = std::min(into.top, from.top);
    into.right = std::max(into.right, from.right);
    into.bottom = std::max(into.bottom, from.bottom);
}
