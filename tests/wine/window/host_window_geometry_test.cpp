#include <gtest/gtest.h>

#include "host_harness.h"
#include "window/mul_div.h"

using namespace windowtest;

namespace {

Options Windowed(int32_t left, int32_t top, int32_t width, int32_t height) {
    Options opt;
    opt.Left = left;
    opt.Top = top;
    opt.Width = width;
    opt.Height = height;
    opt.AllowResize.Value = true;
    opt.ScreenName = "Movie Title";
    return opt;
}

// Gives the harness procedure the projector the full-screen commands act on.
void SetProjectorOf(HWND host, HWND projector) {
    SetWindowLongPtrA(host, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(projector));
}

LRESULT Command(HWND host, WPARAM id, LPARAM lParam = 0) { return SendMessageA(host, WM_COMMAND, id, lParam); }

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST(FitHostToMovie, WrapsAWindowedHostAroundTheProjectorClientArea) {
    HostHarness harness;
    harness.Create(Windowed(50, 60, 500, 300));
    FakeProjector projector(320, 240);
    ASSERT_EQ(ClientRect(projector.Handle()).right, 320);

    harness.Host.FitHostToMovie(projector.Handle(), harness.Opt);

    const HWND host = harness.Host.Handle;
    EXPECT_EQ(WindowText(projector.Handle()), "Movie Title");
    const RECT client = ClientRect(host);
    EXPECT_EQ(client.right, 320);
    EXPECT_EQ(client.bottom, 240);
    const RECT frame = WindowRect(host);
    EXPECT_EQ(frame.left, 50);
    EXPECT_EQ(frame.top, 60);
    EXPECT_EQ(harness.Opt.Width, Width(frame));
    EXPECT_EQ(harness.Opt.Height, Height(frame));
    EXPECT_EQ(harness.Host.ReferenceWidth, Width(frame));
    EXPECT_EQ(harness.Host.ReferenceHeight, Height(frame));
    EXPECT_GT(Width(frame), 320) << "the frame of a captioned, resizable host adds to the client size";
    // WM_SIZE keeps the projector's size target current.
    EXPECT_EQ(harness.Host.ClientWidth, 320);
    EXPECT_EQ(harness.Host.ClientHeight, 240);
    EXPECT_TRUE(harness.Host.ClientSizeChanged);
}

TEST(FitHostToMovie, OnlyNamesTheProjectorOfAFullScreenOrCustomSizedHost) {
    struct Case {
        bool FullScreen, CustomSize;
    };
    for (const Case c : {Case{true, false}, Case{false, true}, Case{true, true}}) {
        SCOPED_TRACE(std::to_string(c.FullScreen) + std::to_string(c.CustomSize));
        Options settings = Windowed(50, 60, 500, 300);
        settings.FullScreen.Value = c.FullScreen;
        settings.CustomSize.Value = c.CustomSize;
        settings.NoBorder.Value = true;
        HostHarness harness;
        harness.Create(settings);
        const RECT before = WindowRect(harness.Host.Handle);
        const int32_t referenceWidth = harness.Host.ReferenceWidth;
        FakeProjector projector(320, 240);
        harness.Host.FitHostToMovie(projector.Handle(), harness.Opt);
        EXPECT_EQ(WindowText(projector.Handle()), "Movie Title");
        EXPECT_TRUE(SameRect(WindowRect(harness.Host.Handle), before));
        EXPECT_EQ(harness.Host.ReferenceWidth, referenceWidth);
    }
}

TEST(FitHostToMovie, DoesNothingWithoutAProjector) {
    HostHarness harness;
    harness.Create(Windowed(50, 60, 500, 300));
    harness.Host.FitHostToMovie(nullptr, harness.Opt);
    EXPECT_EQ(Width(WindowRect(harness.Host.Handle)), 500);
    EXPECT_EQ(harness.Host.ReferenceWidth, 500);
}

class FullScreenModeTest : public ::testing::Test {
protected:
    void SetUp() override {
        harness_.Create(Windowed(50, 60, 400, 300));
        host_ = harness_.Host.Handle;
        ShowWindow(host_, SW_SHOWNA);
        projector_ = std::make_unique<FakeProjector>(100, 80, host_);
        SetProjectorOf(host_, projector_->Handle());
        styleBefore_ = GetWindowLongA(host_, GWL_STYLE);
        rectBefore_ = WindowRect(host_);
    }

