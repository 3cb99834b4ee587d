// Where the movie appears: the real engine captures the stand-in projector into its host window and
// places the host as its settings say. The projector window must be a direct child of the host at
// (0, 0) with exactly the host's client size, so the Wine drawing remedy (a container between the
// two) is switched off here.
#include <windows.h>

#include <gtest/gtest.h>

#include "support/standin_report.h"

using namespace testsupport;

namespace {

constexpr int kProjectorClientWidth = 550;  // the stand-in projector's own client size
constexpr int kProjectorClientHeight = 400;
constexpr LONG kCaptionedResizable = 0x80CF0000;  // popup, system menu, caption, min/max boxes, sizing frame
constexpr LONG kCaptionedFixed = 0x80CB0000;
constexpr LONG kPopupOnly = 0x80080000;            // popup, system menu

enum class Size {
    FittedToMovie,  // the projector's client size plus the host's frame
    FromSettings,   // Width and Height of the settings
    Screen,         // the whole screen at (0, 0)
    Maximised,      // opened maximised with its caption
};

struct PlacementCase {
    const char* Name;
    const char* Settings;
    LONG Style;  // without WS_VISIBLE and WS_CLIPCHILDREN
    bool Topmost;  // after the first showing, which decides the final z-order
    Size HostSize;
    int AlignmentH, AlignmentV;  // as in the settings (0 keeps Left/Top)
    int Left, Top, Width, Height;  // Left, Top (and Width, Height for FromSettings) of the settings
};

void PrintTo(const PlacementCase& c, std::ostream* out) { *out << c.Name; }

int Aligned(int alignment, int setting, int screen, int size) {
    switch (alignment) {
        case 1: return 0;
        case 2: return (screen - size) / 2;
        case 3: return screen - size;
        default: return setting;
    }
}

class MoviePlacement : public ::testing::TestWithParam<PlacementCase> {};

TEST_P(MoviePlacement, ProjectorFillsTheHostWhichStandsWhereTheSettingsSay) {
    const PlacementCase& c = GetParam();
    const std::string settings = std::string("Quenby Screen Name=Placement Movie\r\n") + c.Settings;
    Distributable app("placement", MovieFiles(settings));
    TempDir work("report");
    MovieRun run = StartMovie(app, work.File("report.txt"), {{"STAGEHOST_NO_WINE_PAINT_FIX", "1"}});
    ASSERT_TRUE(CapturedAndShown(run.Report));
    const HWND host = run.Host;
    const HWND projector = run.Report.Window();

    // The projector: a direct child of the host at (0, 0) with the host's client size. (Its style
    // is the projector's own: SetParent does not make it WS_CHILD, so GetParent, which reports the
    // owner of a window without that style, is not the test.)
    EXPECT_EQ(GetAncestor(projector, GA_PARENT), host);
    RECT client = {};
    GetClientRect(host, &client);
    const RECT inHost = RectIn(projector, host);
    EXPECT_EQ(inHost.left, 0);
    EXPECT_EQ(inHost.top, 0);
    EXPECT_EQ(inHost.right, client.right);
    EXPECT_EQ(inHost.bottom, client.bottom);

    // The host: caption, style, place and size.
    EXPECT_EQ(WindowTextOf(host), "Placement Movie");
    EXPECT_TRUE(IsWindowVisible(host));
    const LONG style = GetWindowLongA(host, GWL_STYLE);
    // The system adds WS_CLIPSIBLINGS to every top-level window.
    EXPECT_EQ(style & ~(WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_MAXIMIZE), c.Style) << std::hex << style;
    EXPECT_TRUE(style & WS_CLIPCHILDREN);
    const auto topmost = [&] { return (GetWindowLongA(host, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; };
    WaitUntil([&] { return topmost() == c.Topmost; }, 3000);
    EXPECT_EQ(topmost(), c.Topmost);

    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    RECT outer = {};
    GetWindowRect(host, &outer);
    switch (c.HostSize) {
        case Size::FittedToMovie: {
            EXPECT_EQ(client.right, kProjectorClientWidth);
            EXPECT_EQ(client.bottom, kProjectorClientHeight);
            RECT fitted = {0, 0, kProjectorClientWidth, kProjectorClientHeight};
            AdjustWindowRectEx(&fitted, static_cast<DWORD>(c.Style | WS_CLIPCHILDREN), FALSE, WS_EX_APPWINDOW);
            const int width = fitted.right - fitted.left, height = fitted.bottom - fitted.top;
            EXPECT_EQ(outer.right - outer.left, width);
            EXPECT_EQ(outer.bottom - outer.top, height);
            EXPECT_EQ(outer.left, Aligned(c.AlignmentH, c.Left, screenWidth, width));
            EXPECT_EQ(outer.top, Aligned(c.AlignmentV, c.Top, screenHeight, height));
            break;
        }
        case Size::FromSettings:
            EXPECT_EQ(outer.right - outer.left, c.Width);
            EXPECT_EQ(outer.bottom - outer.top, c.Height);
            EXPECT_EQ(outer.left, Aligned(c.AlignmentH, c.Left, screenWidth, c.Width));
            EXPECT_EQ(outer.top, Aligned(c.AlignmentV, c.Top, screenHeight, c.Height));
            break;
        case Size::Screen:
            EXPECT_EQ(outer.left, 0);
            EXPECT_EQ(outer.top, 0);
            EXPECT_EQ(outer.right, screenWidth);
            EXPECT_EQ(outer.bottom, screenHeight);
            EXPECT_EQ(client.right, screenWidth);
            EXPECT_EQ(client.bottom, screenHeight);
            break;
        case Size::Maximised:
            EXPECT_TRUE(IsZoomed(host));
            break;
    }

    PostMessageA(projector, WM_CLOSE, 0, 0);
    EXPECT_EQ(run.Engine->WaitForExit(30000), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, MoviePlacement,
    ::testing::Values(
        PlacementCase{"WindowedAtLeftTop", "FullScreen=0\r\nAlignmentH=0\r\nAlignmentV=0\r\nLeft=30\r\nTop=40\r\n",
                      kCaptionedResizable, false, Size::FittedToMovie, 0, 0, 30, 40, 0, 0},
        PlacementCase{"WindowedTopLeftCorner", "FullScreen=0\r\nAlignmentH=1\r\nAlignmentV=1\r\nLeft=30\r\nTop=40\r\n",
                      kCaptionedResizable, false, Size::FittedToMovie, 1, 1, 30, 40, 0, 0},
        PlacementCase{"WindowedCentred", "FullScreen=0\r\nAllowResize=0\r\nAlwaysOnTop=1\r\n",
                      kCaptionedFixed, true, Size::FittedToMovie, 2, 2, 0, 0, 0, 0},
        PlacementCase{"WindowedBottomRight", "FullScreen=0\r\nAlignmentH=3\r\nAlignmentV=3\r\n",
                      kCaptionedResizable, false, Size::FittedToMovie, 3, 3, 0, 0, 0, 0},
        PlacementCase{"WindowedRightMiddleNoBorder",
                      "FullScreen=0\r\nNoBorder=1\r\nAlignmentH=3\r\nAlignmentV=2\r\nTop=17\r\n", kPopupOnly, false,
                      Size::FittedToMovie, 3, 2, 0, 17, 0, 0},
        PlacementCase{"CustomSizeWindowed",
                      "FullScreen=0\r\nCustomSize=1\r\nAlignmentH=0\r\nAlignmentV=3\r\nLeft=20\r\nTop=30\r\n"
                      "Width=500\r\nHeight=350\r\n",
                      kCaptionedResizable, false, Size::FromSettings, 0, 3, 20, 30, 500, 350},
        PlacementCase{"CustomSizeFullScreenWithoutBorder",
                      "FullScreen=1\r\nCustomSize=1\r\nNoBorder=1\r\nLeft=20\r\nTop=30\r\nWidth=500\r\nHeight=350\r\n",
                      kPopupOnly, false, Size::Screen, 0, 0, 0, 0, 0, 0},
        PlacementCase{"CustomSizeFullScreenWithCaption",
                      "FullScreen=1\r\nCustomSize=1\r\nLeft=20\r\nTop=30\r\nWidth=500\r\nHeight=350\r\n",
                      kCaptionedResizable, false, Size::Maximised, 0, 0, 0, 0, 0, 0},
        PlacementCase{"TrueFullScreen",
                      "FullScreen=1\r\nCustomSize=0\r\nLeft=20\r\nTop=30\r\nWidth=500\r\nHeight=350\r\nNoTitle=1\r\n",
                      kPopupOnly, false, Size::Screen, 0, 0, 0, 0, 0, 0}),
    [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
