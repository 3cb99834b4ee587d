#include <gtest/gtest.h>

#include "host_harness.h"

using namespace windowtest;

namespace {

struct Switches {
    bool FullScreen = false, CustomSize = false, NoBorder = false, NoTitle = false, AllowResize = false,
         AlwaysOnTop = false;
};

Options Settings(const Switches& s) {
    Options opt;
    opt.FullScreen.Value = s.FullScreen;
    opt.CustomSize.Value = s.CustomSize;
    opt.NoBorder.Value = s.NoBorder;
    opt.NoTitle.Value = s.NoTitle;
    opt.AllowResize.Value = s.AllowResize;
    opt.AlwaysOnTop.Value = s.AlwaysOnTop;
    opt.Left = 30;
    opt.Top = 40;
    opt.Width = 500;
    opt.Height = 300;
    opt.ScreenName = "Host Caption";
    return opt;
}

LRESULT CALLBACK SecondProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

enum class Topmost { No, Yes, OnMeOrNT5 };
enum class Placement { Configured, Screen };

struct CreationCase {
    const char* Name;
    Switches Options;
    DWORD Style;
    Topmost TopmostRule;
    Placement Rect;
};

const CreationCase kCases[] = {
    {"true full screen", {true, false, true, true, true, true}, WS_POPUP | WS_SYSMENU, Topmost::OnMeOrNT5,
     Placement::Screen},
    {"no border", {false, false, true, false, false, false}, WS_POPUP | WS_SYSMENU, Topmost::No,
     Placement::Configured},
    {"no title, resizable", {false, false, false, true, true, false}, WS_POPUP | WS_SYSMENU | WS_THICKFRAME,
     Topmost::No, Placement::Configured},
    {"no title, fixed", {false, false, false, true, false, true}, WS_POPUP | WS_SYSMENU | WS_BORDER, Topmost::Yes,
     Placement::Configured},
    {"caption, resizable", {false, false, false, false, true, false},
     WS_POPUP | WS_SYSMENU | WS_CAPTION | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME, Topmost::No,
     Placement::Configured},
    {"caption, fixed", {false, false, false, false, false, true},
     WS_POPUP | WS_SYSMENU | WS_CAPTION | WS_MINIMIZEBOX | WS_MAXIMIZEBOX, Topmost::Yes, Placement::Configured},
    {"full screen custom size, no border", {true, true, true, false, false, false}, WS_POPUP | WS_SYSMENU,
     Topmost::Yes, Placement::Screen},
    {"full screen custom size, no title", {true, true, false, true, true, false},
     WS_POPUP | WS_SYSMENU | WS_THICKFRAME, Topmost::Yes, Placement::Screen},
};

bool ExpectTopmost(Topmost rule) {
    const OsFlags& os = CurrentOsFlags();
    return rule == Topmost::Yes || (rule == Topmost::OnMeOrNT5 && (os.WindowsMe || os.NT5));
}

TEST(HostWindowCreation, StylesAndRectangleFollowTheSettings) {
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.Name);
        HostHarness harness;
        harness.Create(Settings(c.Options));
        const HWND host = harness.Host.Handle;

        EXPECT_EQ(ClassName(host), "GaGaOrbelinWindow");
        EXPECT_EQ(WindowText(host), "Host Caption");
        EXPECT_FALSE(IsWindowVisible(host)) << "the host stays hidden until the projector is captured";
        const DWORD style = static_cast<DWORD>(GetWindowLongA(host, GWL_STYLE));
        EXPECT_EQ(style & ~WS_CLIPSIBLINGS, c.Style | WS_CLIPCHILDREN) << std::hex << style;
        const DWORD exStyle = static_cast<DWORD>(GetWindowLongA(host, GWL_EXSTYLE));
        EXPECT_TRUE(exStyle & WS_EX_APPWINDOW);
        EXPECT_EQ((exStyle & WS_EX_TOPMOST) != 0, ExpectTopmost(c.TopmostRule)) << std::hex << exStyle;

        const HostWindow& h = harness.Host;
        const RECT expected = c.Rect == Placement::Screen ? RECT{0, 0, h.ScreenWidth, h.ScreenHeight}
                                                          : RECT{30, 40, 530, 340};
        const RECT actual = WindowRect(host);
        EXPECT_EQ(actual.left, expected.left);
        EXPECT_EQ(actual.top, expected.top);
        EXPECT_EQ(actual.right, expected.right);
        EXPECT_EQ(actual.bottom, expected.bottom);
        EXPECT_EQ(harness.Opt.Left, expected.left);
        EXPECT_EQ(harness.Opt.Top, expected.top);
        EXPECT_EQ(harness.Opt.Width, Width(expected));
        EXPECT_EQ(harness.Opt.Height, Height(expected));
        EXPECT_EQ(h.ReferenceWidth, Width(expected));
        EXPECT_EQ(h.ReferenceHeight, Height(expected));

