// The real engine's host window as the settings shape it: class, style and extended style read
// back from the window while it is still hidden (as created), and again once the movie is shown
// (where the first showing has settled the z-order), under a Windows XP and a Windows 10 setting.
#include <gtest/gtest.h>

#include "settings_movie_run.h"

using namespace testsupport;
using namespace settingse2e;

namespace {

constexpr DWORD kStyleBaseBits = WS_POPUP | WS_SYSMENU | WS_CLIPCHILDREN;
// Bits the settings do not decide: the system gives every top-level window WS_CLIPSIBLINGS, and
// showing, minimising and maximising are states, not choices of the settings.
constexpr DWORD kStateBits = WS_CLIPSIBLINGS | WS_VISIBLE | WS_MINIMIZE | WS_MAXIMIZE;
// The system adds the raised edge to framed windows by itself.
constexpr DWORD kExStateBits = WS_EX_WINDOWEDGE;

struct HostWindowCase {
    const char* Name;
    const char* Settings;  // lines of the [Settings] section
    DWORD Style;           // as created, WS_CLIPCHILDREN included
    bool ScreenSized;      // created at (0, 0) with the screen's size
    bool TopmostOnXp;      // as created, and after the first showing: XP, then Windows 10
    bool TopmostOnWin10;
    bool FinalTopmostOnXp;
    bool FinalTopmostOnWin10;
};

void PrintTo(const HostWindowCase& row, std::ostream* out) { *out << row.Name; }

const HostWindowCase kRows[] = {
    // True full screen: border, caption, sizing and AlwaysOnTop are not consulted at creation;
    // topmost on NT 5 only. The first showing then honours AlwaysOnTop on every system: it gives
    // the movie the focus, and the hook library's raise request (WM_USER+3) that follows lifts the
    // host once and leaves it topmost only with AlwaysOnTop.
    {"TrueFullScreen", "FullScreen=1\nCustomSize=0\nAllowResize=1\nLeft=10\nTop=20\nWidth=300\nHeight=200\n",
     kStyleBaseBits, true, true, false, false, false},
    {"TrueFullScreenAlwaysOnTop", "FullScreen=1\nCustomSize=0\nNoBorder=0\nNoTitle=1\nAllowResize=0\nAlwaysOnTop=1\n",
     kStyleBaseBits, true, true, false, true, true},
    {"NoBorder", "NoBorder=1\nNoTitle=0\nAllowResize=1\n", kStyleBaseBits, false, false, false, false, false},
    {"NoTitleResizable", "NoTitle=1\nAllowResize=1\n", kStyleBaseBits | WS_THICKFRAME, false, false, false, false,
     false},
    {"NoTitleFixed", "NoTitle=1\nAllowResize=0\n", kStyleBaseBits | WS_BORDER, false, false, false, false, false},
    {"CaptionResizable", "AllowResize=1\n",
     kStyleBaseBits | WS_CAPTION | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME, false, false, false, false, false},
    // AlwaysOnTop keeps a windowed host topmost on every system.
    {"CaptionFixedAlwaysOnTop", "AllowResize=0\nAlwaysOnTop=1\n",
     kStyleBaseBits | WS_CAPTION | WS_MINIMIZEBOX | WS_MAXIMIZEBOX, false, true, true, true, true},
    // A custom-size full screen without border fills the screen; it is created topmost, and the
    // first showing takes that back since AlwaysOnTop is off.
    {"CustomSizeFullScreenNoBorder", "FullScreen=1\nCustomSize=1\nNoBorder=1\nWidth=300\nHeight=200\n",
     kStyleBaseBits, true, true, true, false, false},
};

struct WindowState {
    bool Found = false;
    bool Visible = false;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    RECT Rect{};
};

WindowState ReadWindowState(HWND window) {
    WindowState state;
    state.Found = true;
    state.Style = static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE));
    state.ExStyle = static_cast<DWORD>(GetWindowLongA(window, GWL_EXSTYLE));
    GetWindowRect(window, &state.Rect);
    state.Visible = IsWindowVisible(window) != FALSE;
    return state;
}

// The host as first seen: it is created hidden and stays so while the projector starts, which
// leaves ample time to catch it with a tight poll.
WindowState FirstSightOfHost(DWORD processId, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
        if (HWND host = HostWindowOf(processId)) return ReadWindowState(host);
        Sleep(1);
    }
    return {};
}

void ExpectScreenRect(const RECT& rect, const char* when) {
    EXPECT_EQ(rect.left, 0) << when;
    EXPECT_EQ(rect.top, 0) << when;
    EXPECT_EQ(rect.right, GetSystemMetrics(SM_CXSCREEN)) << when;
    EXPECT_EQ(rect.bottom, GetSystemMetrics(SM_CYSCREEN)) << when;
}

class HostWindowStyles : public ::testing::TestWithParam<std::tuple<HostWindowCase, std::string>> {};

TEST_P(HostWindowStyles, MatchTheSettings) {
    const HostWindowCase& row = std::get<0>(GetParam());
    const std::string version = std::get<1>(GetParam());
    const bool xp = version == "winxp";
    SettingsRun run("style", std::string("[Settings]\nPassword=0\nSound=1\n") + row.Settings);
    WineVersionForProgram wineVersion(run.App().ExeName(), version);

    run.Start();
    const WindowState created = FirstSightOfHost(run.Engine().Id(), 20000);
    ASSERT_TRUE(created.Found) << "no host window";
    EXPECT_FALSE(created.Visible) << "the host was shown before it could be read";
    EXPECT_EQ(created.Style & ~kStateBits, row.Style) << std::hex << created.Style;
    EXPECT_EQ(created.ExStyle & ~kExStateBits, WS_EX_APPWINDOW | ((xp ? row.TopmostOnXp : row.TopmostOnWin10)
                                                                        ? WS_EX_TOPMOST : 0u))
        << std::hex << created.ExStyle;
    if (row.ScreenSized) ExpectScreenRect(created.Rect, "as created");

    const StandinReport report = run.WaitUntilShown();
    ASSERT_NE(report.Parent(), nullptr) << "the movie was not shown";
    // The first showing follows the movie-ready report within a pass of the supervision loop and
    // a 111 ms pause; give it a generous moment.
    Sleep(800);
    const HWND host = HostWindowOf(run.Engine().Id());
    ASSERT_NE(host, nullptr);
    EXPECT_EQ(ClassNameOf(host), kHostWindowClass);
    const WindowState shown = ReadWindowState(host);
    EXPECT_TRUE(shown.Visible);
    EXPECT_EQ(shown.Style & ~kStateBits, row.Style) << std::hex << shown.Style;
    EXPECT_EQ(shown.ExStyle & ~kExStateBits,
              WS_EX_APPWINDOW | ((xp ? row.FinalTopmostOnXp : row.FinalTopmostOnWin10) ? WS_EX_TOPMOST : 0u))
        << std::hex << shown.ExStyle;
    if (row.ScreenSized) ExpectScreenRect(shown.Rect, "once shown");
    EXPECT_EQ(run.CloseAndWait(), 0);
}

INSTANTIATE_TEST_SUITE_P(Rows, HostWindowStyles,
                         ::testing::Combine(::testing::ValuesIn(kRows), ::testing::Values(std::string("winxp"), std::string("win10"))),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).Name) + "_" + std::get<1>(info.param);
                         });

}  // namespace
