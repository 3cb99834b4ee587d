// What the projector finds when the real engine starts it: its environment variables, its
// current directory, and the shared control block the engine filled (read by the stand-in
// projector from inside the projector process and written to its report).
#include <windows.h>

#include <gtest/gtest.h>

#include "engine/shared_control_block.h"
#include "support/standin_report.h"

using namespace testsupport;

namespace {

std::string WithoutFinalBackslash(std::string path) {
    if (!path.empty() && path.back() == '\\') path.pop_back();
    return path;
}


std::string Decimal(const void* handle) { return std::to_string(reinterpret_cast<uintptr_t>(handle)); }

DWORD ThreadOf(HWND window) { return GetWindowThreadProcessId(window, nullptr); }

enum class StartDir { Work, Engine };

struct StartDirCase {
    const char* Name;
    const char* Settings;
    bool PlacedFile;          // the payload places a file itself
    bool IdenticalCopyInDir;  // the start directory already holds the projector under its stored name
    StartDir Expected;
};

void PrintTo(const StartDirCase& c, std::ostream* out) { *out << c.Name; }

class ProjectorStartDirectory : public ::testing::TestWithParam<StartDirCase> {};

TEST_P(ProjectorStartDirectory, EnvironmentAndCurrentDirectoryFollowCurrentDir) {
    const StartDirCase& c = GetParam();
    std::vector<PackedFile> files = MovieFiles(c.Settings);
    if (c.PlacedFile) files.push_back(FileFromText("notes.txt", "placed", "docs"));
    Distributable app("startdir", files);
    if (c.IdenticalCopyInDir)
        WriteFileBytes(app.AppDir() + kStoredProjectorName, ReadFileBytes(BinPath("standin_projector10.exe")));
    TempDir work("report");
    MovieRun run = StartMovie(app, work.File("report.txt"));
    ASSERT_TRUE(CapturedAndShown(run.Report));
    const StandinReport& report = run.Report;

    const std::string workDir = app.TempPath() + "Obl_Rt\\";
    const std::string initialDir = WithoutFinalBackslash(c.Expected == StartDir::Work ? workDir : app.AppDir());
    const std::string projector =
        c.IdenticalCopyInDir ? app.AppDir() + kStoredProjectorName : workDir + kStoredProjectorName;

    EXPECT_EQ(report.Env("OrbelinLocalDir_Engine"), app.Path());
    EXPECT_EQ(report.Env("OrbelinEngine_ID"), std::to_string(run.Engine->Id()));
    EXPECT_EQ(report.Env("OrbelinEngine_WH"), Decimal(run.Host));
    EXPECT_EQ(report.Env(app.ExeName()), Decimal(run.Host));
    EXPECT_EQ(report.Env("OrbelinLocalDir_Projector"), projector);
    EXPECT_EQ(report.Value("exe"), projector);
    EXPECT_EQ(report.Env("OrbelinLocalDir_RootDir"), workDir);
    EXPECT_EQ(report.Env("OrbelinLocalDir_InitialDir"), initialDir);
    EXPECT_EQ(report.Value("cwd"), initialDir);
    EXPECT_EQ(report.BlockShortString(offsetof(SharedControlBlock, StartDirectory)), initialDir);

    PostMessageA(report.Window(), WM_CLOSE, 0, 0);
    EXPECT_EQ(run.Engine->WaitForExit(30000), 0);
    EXPECT_TRUE(ListTree(app.TempPath()).empty()) << ::testing::PrintToString(ListTree(app.TempPath()));
    // A copy in the start directory is the author's file: it stays.
    EXPECT_EQ(FileExists(app.AppDir() + kStoredProjectorName), c.IdenticalCopyInDir);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ProjectorStartDirectory,
    ::testing::Values(StartDirCase{"CurrentDir0", "CurrentDir=0\r\n", false, false, StartDir::Engine},
                      StartDirCase{"CurrentDir0WithPlacement", "CurrentDir=0\r\n", true, false, StartDir::Work},
                      StartDirCase{"CurrentDir1", "CurrentDir=1\r\n", false, false, StartDir::Work},
                      StartDirCase{"CurrentDir2", "CurrentDir=2\r\n", false, false, StartDir::Engine},
                      StartDirCase{"CurrentDir2IdenticalCopy", "CurrentDir=2\r\n", false, true, StartDir::Engine}),
    [](const auto& info) { return std::string(info.param.Name); });

#define EXPECT_BYTE(field, value) \
    EXPECT_EQ(report.BlockByte(offsetof(SharedControlBlock, field)), value) << #field
#define EXPECT_U32(field, value) \
    EXPECT_EQ(report.BlockU32(offsetof(SharedControlBlock, field)), static_cast<uint32_t>(value)) << #field

TEST(ProjectorSharedBlock, HoldsTheOptionsHandlesAndIdsTheEngineWrote) {
    const std::string settings =
        "CurrentDir=1\r\nExitOnESC=1\r\nPassESC=1\r\nHideCursor=1\r\nCloseMenu=0\r\nSetupMenu=1\r\n"
        "MinimizeMenu=1\r\nDraggable=1\r\nDisableW95Key=0\r\nDisableScreenSaver=1\r\nInteraction=1\r\n"
        "RightClickMenu=0\r\nKeyInteraction=0\r\n"
        "[ProjectorVersion]\r\nMajor=7\r\n"
        "[RightMenuDeleteItems]\r\nCount=3\r\n0=11\r\n1=22\r\n2=33\r\n";
    Distributable app("block", MovieFiles(settings));
    TempDir work("report");
    MovieRun run = StartMovie(app, work.File("report.txt"));
    ASSERT_TRUE(CapturedAndShown(run.Report));
    // The supervision flag follows the showing, and the any-key byte the loop's first pass; the
    // report catches up within its refresh period.
    const StandinReport report = WaitForStandinReport(
        work.File("report.txt"),
        [](const StandinReport& r) {
            return r.BlockU32(0x064) == 1 && r.BlockByte(offsetof(SharedControlBlock, AnyKeyExits)) == 1;
        },
        5000);
    ASSERT_TRUE(report.HasBlock());
    const HWND projector = report.Window();

    // Hooks: keyboard, CBT, get-message always; mouse because the right-click menu is suppressed.
    EXPECT_NE(report.BlockU32(offsetof(SharedControlBlock, MouseHook)), 0u);
    EXPECT_NE(report.BlockU32(offsetof(SharedControlBlock, KeyboardHook)), 0u);
    EXPECT_NE(report.BlockU32(offsetof(SharedControlBlock, CbtHook)), 0u);
    EXPECT_NE(report.BlockU32(offsetof(SharedControlBlock, GetMessageHook)), 0u);
    EXPECT_U32(ReservedHook1, 0);
    EXPECT_U32(ReservedHook2, 0);
    EXPECT_BYTE(GetMessageHookInstalled, 1);

    // Handles and ids.
    EXPECT_U32(ProjectorProcessId, std::stoul(report.Value("pid")));
    EXPECT_U32(ProjectorThreadId, ThreadOf(projector));
    EXPECT_U32(ProjectorWindow, HandleToField(projector));
    EXPECT_U32(HostWindow, HandleToField(run.Host));
    EXPECT_U32(HostWindowCopy, HandleToField(run.Host));
    EXPECT_U32(EngineThreadId, ThreadOf(run.Host));
    EXPECT_U32(EngineProcessId, run.Engine->Id());

    // Constants and progress flags.
    EXPECT_BYTE(Constant044, 1);
    EXPECT_BYTE(Constant045, 0);
    EXPECT_BYTE(Constant046, 0);
    EXPECT_BYTE(Constant047, 0);
    EXPECT_BYTE(Constant048, 0);
    EXPECT_U32(Constant058, 1);
    EXPECT_BYTE(ProjectorStartBegun, 1);
    EXPECT_BYTE(FramePaintingSuspended, 0);
    EXPECT_BYTE(ProjectorIsVersion6OrLater, 1);
    EXPECT_BYTE(MovieReady, 1);
    EXPECT_U32(Supervising, 1);

    // Options.
    EXPECT_BYTE(AnyKeyExits, 1);            // KeyInteraction=0
    EXPECT_BYTE(MouseClickExits, 0);        // Interaction=1
    EXPECT_BYTE(SuppressRightClickMenu, 1); // RightClickMenu=0
    EXPECT_BYTE(DisableWindowsKeys, 0);
    EXPECT_BYTE(DisableScreenSaver, 1);
    EXPECT_BYTE(ExitOnEsc, 1);
    EXPECT_BYTE(MenuItemClose, 0);
    EXPECT_BYTE(MenuItemSetup, 1);
    EXPECT_BYTE(MenuItemMinimize, 1);
    EXPECT_BYTE(Draggable, 1);
    EXPECT_BYTE(HideCursor, 1);
    EXPECT_BYTE(PassEsc, 1);
    EXPECT_U32(ProjectorMajorVersion, 7);
    const uint32_t items = offsetof(SharedControlBlock, MenuItemsToDelete);
    EXPECT_EQ(report.BlockU32(items), 11u);
    EXPECT_EQ(report.BlockU32(items + 4), 22u);
    EXPECT_EQ(report.BlockU32(items + 8), 33u);
    for (uint32_t i = 3; i < kMenuItemsToDeleteCount; ++i) EXPECT_EQ(report.BlockU32(items + 4 * i), 0u) << i;
    EXPECT_EQ(report.BlockShortString(offsetof(SharedControlBlock, StartDirectory)),
              WithoutFinalBackslash(app.TempPath() + "Obl_Rt\\"));

    PostMessageA(projector, WM_CLOSE, 0, 0);
    EXPECT_EQ(run.Engine->WaitForExit(30000), 0);
}

}  // namespace
