// The popup menu and dragging, driven as a user would: a right click in the movie (the stand-in
// hook library asks the engine for its menu), an item chosen with the mouse; a left press in the
// movie, the cursor moved, the button released.
#include <windows.h>

#include <gtest/gtest.h>

#include "movie_control.h"
#include "support/standin_report.h"

using namespace testsupport;
using namespace moviecontrol;

namespace {

constexpr DWORD kEngineEndMs = 30000;
constexpr DWORD kMenuMs = 10000;
constexpr DWORD kDragSettleMs = 400;  // many 11 ms drag steps

std::string Listing(const Distributable& app) { return ::testing::PrintToString(ListTree(app.TempPath())); }

POINT Offset(POINT p, int dx, int dy) { return {p.x + dx, p.y + dy}; }

RECT WindowRectOf(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

struct MenuCase {
    const char* Name;
    int Item;  // of "Close", "Minimize"
};

void PrintTo(const MenuCase& c, std::ostream* out) { *out << c.Name; }

class PopupMenu : public ::testing::TestWithParam<MenuCase> {};

TEST_P(PopupMenu, RightClickShowsItAndTheChosenItemActs) {
    Distributable app("menu", MovieFiles("FullScreen=0\r\nInteraction=1\r\nRightClickMenu=0\r\nMinimizeMenu=1\r\n"));
    TempDir work("report");
    MovieRun run = StartMovie(app, work.File("report.txt"));
    ASSERT_NE(run.Host, nullptr);
    const HWND projector = run.Report.Window();

    Click(CenterOf(projector), false);
    const HWND menu = WaitForPopupMenu(run.Engine->Id(), kMenuMs);
    ASSERT_NE(menu, nullptr) << "no popup menu appeared";
    ChooseMenuItem(menu, GetParam().Item, 2);

    if (GetParam().Item == 0) {
        EXPECT_EQ(run.Engine->WaitForExit(kEngineEndMs), 0) << "Close did not end the run";
    } else {
        EXPECT_TRUE(WaitUntil([&] { return IsIconic(run.Host) != FALSE; }, kMenuMs)) << "Minimize did not minimize";
        EXPECT_TRUE(run.Engine->Running());
        PostMessageA(projector, WM_CLOSE, 0, 0);
        EXPECT_EQ(run.Engine->WaitForExit(kEngineEndMs), 0);
    }
    EXPECT_TRUE(ListTree(app.TempPath()).empty()) << Listing(app);
}

INSTANTIATE_TEST_SUITE_P(Items, PopupMenu,
                         ::testing::Values(MenuCase{"Close", 0}, MenuCase{"Minimize", 1}),
                         [](const auto& info) { return std::string(info.param.Name); });

// A press that wanders 7 pixels leaves the host where it was; 8 pixels move it by the whole offset,
// and once moving it follows the cursor until the button is released.
TEST(Dragging, EightPixelThresholdThenTheHostFollows) {
    Distributable app("drag", MovieFiles("FullScreen=0\r\nInteraction=1\r\nDraggable=1\r\n"));
    TempDir work("report");
    MovieRun run = StartMovie(app, work.File("report.txt"));
    ASSERT_NE(run.Host, nullptr);
    const HWND projector = run.Report.Window();
    const RECT start = WindowRectOf(run.Host);

    const POINT press = CenterOf(projector);
    MoveCursor(press);
    PressButton(true);
    MoveCursor(Offset(press, 7, 7));
    Sleep(ScaledTimeout(kDragSettleMs));
    EXPECT_EQ(WindowRectOf(run.Host).left, start.left);
    EXPECT_EQ(WindowRectOf(run.Host).top, start.top);
    ReleaseButton(true);
    Sleep(ScaledTimeout(kDragSettleMs));
    EXPECT_EQ(WindowRectOf(run.Host).left, start.left);
    EXPECT_EQ(WindowRectOf(run.Host).top, start.top);

    MoveCursor(press);
    PressButton(true);
    MoveCursor(Offset(press, 8, 0));
    EXPECT_TRUE(WaitUntil([&] { return WindowRectOf(run.Host).left == start.left + 8; }, kMenuMs))
        << "left " << WindowRectOf(run.Host).left << " expected " << start.left + 8;
    EXPECT_EQ(WindowRectOf(run.Host).top, start.top);
    MoveCursor(Offset(press, 10, -3));
    EXPECT_TRUE(WaitUntil([&] { return WindowRectOf(run.Host).top == start.top - 3; }, kMenuMs));
    EXPECT_EQ(WindowRectOf(run.Host).left, start.left + 10);
    ReleaseButton(true);

    // Released: the host stays where the drag left it.
    MoveCursor(Offset(press, 40, 40));
    Sleep(ScaledTimeout(kDragSettleMs));
    EXPECT_EQ(WindowRectOf(run.Host).left, start.left + 10);
    EXPECT_EQ(WindowRectOf(run.Host).top, start.top - 3);

    PostMessageA(projector, WM_CLOSE, 0, 0);
    EXPECT_EQ(run.Engine->WaitForExit(kEngineEndMs), 0);
    EXPECT_TRUE(ListTree(app.TempPath()).empty()) << Listing(app);
}

// Whatever stops a drag, the host no longer follows the cursor, even with the button still down:
// the hook library's reports (WM_USER+10, WM_USER+14), WM_CANCELMODE, and the activation of another
// program. The next press drags again.
TEST(Dragging, EveryWayADragStops) {
    Distributable app("dragstop", MovieFiles("FullScreen=0\r\nInteraction=1\r\nDraggable=1\r\n"));
    TempDir work("report");
    MovieRun run = StartMovie(app, work.File("report.txt"));
    ASSERT_NE(run.Host, nullptr);
    const HWND projector = run.Report.Window();

    struct Stop {
        const char* Name;
        UINT Message;
        WPARAM WParam;
        LPARAM LParam;
    } stops[] = {
        {"WM_CANCELMODE", WM_CANCELMODE, 0, 0},
        {"WM_USER+10", WM_USER + 10, 0, 0},
        {"WM_USER+14", WM_USER + 14, 0, 0},
        // Deactivation toward a thread that is not the projector's (this test's own).
        {"WM_ACTIVATEAPP", WM_ACTIVATEAPP, 0, static_cast<LPARAM>(GetCurrentThreadId())},
    };
    for (const Stop& stop : stops) {
        const POINT press = CenterOf(projector);
        const RECT start = WindowRectOf(run.Host);
        MoveCursor(press);
        PressButton(true);
        MoveCursor(Offset(press, 12, 0));
        EXPECT_TRUE(WaitUntil([&] { return WindowRectOf(run.Host).left == start.left + 12; }, kMenuMs))
            << stop.Name << ": the drag did not start, host left " << WindowRectOf(run.Host).left << " from "
            << start.left;
        DWORD_PTR ignored = 0;
        SendMessageTimeoutA(run.Host, stop.Message, stop.WParam, stop.LParam, SMTO_NORMAL, ScaledTimeout(5000), &ignored);
        MoveCursor(Offset(press, 30, 20));
        Sleep(ScaledTimeout(kDragSettleMs));
        EXPECT_EQ(WindowRectOf(run.Host).left, start.left + 12) << stop.Name << " did not stop the drag";
        EXPECT_EQ(WindowRectOf(run.Host).top, start.top) << stop.Name << " did not stop the drag";
        ReleaseButton(true);
        Sleep(ScaledTimeout(kDragSettleMs));
    }

    PostMessageA(projector, WM_CLOSE, 0, 0);
    EXPECT_EQ(run.Engine->WaitForExit(kEngineEndMs), 0);
    EXPECT_TRUE(ListTree(app.TempPath()).empty()) << Listing(app);
}

}  // namespace