    POINT ProjectorPosition() const {
        RECT r = WindowRect(projector_->Handle());
        POINT p{r.left, r.top};
        ScreenToClient(host_, &p);
        return p;
    }

    HostHarness harness_;
    HWND host_ = nullptr;
    std::unique_ptr<FakeProjector> projector_;
    LONG styleBefore_ = 0;
    RECT rectBefore_{};
};

TEST_F(FullScreenModeTest, EnterCoversTheDesktopAndLeaveRestores) {
    Command(host_, kEnterFullScreen);
    EXPECT_TRUE(harness_.Host.FullScreenMode);
    // The system adds WS_CLIPSIBLINGS to every top-level window that is neither popup nor child.
    EXPECT_EQ(GetWindowLongA(host_, GWL_STYLE) & ~WS_CLIPSIBLINGS, static_cast<LONG>(WS_VISIBLE));
    const RECT desktop = WindowRect(GetDesktopWindow());
    const RECT full = WindowRect(host_);
    EXPECT_LE(full.left, desktop.left);
    EXPECT_LE(full.top, desktop.top);
    EXPECT_GE(full.right, desktop.right);
    EXPECT_GE(full.bottom, desktop.bottom);
    EXPECT_EQ(ProjectorPosition().x, -15000) << "the projector waits off-screen for the next fit";
    EXPECT_TRUE(SameRect(harness_.Host.SavedRect, rectBefore_));
    EXPECT_EQ(harness_.Host.SavedStyle, styleBefore_);
    EXPECT_EQ(harness_.Opt.Width, Width(full));
    EXPECT_EQ(harness_.Host.ClientWidth, ClientRect(host_).right);

    SetWindowPos(projector_->Handle(), nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    Command(host_, kLeaveFullScreen);
    EXPECT_FALSE(harness_.Host.FullScreenMode);
    EXPECT_EQ(GetWindowLongA(host_, GWL_STYLE), styleBefore_);
    EXPECT_TRUE(SameRect(WindowRect(host_), rectBefore_));
    EXPECT_EQ(ProjectorPosition().x, -15000);
    EXPECT_EQ(harness_.Opt.Left, 50);
    EXPECT_EQ(harness_.Opt.Width, 400);
}

TEST_F(FullScreenModeTest, RefusedCommandsChangeNothing) {
    // Leaving without having entered: refused, answered 0, nothing moves.
    EXPECT_EQ(Command(host_, kLeaveFullScreen), 0);
    EXPECT_EQ(GetWindowLongA(host_, GWL_STYLE), styleBefore_);
    EXPECT_EQ(ProjectorPosition().x, 0);

    Command(host_, kEnterFullScreen);
    const RECT full = WindowRect(host_);
    // A second enter is refused: the saved rectangle still holds the windowed one.
    EXPECT_EQ(Command(host_, kEnterFullScreen), 0);
    EXPECT_TRUE(SameRect(harness_.Host.SavedRect, rectBefore_));
    EXPECT_TRUE(SameRect(WindowRect(host_), full));
    Command(host_, kLeaveFullScreen);
    EXPECT_TRUE(SameRect(WindowRect(host_), rectBefore_));
}

TEST_F(FullScreenModeTest, CommandsFromControlsOrWithoutProjectorAreIgnored) {
    Command(host_, kEnterFullScreen, 1);
    EXPECT_FALSE(harness_.Host.FullScreenMode);
    SetProjectorOf(host_, nullptr);
    Command(host_, kEnterFullScreen);
    EXPECT_FALSE(harness_.Host.FullScreenMode);
    EXPECT_EQ(GetWindowLongA(host_, GWL_STYLE), styleBefore_);
    EXPECT_TRUE(SameRect(WindowRect(host_), rectBefore_));
}

TEST(FullScreenMode, TrueFullScreenHostRefusesBothCommands) {
    Options settings = Windowed(0, 0, 0, 0);
    settings.FullScreen.Value = true;
    HostHarness harness;
    harness.Create(settings);
    const HWND host = harness.Host.Handle;
    FakeProjector projector(100, 80, host);
    SetProjectorOf(host, projector.Handle());
    const LONG style = GetWindowLongA(host, GWL_STYLE);
    EXPECT_EQ(Command(host, kEnterFullScreen), 0);
    EXPECT_FALSE(harness.Host.FullScreenMode);
    EXPECT_EQ(GetWindowLongA(host, GWL_STYLE), style);
    EXPECT_EQ(Command(host, kLeaveFullScreen), 0);
}

// WM_SIZING sent through the window as Windows sends it while the user drags a frame edge.
RECT Sizing(HWND host, WPARAM edge, RECT proposed) {
    SendMessageA(host, WM_SIZING, edge, reinterpret_cast<LPARAM>(&proposed));
    return proposed;
}

TEST(RatioResize, KeepsTheReferenceProportionsThroughTheWindow) {
    Options settings = Windowed(100, 100, 640, 480);
    settings.MaintainRatio.Value = true;
    HostHarness harness;
    harness.Create(settings);
    const HWND host = harness.Host.Handle;
    EXPECT_FALSE(harness.Host.RatioResize);

    RECT r = Sizing(host, WMSZ_RIGHT, {100, 100, 900, 580});
    EXPECT_EQ(r.bottom, 700);
    EXPECT_TRUE(harness.Host.RatioResize);
    r = Sizing(host, WMSZ_TOP, {100, 40, 740, 580});
    EXPECT_EQ(r.right, 820);
    EXPECT_EQ(r.top, 40);

    // A corner: the side the cursor is nearer to leads (host at 100, 100).
    struct Corner {
        POINT Cursor;
        RECT Expected;
    };
    const RECT proposed{-60, 100, 740, 580};  // dragged 160 to the left
    const auto cursorAt = [](POINT p) {
        POINT cursor{};
        return GetCursorPos(&cursor) && cursor.x == p.x && cursor.y == p.y;
    };
    for (const Corner& c : {Corner{{105, 300}, {-60, -20, 740, 580}}, Corner{{300, 105}, {100, 100, 740, 580}}}) {
        // Other programs on the display may move the cursor: only a result read with the cursor
        // in place both before and after counts.
        bool measured = false;
        for (int attempt = 0; attempt < 5 && !measured; ++attempt) {
            SetCursorPos(c.Cursor.x, c.Cursor.y);
            if (!cursorAt(c.Cursor)) continue;
            const RECT r = Sizing(host, WMSZ_TOPLEFT, proposed);
            if (!cursorAt(c.Cursor)) continue;
            measured = true;
            EXPECT_TRUE(SameRect(r, c.Expected)) << c.Cursor.x << "," << c.Cursor.y;
        }
        if (!measured) GTEST_SKIP() << "the cursor does not stay where SetCursorPos puts it on this display";
    }
}

TEST(RatioResize, LeavesTheRectangleAloneWithoutMaintainRatio) {
    HostHarness harness;
    harness.Create(Windowed(100, 100, 640, 480));
    const RECT r = Sizing(harness.Host.Handle, WMSZ_RIGHT, {100, 100, 900, 580});
    EXPECT_EQ(r.bottom, 580);
    EXPECT_FALSE(harness.Host.RatioResize);
}

TEST(PortableMulDiv, AgreesWithTheSystem) {
    const int32_t values[] = {0, 1, -1, 2, -2, 3, -3, 7, -7, 480, 640, -640, 1000003, 46341, -46341,
                              2147483647, -2147483647, static_cast<int32_t>(0x80000000u), 5, -5, 9, 1081, -1081};
    const int32_t lowest = static_cast<int32_t>(0x80000000u);
    for (int32_t a : values)
        for (int32_t b : values)
            for (int32_t c : values) {
                // Wine negates a negative divisor and the multiplicand in 32 bits, which wraps for
                // -2^31; the portable version keeps the exact quotient there.
                if (c == lowest || (a == lowest && c < 0)) continue;
                EXPECT_EQ(PortableMulDiv(a, b, c), MulDiv(a, b, c)) << a << " * " << b << " / " << c;
            }
}

}  // namespace
