// The host's popup menu: which items it has for the options, in order. Portable.
#pragma once

#include <cstdint>
#include <vector>

#include "payload/options.h"

struct PopupMenuItem {
    const char* Text;
    uint32_t Id;
};

constexpr char kCloseItemText[] = "Close";
constexpr char kSetupItemText[] = "Setup";
constexpr char kMinimizeItemText[] = "Minimize";

// "Close" (CloseMenu), "Setup" (SetupMenu), "Minimize" (MinimizeMenu), each when its option is on.
// Empty: the engine has no popup menu.
std::vector<PopupMenuItem> PopupMenuItems(const Options& opt);