        // Windowed: the projector gets the host's client area; full screen: the screen.
        const RECT client = ClientRect(host);
        if (c.Options.FullScreen) {
            EXPECT_EQ(h.ClientWidth, h.ScreenWidth);
            EXPECT_EQ(h.ClientHeight, h.ScreenHeight);
        } else {
            EXPECT_EQ(h.ClientWidth, client.right);
            EXPECT_EQ(h.ClientHeight, client.bottom);
            EXPECT_LT(h.ClientWidth, 500 + 1);
        }
    }
}

TEST(HostWindowCreation, CaptionedFullScreenWithCustomSizeOpensMaximised) {
    HostHarness harness;
    harness.Create(Settings({true, true, false, false, true, false}));
    const HWND host = harness.Host.Handle;
    EXPECT_TRUE(IsZoomed(host));
    const DWORD style = static_cast<DWORD>(GetWindowLongA(host, GWL_STYLE));
    EXPECT_TRUE(style & WS_CAPTION) << std::hex << style;
    EXPECT_TRUE(GetWindowLongA(host, GWL_EXSTYLE) & WS_EX_TOPMOST);
    // The reference size is the configured one the window was created with.
    EXPECT_EQ(harness.Host.ReferenceWidth, 500);
    EXPECT_EQ(harness.Host.ReferenceHeight, 300);
    // The fields follow the maximised window, as every WM_SIZE keeps them.
    const RECT actual = WindowRect(host);
    EXPECT_EQ(harness.Opt.Left, actual.left);
    EXPECT_EQ(harness.Opt.Width, Width(actual));
    EXPECT_GT(Width(actual), 500);
    const RECT client = ClientRect(host);
    EXPECT_EQ(harness.Host.ClientWidth, client.right);
    EXPECT_EQ(harness.Host.ClientHeight, client.bottom);
    EXPECT_TRUE(harness.Host.ClientSizeChanged);
}

TEST(HostWindowCreation, ReadScreenSizeSetsClientAndHostSize) {
    HostWindow host;
    host.ClientSizeChanged = true;
    Options opt;
    host.ReadScreenSize(opt);
    EXPECT_FALSE(host.ClientSizeChanged);
    EXPECT_EQ(host.ScreenWidth, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(host.ScreenHeight, GetSystemMetrics(SM_CYSCREEN));
    EXPECT_EQ(host.ClientWidth, host.ScreenWidth);
    EXPECT_EQ(host.ClientHeight, host.ScreenHeight);
    EXPECT_EQ(opt.Width, host.ScreenWidth);
    EXPECT_EQ(opt.Height, host.ScreenHeight);
}

TEST(HostWindowCreation, MaximisedGeometryIsTakenWithoutTheWindowProcedure) {
    // While the main object is being built its window procedure does not see WM_SIZE yet.
    HostWindow host;
    Options opt = Settings({true, true, false, false, true, false});
    host.ReadScreenSize(opt);
    opt.Width = 500;
    opt.Height = 300;
    host.Create(opt, SecondProcedure, GetModuleHandleA(nullptr));
    ASSERT_TRUE(host.Handle);
    EXPECT_TRUE(IsZoomed(host.Handle));
    const RECT frame = WindowRect(host.Handle);
    const RECT client = ClientRect(host.Handle);
    EXPECT_EQ(opt.Left, frame.left);
    EXPECT_EQ(opt.Width, Width(frame));
    EXPECT_EQ(opt.Height, Height(frame));
    EXPECT_EQ(host.ClientWidth, client.right);
    EXPECT_EQ(host.ClientHeight, client.bottom);
    EXPECT_LT(host.ClientHeight, host.ScreenHeight) << "the caption takes part of the screen";
    DestroyWindow(host.Handle);
}

TEST(HostWindowCreation, ClassIsRegisteredAgainOnRestart) {
    { HostHarness first; first.Create(Settings({})); }
    // A new run of the engine in the same process registers the class again with its procedure.
    HostWindow second;
    Options opt = Settings({});
    second.ReadScreenSize(opt);
    opt.Width = 200;
    opt.Height = 100;
    second.Create(opt, SecondProcedure, GetModuleHandleA(nullptr));
    ASSERT_TRUE(second.Handle);
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetClassLongPtrA(second.Handle, GCLP_WNDPROC)), SecondProcedure);
    DestroyWindow(second.Handle);
}

}  // namespace
