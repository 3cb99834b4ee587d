// Finding the projector's own full-screen command in its menu bar. The projector ships in English,
// German and Portuguese; its "View" menu holds the item that switches it to full screen. Portable:
// the menu itself is read by the Win32 layer through MenuReader.
#pragma once

#include <cstdint>
#include <string>

// Sent when the menu bar holds no recognised item: the projector's usual full-screen command.
constexpr int32_t kDefaultFullScreenCommand = 20048;

// One menu item as GetMenuItemInfoA reports it.
struct MenuEntry {
    bool Read = false;      // the item could be read at all
    bool IsString = false;  // its type is a plain text item
    std::string Text;
    int32_t Id = 0;
};

// Access to a menu bar and the sub-menus of its items, in index order.
class MenuReader {
public:
    virtual ~MenuReader() = default;
    virtual int BarItemCount() = 0;
    virtual MenuEntry BarItem(int index) = 0;
    virtual int SubItemCount(int barIndex) = 0;
    virtual MenuEntry SubItem(int barIndex, int index) = 0;
};

// The text of a menu-bar item is exactly one of the known "View" captions (case-sensitive).
bool IsViewMenuText(const std::string& text);
// The text of a sub-menu item begins with one of the known "Full Screen" captions (case-sensitive;
// the rest, such as a tab and the shortcut, is ignored).
bool IsFullScreenItemText(const std::string& text);

// The walk ends with the first menu-bar item whose text is a "View" caption, whether or not its
// sub-menu holds a full-screen item. 0 (no item, or an item with id 0) gives the default command.
int32_t FindFullScreenCommand(MenuReader& menu);
