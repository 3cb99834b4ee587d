// The two ways the engine captures the projector (a newer projector is made a child before its
// full-screen command, an older one after it) both end with the movie shown inside the host; and
// under Wine the drawing remedy makes the movie's picture reach the screen.
#include <windows.h>

#include <gtest/gtest.h>

#include "engine/shared_control_block.h"
#include "standins/projector/standin_projector_colors.h"
#include "support/standin_report.h"

using namespace testsupport;

namespace {

constexpr unsigned kStandinFullScreenItem = 40010;  // the stand-in's "Full &Screen" menu item
constexpr unsigned kFullScreenFallback = 20048;

struct CapturePathCase {
    const char* Name;
    const char* BuiltProjector;
    uint8_t Version6OrLater;
};

void PrintTo(const CapturePathCase& c, std::ostream* out) { *out << c.Name; }

class MovieCapturePath : public ::testing::TestWithParam<CapturePathCase> {};

TEST_P(MovieCapturePath, EndsWithTheFramelessProjectorFillingTheVisibleHost) {
    const CapturePathCase& c = GetParam();
    Distributable app("capture", MovieFiles("FullScreen=0\r\n", c.BuiltProjector));
    TempDir work("report");
    MovieRun run = StartMovie(app, work.File("report.txt"));
    ASSERT_TRUE(CapturedAndShown(run.Report));
    const HWND host = run.Host;
    const HWND projector = run.Report.Window();

    EXPECT_TRUE(IsWindowVisible(host));
    EXPECT_TRUE(IsWindowVisible(projector));
    EXPECT_TRUE(IsInsideWindow(projector, host));
    RECT client = {};
    GetClientRect(host, &client);
    const RECT inHost = RectIn(projector, host);
    EXPECT_EQ(inHost.left, 0);
    EXPECT_EQ(inHost.top, 0);
    EXPECT_EQ(inHost.right, client.right);
    EXPECT_EQ(inHost.bottom, client.bottom);
    EXPECT_EQ(GetMenu(projector), nullptr);
    EXPECT_FALSE(GetWindowLongA(projector, GWL_STYLE) & WS_THICKFRAME);
    EXPECT_FALSE(GetWindowLongA(projector, GWL_STYLE) & WS_CAPTION);

    // The full-screen command: the projector's own menu item where another process's menu can be
    // read (Windows), the fallback where it cannot (Wine).
    const std::string command = run.Report.Value("fullscreen_command");
    EXPECT_TRUE(command == std::to_string(kStandinFullScreenItem) || command == std::to_string(kFullScreenFallback))
        << command;
    EXPECT_EQ(run.Report.BlockByte(offsetof(SharedControlBlock, ProjectorIsVersion6OrLater)), c.Version6OrLater);
    EXPECT_EQ(run.Report.BlockByte(offsetof(SharedControlBlock, FramePaintingSuspended)), 0);

    PostMessageA(projector, WM_CLOSE, 0, 0);
    EXPECT_EQ(run.Engine->WaitForExit(30000), 0);
}

INSTANTIATE_TEST_SUITE_P(Projectors, MovieCapturePath,
                         ::testing::Values(CapturePathCase{"Version5", "standin_projector5.exe", 0},
                                           CapturePathCase{"Version10", "standin_projector10.exe", 1}),
                         [](const auto& info) { return std::string(info.param.Name); });

COLORREF ScreenPixel(POINT point) {
    HDC screen = GetDC(nullptr);
    const COLORREF color = GetPixel(screen, point.x, point.y);
    ReleaseDC(nullptr, screen);
    return color;
}

// Wine does not draw a child window of another process's top-level window by itself; with the
// remedy the projector's background appears in the host's client area.
TEST(WinePaintRemedy, TheMoviesBackgroundReachesTheScreenInsideTheHost) {
    Distributable app("paint", MovieFiles("FullScreen=0\r\nAlwaysOnTop=1\r\n"));
    TempDir work("report");
    MovieRun run = StartMovie(app, work.File("report.txt"));
    ASSERT_TRUE(CapturedAndShown(run.Report));

    // Inside the band along the client area's edges that always shows the background.
    POINT inside = {standin::kBackgroundMargin / 2, standin::kBackgroundMargin / 2};
    ClientToScreen(run.Host, &inside);
    const COLORREF background = standin::kBackgroundColor.ColorRef();
    WaitUntil([&] { return ScreenPixel(inside) == background; }, 5000);
    EXPECT_EQ(ScreenPixel(inside), background) << std::hex << ScreenPixel(inside);

    PostMessageA(run.Report.Window(), WM_CLOSE, 0, 0);
    EXPECT_EQ(run.Engine->WaitForExit(30000), 0);
}

}  // namespace
