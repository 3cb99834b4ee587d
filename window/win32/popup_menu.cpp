#include "window/win32/popup_menu.h"

#include "window/popup_menu_items.h"

HMENU BuildPopupMenu(const Options& opt) {
    const std::vector<PopupMenuItem> items = PopupMenuItems(opt);
    if (items.empty()) return nullptr;
    HMENU menu = CreatePopupMenu();
    if (!IsMenu(menu)) return nullptr;
    for (const PopupMenuItem& item : items) {
        if (!AppendMenuA(menu, MF_STRING, item.Id, item.Text)) {
            DestroyMenu(menu);
            return nullptr;
        }
    }
    return menu;
}
