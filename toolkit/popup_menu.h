#pragma once

#include "toolkit/non_copyable_non_moveable.h"

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string_view>

namespace qvsdk::ui {

// A native popup menu for context menus. The owner shows handle() itself,
// e.g. with TrackPopupMenuEx and TPM_RETURNCMD, and acts on the command id.
class popup_menu : non_copyable_non_moveable {
public:
    popup_menu();
    virtual ~popup_menu();

    // parent_id -1 appends to the menu itself; another item's command id
    // appends to that item's submenu, made on first use. text is UTF-8.
    void add_item(std::int32_t command_id, std::int32_t parent_id, std::string_view text);
    HMENU handle() const;

private:
    struct inner;
    std::unique_ptr<inner> record;
};

} // namespace qvsdk::ui
