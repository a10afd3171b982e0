#pragma once

#include "hostsdk/host_types.h"

// A rectangle is empty when left >= right or top >= bottom.
bool rect_is_empty(const PF_LRect& rect);

// Grows `into` to cover `from`; an empty `into` becomes a copy of `from`.
void union_rect(PF_LRect& into, const PF_LRect& from);
