// Engines side by side: each run takes the first free instance slot of its temporary directory,
// and a slot left behind by a killed engine is taken back by the next run.
#include <windows.h>

#include <gtest/gtest.h>

#include "engine/shared_control_block.h"
#include "support/standin_report.h"

using namespace testsupport;

namespace {

constexpr DWORD kEngineEndMs = 30000;

std::string Listing(const std::string& dir) { return ::testing::PrintToString(ListTree(dir)); }

TEST(MovieSlots, TwoEnginesRunSideBySideInSlotsZeroAndOne) {
    Distributable first("slotfirst", MovieFiles(""));
    Distributable second("slotsecond", MovieFiles(""));
    second.ShareTempDirOf(first);
    ScheduledDeletionsGuard guard{first.TempPath()};
    TempDir work("report");

    MovieRun one = StartMovie(first, work.File("one.txt"));
    ASSERT_TRUE(CapturedAndShown(one.Report));
    MovieRun two = StartMovie(second, work.File("two.txt"));
    ASSERT_TRUE(CapturedAndShown(two.Report));

    EXPECT_EQ(one.Report.Env("OrbelinLocalDir_RootDir"), first.TempPath() + "Obl_Rt\\");
    EXPECT_EQ(two.Report.Env("OrbelinLocalDir_RootDir"), first.TempPath() + "Obl_Rt1\\");
    EXPECT_EQ(one.Report.Value("mapping"), "PelluxRunnerMapping_OBL_RT");
    EXPECT_EQ(two.Report.Value("mapping"), "PelluxRunnerMapping_OBL_RT1");
    // Each projector reads its own engine's block.
    EXPECT_EQ(one.Report.BlockU32(offsetof(SharedControlBlock, HostWindow)), HandleToField(one.Host));
    EXPECT_EQ(two.Report.BlockU32(offsetof(SharedControlBlock, HostWindow)), HandleToField(two.Host));
    EXPECT_EQ(one.Report.BlockU32(offsetof(SharedControlBlock, EngineProcessId)), one.Engine->Id());
    EXPECT_EQ(two.Report.BlockU32(offsetof(SharedControlBlock, EngineProcessId)), two.Engine->Id());

    PostMessageA(two.Report.Window(), WM_CLOSE, 0, 0);
    PostMessageA(one.Report.Window(), WM_CLOSE, 0, 0);
    EXPECT_EQ(two.Engine->WaitForExit(kEngineEndMs), 0);
    EXPECT_EQ(one.Engine->WaitForExit(kEngineEndMs), 0);
    EXPECT_TRUE(ListTree(first.TempPath()).empty()) << Listing(first.TempPath());
}

// The engine is killed while its message about the unloadable library is up: everything is
// extracted and no other process has loaded anything from the directory. (Killed later, with its
// hooks installed, the leftover library stays loaded in the Wine desktop process, which keeps the
// directory busy: the next run then rightly takes the next slot.)
TEST(MovieSlots, LeftoverOfAKilledEngineIsDeletedAndItsSlotReused) {
    std::vector<PackedFile> brokenFiles = MovieFiles("");
    brokenFiles[1] = FileFromBytes("quenbyrun.dll", std::vector<uint8_t>(4096, 0x5A));
    brokenFiles.push_back(FileFromText("leftover.txt", "only in the killed run"));
    Distributable killed("killed", brokenFiles);
    Distributable next("next", MovieFiles(""));
    next.ShareTempDirOf(killed);
    ScheduledDeletionsGuard guard{killed.TempPath()};
    RecycledItemsGuard recycled{killed.TempPath()};
    const std::string workDir = killed.TempPath() + "Obl_Rt\\";
    {
        auto engine = killed.Start();
        ASSERT_NE(WaitForWindowOfClass(engine->Id(), "#32770", 20000), nullptr);
        TerminateProcess(engine->Handle(), 99);
        WaitForSingleObject(engine->Handle(), 5000);
    }
    ASSERT_TRUE(FileExists(workDir + "leftover.txt")) << Listing(killed.TempPath());
    ASSERT_TRUE(FileExists(workDir + "quenbyrun0.dll")) << Listing(killed.TempPath());

    TempDir work("report");
    MovieRun run = StartMovie(next, work.File("report.txt"));
    ASSERT_TRUE(CapturedAndShown(run.Report));
    EXPECT_EQ(run.Report.Env("OrbelinLocalDir_RootDir"), workDir);
    EXPECT_EQ(run.Report.Value("mapping"), "PelluxRunnerMapping_OBL_RT");
    EXPECT_FALSE(FileExists(workDir + "leftover.txt"));
    EXPECT_FALSE(DirectoryExists(killed.TempPath() + "Obl_Rt1"));

    PostMessageA(run.Report.Window(), WM_CLOSE, 0, 0);
    EXPECT_EQ(run.Engine->WaitForExit(kEngineEndMs), 0);
    EXPECT_TRUE(ListTree(killed.TempPath()).empty()) << Listing(killed.TempPath());
}

}  // namespace
