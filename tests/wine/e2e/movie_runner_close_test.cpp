// The hook library's close request (the runner message with wParam 0) ends a shown movie: the engine
// closes the projector, cleans up and ends normally.
#include <windows.h>

#include <gtest/gtest.h>

#include "support/standin_report.h"

using namespace testsupport;

TEST(RunnerClose, ARunnerMessageAfterTheMovieIsShownEndsTheRun) {
    Distributable app("runnerclose", MovieFiles(""));
    TempDir work("report");
    MovieRun run = StartMovie(app, work.File("report.txt"));
    ASSERT_NE(run.Host, nullptr);

    // Slot 0: the message name carries the slot suffix "_OBL_RT".
    const UINT runnerMessage = RegisterWindowMessageA("PelluxRunnerMessage_OBL_RT");
    ASSERT_NE(runnerMessage, 0u);
    PostMessageA(run.Host, runnerMessage, 0, 0);

    EXPECT_EQ(run.Engine->WaitForExit(30000), 0);
    EXPECT_TRUE(ListTree(app.TempPath()).empty()) << ::testing::PrintToString(ListTree(app.TempPath()));
}
