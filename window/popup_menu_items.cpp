#include "window/popup_menu_items.h"

#include "window/host_commands.h"

std::vector<PopupMenuItem> PopupMenuItems(const Options& opt) {
    std::vector<PopupMenuItem> items;
    if (opt.CloseMenu.Value) items.push_back({kCloseItemText, host_commands::kClose});
    if (opt.SetupMenu.Value) items.push_back({kSetupItemText, host_commands::kSetup});
    if (opt.MinimizeMenu.Value) items.push_back({kMinimizeItemText, host_commands::kMinimize});
    return items;
}
