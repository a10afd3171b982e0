#include "toolkit/event_object.h"

#include "toolkit/event_manager.h"

namespace qvsdk::ui {

event_object::~event_object()
{
    event_manager::instance().unregister(this);
}

} // namespace qvsdk::ui
