#include "window/popup_menu_items.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct MenuCase {
    bool Close, Setup, Minimize;
    const char* Expected;  // "text:id" items joined by ","
};

void PrintTo(const MenuCase& c, std::ostream* out) { *out << c.Close << c.Setup << c.Minimize; }

class PopupMenuTable : public ::testing::TestWithParam<MenuCase> {};

TEST_P(PopupMenuTable, ItemsInOrder) {
    Options opt;
    opt.CloseMenu.Value = GetParam().Close;
    opt.SetupMenu.Value = GetParam().Setup;
    opt.MinimizeMenu.Value = GetParam().Minimize;
    std::string items;
    for (const PopupMenuItem& item : PopupMenuItems(opt))
        items += (items.empty() ? "" : ",") + std::string(item.Text) + ":" + std::to_string(item.Id);
    EXPECT_EQ(items, GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(Options, PopupMenuTable,
                         ::testing::Values(MenuCase{false, false, false, ""},
                                           MenuCase{true, false, false, "Close:129"},
                                           MenuCase{false, true, false, "Setup:130"},
                                           MenuCase{false, false, true, "Minimize:131"},
                                           MenuCase{true, false, true, "Close:129,Minimize:131"},
                                           MenuCase{true, true, true, "Close:129,Setup:130,Minimize:131"}));

}  // namespace
