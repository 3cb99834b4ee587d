#include "engine/full_screen_menu.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct TextCase {
    const char* text;
    bool expected;
};

TEST(FullScreenMenuText, ViewCaptionsMatchWholeAndCaseSensitive) {
    const TextCase cases[] = {
        {"&View", true},      {"&Ansicht", true},   {"&Exibir", true},    {"&view", false},
        {"View", false},      {"&View ", false},    {"&Viewer", false},   {"&ANSICHT", false},
        {"&Exibir\tAlt", false}, {"", false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsViewMenuText(c.text), c.expected) << c.text;
}

TEST(FullScreenMenuText, FullScreenItemsMatchByPrefix) {
    const TextCase cases[] = {
        {"Full &Screen", true},
        {"Full &Screen\tCtrl+F", true},
        {"&Vollbild", true},
        {"&Vollbild\tStrg+F", true},
        {"&Tela Inteira", true},
        {"&Tela Inteira\tCtrl+F", true},
        {"Full &Scree", false},  // shorter than the 12 compared characters
        {"Full Screen", false},
        {"full &screen", false},
        {"&Vollbil", false},
        {"&Tela inteira", false},
        {" Full &Screen", false},
        {"", false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsFullScreenItemText(c.text), c.expected) << c.text;
}

// A menu bar held in memory; counts the reads so the walk's extent can be checked.
struct FakeBarItem {
    MenuEntry Entry;
    std::vector<MenuEntry> Sub;
};

class FakeMenu : public MenuReader {
public:
    explicit FakeMenu(std::vector<FakeBarItem> bar) : bar_(std::move(bar)) {}
    int BarItemCount() override { return static_cast<int>(bar_.size()); }
    MenuEntry BarItem(int index) override { ++barReads; return bar_[index].Entry; }
    int SubItemCount(int barIndex) override { return static_cast<int>(bar_[barIndex].Sub.size()); }
    MenuEntry SubItem(int barIndex, int index) override {
        ++subReads;
        return bar_[barIndex].Sub[index];
    }
    int barReads = 0, subReads = 0;

private:
    std::vector<FakeBarItem> bar_;
};

MenuEntry Text(const char* text, int32_t id = 0) { return MenuEntry{true, true, text, id}; }
MenuEntry Separator() { return MenuEntry{true, false, "", 0}; }
MenuEntry Unreadable() { return MenuEntry{}; }

struct WalkCase {
    const char* name;
    std::vector<FakeBarItem> bar;
    int32_t expected;
};

TEST(FullScreenMenuWalk, FindsTheCommandOrFallsBack) {
    const std::vector<WalkCase> cases = {
        {"english with shortcut",
         {{Text("&File"), {Text("&Open", 1)}}, {Text("&View"), {Text("&Zoom", 7), Text("Full &Screen\tCtrl+F", 4711)}}},
         4711},
        {"german", {{Text("&Datei"), {}}, {Text("&Ansicht"), {Text("&Vollbild\tStrg+F", 301)}}}, 301},
        {"portuguese", {{Text("&Exibir"), {Separator(), Text("&Tela Inteira", 302)}}}, 302},
        {"unknown language", {{Text("&Fichier"), {}}, {Text("&Affichage"), {Text("Plein &écran", 9)}}}, kDefaultFullScreenCommand},
        {"no menu bar", {}, kDefaultFullScreenCommand},
        {"first view without item ends the walk",
         {{Text("&View"), {Text("&Zoom", 5)}}, {Text("&Ansicht"), {Text("&Vollbild", 303)}}},
         kDefaultFullScreenCommand},
        {"first matching sub-item wins", {{Text("&View"), {Text("Full &Screen", 10), Text("&Vollbild", 11)}}}, 10},
        {"unreadable and non-text bar items are skipped",
         {{Unreadable(), {Text("Full &Screen", 1)}}, {MenuEntry{true, false, "&View", 0}, {Text("Full &Screen", 2)}},
          {Text("&View"), {Unreadable(), MenuEntry{true, false, "Full &Screen", 3}, Text("Full &Screen", 4)}}},
         4},
        {"item with id 0 gives the default", {{Text("&View"), {Text("Full &Screen", 0)}}}, kDefaultFullScreenCommand},
        {"case matters", {{Text("&view"), {Text("Full &Screen", 12)}}}, kDefaultFullScreenCommand},
    };
    for (const auto& c : cases) {
        FakeMenu menu(c.bar);
        EXPECT_EQ(FindFullScreenCommand(menu), c.expected) << c.name;
    }
}

TEST(FullScreenMenuWalk, StopsReadingAfterTheViewMenu) {
    FakeMenu menu({{Text("&View"), {Text("Full &Screen", 42), Text("&Other", 43)}},
                   {Text("&Help"), {Text("&About", 44)}}});
    EXPECT_EQ(FindFullScreenCommand(menu), 42);
    EXPECT_EQ(menu.barReads, 1);
    EXPECT_EQ(menu.subReads, 1);
}

}  // namespace
