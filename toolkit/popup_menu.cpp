#include "toolkit/popup_menu.h"

#include "toolkit/text_encoding.h"

#include <unordered_map>

namespace qvsdk::ui {

namespace {

struct key_hash {
    std::size_t operator()(std::int32_t key) const
    {
        // FNV-1a over the key's four bytes.
        std::uint64_t h = 0xcbf29ce484222325ull;
        const auto* bytes = reinterpret_cast<const unsigned char*>(&key);
        for (int i = 0; i < 4; ++i) {
            h ^= bytes[i];
            h *= 0x100000001b3ull;
        }
        return static_cast<std::size_t>(h);
    }
};

struct item {
    std::int32_t command_id;
    std::int32_t parent_id;
    HMENU holder;             // the menu the item is in
    HMENU submenu = nullptr;  // its own items, once it has any
};

} // namespace

struct popup_menu::inner {
    // Keyed by command id + 1, so that -1 (the menu itself) is never found.
    std::unordered_map<std::int32_t, item, key_hash> items;
    HMENU root;

    inner() : items(8), root(CreatePopupMenu()) { items.max_load_factor(1.0f); }
    ~inner()
    {
        // Attached submenus go with it.
        if (root)
            DestroyMenu(root);
    }
};

popup_menu::popup_menu() : record(std::make_unique<inner>()) {}

popup_menu::~popup_menu() = default;

HMENU popup_menu::handle() const
{
    return record->root;
}

void popup_menu::add_item(std::int32_t command_id, std::int32_t parent_id, std::string_view text)
{
    const std::wstring wide = qvsdk::utf8_to_wide(text);
    auto parent = record->items.find(parent_id + 1);
    if (parent == record->items.end()) {
        AppendMenuW(record->root, MF_STRING, UINT_PTR(command_id), wide.c_str());
        record->items.insert_or_assign(command_id + 1, item{command_id, 0, record->root});
        return;
    }
    item& owner = parent->second;
    if (!owner.submenu) {
        owner.submenu = CreatePopupMenu();
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_SUBMENU;
        info.hSubMenu = owner.submenu;
        SetMenuItemInfoW(owner.holder, UINT(owner.command_id), FALSE, &info);
    }
    HMENU submenu = owner.submenu;
    AppendMenuW(submenu, MF_STRING, UINT_PTR(command_id), wide.c_str());
    record->items.insert_or_assign(command_id + 1, item{command_id, parent_id, submenu});
}

} // namespace qvsdk::ui
