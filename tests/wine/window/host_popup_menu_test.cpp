// The popup menu the host builds at creation, read back in this process (another process's menu
// cannot be read).
#include <gtest/gtest.h>

#include "host_harness.h"

using namespace windowtest;

namespace {

std::string Items(HMENU menu) {
    std::string items;
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        char text[64] = {};
        GetMenuStringA(menu, i, text, sizeof text, MF_BYPOSITION);
        items += (items.empty() ? "" : ",") + std::string(text) + ":" + std::to_string(GetMenuItemID(menu, i));
    }
    return items;
}

TEST(HostPopupMenu, BuiltWithTheHostFromTheMenuOptions) {
    struct Case {
        bool Close, Setup, Minimize;
        const char* Expected;
    } cases[] = {
        {true, false, false, "Close:129"},
        {false, false, true, "Minimize:131"},
        {true, true, true, "Close:129,Setup:130,Minimize:131"},
    };
    for (const Case& c : cases) {
        HostHarness harness;
        Options opt;
        opt.Width = 400;
        opt.Height = 300;
        opt.CloseMenu.Value = c.Close;
        opt.SetupMenu.Value = c.Setup;
        opt.MinimizeMenu.Value = c.Minimize;
        harness.Create(opt);
        ASSERT_TRUE(IsMenu(harness.Host.PopupMenu)) << c.Expected;
        EXPECT_EQ(Items(harness.Host.PopupMenu), c.Expected);
        DestroyMenu(harness.Host.PopupMenu);
    }
}

TEST(HostPopupMenu, NoItemNoMenu) {
    HostHarness harness;
    Options opt;
    opt.Width = 400;
    opt.Height = 300;
    harness.Create(opt);
    EXPECT_EQ(harness.Host.PopupMenu, nullptr);
}

}  // namespace
