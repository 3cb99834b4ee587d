// The engine's messages from outside the engine: the range WM_USER+1..+50, the hook library's
// close request, Esc typed into the host, and the server query answered to another process.
#include <windows.h>

#include <gtest/gtest.h>

#include "movie_control.h"
#include "support/standin_report.h"

using namespace testsupport;

namespace {

constexpr DWORD kEngineEndMs = 30000;
constexpr DWORD kStillRunningMs = 1500;
constexpr UINT kCloseRequest = WM_USER + 12;

LRESULT SendTo(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, ScaledTimeout(10000), &result)) return 0x7FFF0000;
    return static_cast<LRESULT>(result);
}

std::string Listing(const Distributable& app) { return ::testing::PrintToString(ListTree(app.TempPath())); }

TEST(EngineMessages, ServerQueryUnusedMessagesAndTheCloseRequest) {
    Distributable app("messages", MovieFiles("FullScreen=0\r\nInteraction=1\r\n"));
    TempDir work("report");
    MovieRun run = StartMovie(app, work.File("report.txt"));
    ASSERT_NE(run.Host, nullptr);

    // The server query, from this process as the hook library asks it from the projector's.
    const UINT server = RegisterWindowMessageA("PelluxRunnerSvrMessage");
    POINT origin{0, 0};
    ClientToScreen(run.Host, &origin);
    RECT client{};
    GetClientRect(run.Host, &client);
    EXPECT_EQ(SendTo(run.Host, server, 0, 0), 0x454C424F);  // "OBLE"
    EXPECT_EQ(SendTo(run.Host, server, 1, 0), origin.x);
    EXPECT_EQ(SendTo(run.Host, server, 1, 1), origin.x + client.right);
    EXPECT_EQ(SendTo(run.Host, server, 1, 2), origin.y);
    EXPECT_EQ(SendTo(run.Host, server, 1, 3), origin.y + client.bottom);
    EXPECT_EQ(static_cast<int32_t>(SendTo(run.Host, server, 1, 4)), -1);
    EXPECT_EQ(static_cast<int32_t>(SendTo(run.Host, server, 2, 0)), -1);

    // Unused engine messages answer 0; a close request with wParam 1 is no close request.
    EXPECT_EQ(SendTo(run.Host, WM_USER + 20, 5, 5), 0);
    EXPECT_EQ(SendTo(run.Host, WM_USER + 50, 5, 5), 0);
    EXPECT_EQ(SendTo(run.Host, WM_USER + 2, 0, 0), 0);
    EXPECT_EQ(SendTo(run.Host, kCloseRequest, 1, 0), 0);
    Sleep(ScaledTimeout(kStillRunningMs));
    EXPECT_TRUE(run.Engine->Running());
    EXPECT_TRUE(IsWindow(run.Report.Window()));

    // wParam 0: the run ends through the projector, and nothing is left.
    PostMessageA(run.Host, kCloseRequest, 0, 0);
    EXPECT_EQ(run.Engine->WaitForExit(kEngineEndMs), 0);
    EXPECT_FALSE(IsWindow(run.Report.Window()));
    EXPECT_TRUE(ListTree(app.TempPath()).empty()) << Listing(app);
}

// Windows is ending: the projector is asked to close, and Windows may go on.
TEST(EngineMessages, EndOfSessionClosesTheProjector) {
    Distributable app("endsession", MovieFiles("FullScreen=0\r\nInteraction=1\r\n"));
    TempDir work("report");
    MovieRun run = StartMovie(app, work.File("report.txt"));
    ASSERT_NE(run.Host, nullptr);
    EXPECT_EQ(SendTo(run.Host, WM_QUERYENDSESSION, 0, 0), TRUE);
    EXPECT_EQ(run.Engine->WaitForExit(kEngineEndMs), 0);
    EXPECT_TRUE(ListTree(app.TempPath()).empty()) << Listing(app);
}

struct EscCase {
    const char* Name;
    const char* ExitOnEsc;
    bool Ends;
};

void PrintTo(const EscCase& c, std::ostream* out) { *out << c.Name; }

class EscInTheHost : public ::testing::TestWithParam<EscCase> {};

// Esc typed while the host itself has the keyboard focus.
TEST_P(EscInTheHost, EndsTheRunOnlyWithExitOnEsc) {
    const EscCase& c = GetParam();
    Distributable app("esc", MovieFiles(std::string("FullScreen=0\r\nInteraction=1\r\nExitOnESC=") + c.ExitOnEsc + "\r\n"));
    TempDir work("report");
    MovieRun run = StartMovie(app, work.File("report.txt"));
    ASSERT_NE(run.Host, nullptr);
    PostMessageA(run.Host, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    PostMessageA(run.Host, WM_CHAR, 27, 0x00010001);
    if (c.Ends) {
        EXPECT_EQ(run.Engine->WaitForExit(kEngineEndMs), 0);
    } else {
        Sleep(ScaledTimeout(kStillRunningMs));
        EXPECT_TRUE(run.Engine->Running());
        PostMessageA(run.Report.Window(), WM_CLOSE, 0, 0);
        EXPECT_EQ(run.Engine->WaitForExit(kEngineEndMs), 0);
    }
    EXPECT_TRUE(ListTree(app.TempPath()).empty()) << Listing(app);
}

INSTANTIATE_TEST_SUITE_P(Options, EscInTheHost,
                         ::testing::Values(EscCase{"ExitOnEsc", "1", true}, EscCase{"NoExitOnEsc", "0", false}),
                         [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
