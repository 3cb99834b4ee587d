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

    // Slot 0: the message name carries the slot suffix "_OBL_RT". The engine obeys it only once its
    // first-show step, a pass after the movie-ready message, has installed the filter: the request
    // is repeated until the engine ends (a repeated request finds nothing left to do).
    const UINT runnerMessage = RegisterWindowMessageA("PelluxRunnerMessage_OBL_RT");
    ASSERT_NE(runnerMessage, 0u);
    const bool ended = WaitUntil(
        [&] {
            PostMessageA(run.Host, runnerMessage, 0, 0);
            return WaitForSingleObject(run.Engine->Handle(), 250) == WAIT_OBJECT_0;
        },
        30000);
    if (!ended) PostMessageA(run.Report.Window(), WM_CLOSE, 0, 0);  // leave no projector behind
    EXPECT_TRUE(ended) << "the runner message did not end the run";
    EXPECT_EQ(run.Engine->WaitForExit(30000), 0);
    EXPECT_TRUE(ListTree(app.TempPath()).empty()) << ::testing::PrintToString(ListTree(app.TempPath()));
}
