// The full-screen command read from real menus of this process (another process's menu cannot be
// read under Wine).
#include "engine/win32/menu_walk.h"

#include <gtest/gtest.h>

#include <vector>

#include "engine/full_screen_menu.h"

namespace {

struct Item {
    const char* text;  // nullptr: a separator
    UINT id;
};

struct BarMenu {
    const char* text;
    std::vector<Item> items;
};

// A top-level window of a plain class with the given menu bar; destroyed with its menu.
class WindowWithMenu {
public:
    explicit WindowWithMenu(const std::vector<BarMenu>& bar) {
        HMENU menuBar = bar.empty() ? nullptr : CreateMenu();
        for (const BarMenu& menu : bar) {
            HMENU popup = CreatePopupMenu();
            for (const Item& item : menu.items) {
                if (item.text)
                    AppendMenuA(popup, MF_STRING, item.id, item.text);
                else
                    AppendMenuA(popup, MF_SEPARATOR, 0, nullptr);
            }
            AppendMenuA(menuBar, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup), menu.text);
        }
        window_ = CreateWindowExA(0, "STATIC", "menu walk", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, menuBar,
                                  GetModuleHandleA(nullptr), nullptr);
    }
    ~WindowWithMenu() { DestroyWindow(window_); }
    HWND Handle() const { return window_; }

private:
    HWND window_ = nullptr;
};

TEST(MenuWalk, StructureSizeIsTheOldLayoutForThisBitness) {
    EXPECT_EQ(kMenuItemInfoSize, sizeof(void*) == 8 ? 72u : 44u);
}

TEST(MenuWalk, FindsTheFullScreenItemByLanguage) {
    const struct {
        const char* name;
        std::vector<BarMenu> bar;
        int32_t expected;
    } cases[] = {
        {"english",
         {{"&File", {{"&Open", 100}, {nullptr, 0}, {"E&xit", 101}}},
          {"&View", {{"&Zoom In", 200}, {nullptr, 0}, {"Full &Screen\tCtrl+F", 20123}}},
          {"&Help", {{"&About", 300}}}},
         20123},
        {"german",
         {{"&Datei", {{"&Beenden", 101}}}, {"&Ansicht", {{"&Zoom", 200}, {"&Vollbild\tStrg+F", 31000}}}},
         31000},
        {"portuguese", {{"&Arquivo", {{"&Sair", 101}}}, {"&Exibir", {{nullptr, 0}, {"&Tela Inteira\tCtrl+F", 32000}}}},
         32000},
        {"unrecognised language", {{"&Fichier", {{"&Quitter", 101}}}, {"&Affichage", {{"&Plein ecran", 33000}}}},
         kDefaultFullScreenCommand},
        {"view menu without the item", {{"&View", {{"&Zoom In", 200}}}, {"&Ansicht", {{"&Vollbild", 34000}}}},
         kDefaultFullScreenCommand},
        {"no menu bar", {}, kDefaultFullScreenCommand},
    };
    for (const auto& c : cases) {
        WindowWithMenu window(c.bar);
        ASSERT_NE(window.Handle(), nullptr) << c.name;
        EXPECT_EQ(ReadFullScreenCommand(GetMenu(window.Handle())), c.expected) << c.name;
    }
}

TEST(MenuWalk, LongItemTextsAreCutNotOverrun) {
    const std::string longText = "Full &Screen" + std::string(300, 'x');
    WindowWithMenu window({{"&View", {{longText.c_str(), 4242}}}});
    EXPECT_EQ(ReadFullScreenCommand(GetMenu(window.Handle())), 4242);
}

}  // namespace
