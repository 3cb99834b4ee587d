#include "engine/full_screen_menu.h"

#include <array>
#include <cstring>

namespace {

// Menu-bar captions of the "View" menu, compared whole.
constexpr std::array<const char*, 3> kViewMenuTexts = {"&View", "&Ansicht", "&Exibir"};
// Beginnings of the "Full Screen" item, compared over their own length only.
constexpr std::array<const char*, 3> kFullScreenItemPrefixes = {"Full &Screen", "&Vollbild", "&Tela Inteira"};

}  // namespace

bool IsViewMenuText(const std::string& text) {
    for (const char* view : kViewMenuTexts)
        if (text == view) return true;
    return false;
}

bool IsFullScreenItemText(const std::string& text) {
    for (const char* prefix : kFullScreenItemPrefixes)
        if (text.compare(0, std::strlen(prefix), prefix) == 0) return true;
    return false;
}

int32_t FindFullScreenCommand(MenuReader& menu) {
    int32_t command = 0;
    const int barCount = menu.BarItemCount();
    for (int bar = 0; bar < barCount; ++bar) {
        const MenuEntry barItem = menu.BarItem(bar);
        if (!barItem.Read || !barItem.IsString || !IsViewMenuText(barItem.Text)) continue;
        const int subCount = menu.SubItemCount(bar);
        for (int sub = 0; sub < subCount; ++sub) {
            const MenuEntry item = menu.SubItem(bar, sub);
            if (!item.Read || !item.IsString || !IsFullScreenItemText(item.Text)) continue;
            command = item.Id;
            break;
        }
        break;
    }
    return command != 0 ? command : kDefaultFullScreenCommand;
}
