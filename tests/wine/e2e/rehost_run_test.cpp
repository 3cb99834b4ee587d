// A distributable whose payload stagepack rehost moved from another engine runs on this one.
#include <windows.h>

#include <gtest/gtest.h>

#include "support/standin_report.h"

using namespace testsupport;

TEST(RehostedDistributable, RunsTheMovieOnTheNewEngineAndLeavesNothing) {
    // The old engine is any executable: only its payload is taken over.
    std::vector<uint8_t> oldEngine(70000);
    for (size_t i = 0; i < oldEngine.size(); ++i) oldEngine[i] = static_cast<uint8_t>(i * 131 + 7);
    TempDir old("old");
    WriteFileBytes(old.File("old.exe"), BuildDistributable(oldEngine, MovieFiles("FullScreen=0\r\n")));

    const std::string rehosted = old.File("new.exe");
    ChildProcess rehost(BinPath("tools\\stagepack\\stagepack.exe"),
                        "rehost \"" + old.File("old.exe") + "\" -e \"" + BinPath("stagehost.exe") + "\" -o \"" +
                            rehosted + "\"",
                        {});
    ASSERT_EQ(rehost.WaitForExit(30000), 0);

    Distributable app("rehosted", ReadFileBytes(rehosted));
    TempDir work("report");
    MovieRun run = StartMovie(app, work.File("report.txt"));
    ASSERT_TRUE(CapturedAndShown(run.Report));
    PostMessageA(run.Report.Window(), WM_CLOSE, 0, 0);
    EXPECT_EQ(run.Engine->WaitForExit(30000), 0);
    EXPECT_TRUE(ListTree(app.TempPath()).empty()) << "left behind: " << ::testing::PrintToString(ListTree(app.TempPath()));
}
