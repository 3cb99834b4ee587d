#include "engine/win32/menu_walk.h"

#include <vector>

#include "engine/full_screen_menu.h"

namespace {

constexpr UINT kTextBufferSize = 100;

// Reads one item by position; sub-menu handles are kept so the walk can descend.
MenuEntry ReadItem(HMENU menu, int index, UINT mask, HMENU* subMenu) {
    char text[kTextBufferSize] = {};
    MENUITEMINFOA info = {};
    info.cbSize = kMenuItemInfoSize;
    info.fMask = mask;
    info.dwTypeData = text;
    info.cch = kTextBufferSize;
    MenuEntry entry;
    if (!GetMenuItemInfoA(menu, static_cast<UINT>(index), TRUE, &info)) return entry;
    entry.Read = true;
    entry.IsString = info.fType == MFT_STRING;
    if (entry.IsString) entry.Text.assign(text, strnlen(text, kTextBufferSize));
    entry.Id = static_cast<int32_t>(info.wID);
    if (subMenu) *subMenu = info.hSubMenu;
    return entry;
}

int ItemCount(HMENU menu) {
    if (!menu) return 0;
    const int count = GetMenuItemCount(menu);
    return count > 0 ? count : 0;
}

class Win32MenuReader : public MenuReader {
public:
    explicit Win32MenuReader(HMENU bar) : bar_(bar), subMenus_(ItemCount(bar), nullptr) {}
    int BarItemCount() override { return static_cast<int>(subMenus_.size()); }
    MenuEntry BarItem(int index) override {
        return ReadItem(bar_, index, MIIM_ID | MIIM_SUBMENU | MIIM_TYPE, &subMenus_[index]);
    }
    int SubItemCount(int barIndex) override { return ItemCount(subMenus_[barIndex]); }
    MenuEntry SubItem(int barIndex, int index) override {
        return ReadItem(subMenus_[barIndex], index, MIIM_ID | MIIM_TYPE, nullptr);
    }

private:
    HMENU bar_;
    std::vector<HMENU> subMenus_;
};

}  // namespace

int32_t ReadFullScreenCommand(HMENU menuBar) {
    Win32MenuReader reader(menuBar);
    return FindFullScreenCommand(reader);
}
