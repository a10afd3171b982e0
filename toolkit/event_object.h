#pragma once

#include "toolkit/non_copyable_non_moveable.h"

namespace qvsdk::ui {

// Anything that raises or receives events; dying drops every handler it is
// source or subscriber of.
class event_object : non_copyable_non_moveable {
public:
    event_object() = default;
    virtual ~event_object();
};

} // namespace qvsdk::ui
