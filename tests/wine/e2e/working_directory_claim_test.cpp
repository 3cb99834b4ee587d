// Engines close together in one temporary directory: a working directory belongs to its engine
// from its creation until that engine's cleanup is done, so a second engine never takes it over
// and a cleanup never touches another engine's files. And the working directory is a full path
// whatever the temporary base, so the cleanup finds every file it made.
#include <windows.h>

#include <gtest/gtest.h>

#include "engine/shared_control_block.h"
#include "support/recycle_bin.h"
#include "support/scheduled_deletions.h"
#include "support/standin_report.h"

using namespace testsupport;

namespace {

constexpr DWORD kEngineEndMs = 30000;
constexpr DWORD kShowMs = 30000;

std::string Listing(const std::string& dir) { return ::testing::PrintToString(ListTree(dir)); }

bool MovieShown(const StandinReport& report) {
    return CapturedAndShown(report) && report.BlockByte(offsetof(SharedControlBlock, MovieReady)) == 1;
}

// The stand-in movie with one data file of its own. Every distributable here has a settings file
// of the same name, as distributables made the same way do.
std::vector<PackedFile> MovieWithDataFile(const std::string& dataName) {
    std::vector<PackedFile> files = MovieFiles("");
    files.push_back(FileFromText(dataName, "belongs to " + dataName));
    return files;
}

// A library that cannot be loaded: the engine shows its message and waits there.
std::vector<PackedFile> BrokenLibraryMovie(const std::string& dataName) {
    std::vector<PackedFile> files = MovieWithDataFile(dataName);
    files[1] = FileFromBytes("quenbyrun.dll", std::vector<uint8_t>(4096, 0x5A));
    return files;
}

// Engine A waits at its library's load-failure message while engine B starts in the same
// temporary directory. B must not take A's directory; A's cleanup must not touch B's.
TEST(WorkingDirectoryClaim, EngineAtItsLoadFailureMessageKeepsItsDirectoryFromAnotherEngine) {
    Distributable a("claim_a", BrokenLibraryMovie("a_data.txt"));
    Distributable b("claim_b", MovieWithDataFile("b_data.txt"));
    b.ShareTempDirOf(a);
    const std::string temp = a.TempPath();
    ScheduledDeletionsGuard scheduled{temp};
    RecycledItemsGuard recycled{temp};
    TempDir work("report");
    const std::string dirA = temp + "Obl_Rt\\";

    auto engineA = a.Start();
    ASSERT_NE(WaitForWindowOfClass(engineA->Id(), "#32770", 20000), nullptr) << "no load-failure message";
    const std::vector<std::string> treeA = ListTree(dirA);
    ASSERT_TRUE(FileExists(dirA + "a_data.txt")) << Listing(temp);
    ASSERT_TRUE(FileExists(dirA + "quenbyrun0.dll")) << Listing(temp);

    MovieRun runB = StartMovie(b, work.File("b.txt"));
    ASSERT_TRUE(MovieShown(runB.Report));
    const std::string dirB = runB.Report.Env("OrbelinLocalDir_RootDir");
    EXPECT_EQ(dirB, temp + "Obl_Rt1\\") << "B took a claimed directory";
    EXPECT_EQ(runB.Report.Value("mapping"), "PelluxRunnerMapping_OBL_RT1");
    // A's directory is exactly as A left it while its message is up.
    EXPECT_EQ(ListTree(dirA), treeA);
    EXPECT_TRUE(FileExists(dirB + "b_data.txt"));

    const MessageBoxContents box = ReadAndDismissMessageBox(engineA->Id(), 5000);
    ASSERT_TRUE(box.Found);
    EXPECT_EQ(box.Text.rfind("quenbyrun.dll exists but have not loaded: ", 0), 0u) << box.Text;
    EXPECT_EQ(engineA->WaitForExit(kEngineEndMs), 0);

    // A removed its own directory and nothing of B's.
    EXPECT_FALSE(DirectoryExists(dirA)) << Listing(temp);
    EXPECT_TRUE(runB.Engine->Running()) << "B's movie ended with A's cleanup";
    EXPECT_TRUE(IsWindow(runB.Report.Window()));
    EXPECT_TRUE(FileExists(dirB + "b_data.txt")) << Listing(temp);
    EXPECT_TRUE(FileExists(dirB + "quenbyrun1.dll")) << Listing(temp);
    EXPECT_TRUE(FileExists(dirB + kStoredProjectorName)) << Listing(temp);

    PostMessageA(runB.Report.Window(), WM_CLOSE, 0, 0);
    EXPECT_EQ(runB.Engine->WaitForExit(kEngineEndMs), 0);
    EXPECT_TRUE(ListTree(temp).empty()) << Listing(temp);
}

// Two engines started within milliseconds, the first with a payload whose extraction takes a
// while: both movies run in their own slots, and each cleanup removes only its own directory.
TEST(WorkingDirectoryClaim, EnginesStartedTogetherRunInTheirOwnSlotsAndCleanUpOnlyTheirOwn) {
    std::vector<PackedFile> bigFiles = MovieWithDataFile("big_data.txt");
    std::vector<uint8_t> large(48u << 20);
    uint32_t state = 12345;
    for (uint8_t& byte : large) {  // incompressible, so the whole size is written at extraction
        state = state * 1103515245u + 12345u;
        byte = static_cast<uint8_t>(state >> 24);
    }
    bigFiles.push_back(FileFromBytes("large.bin", large));
    large.clear();
    large.shrink_to_fit();
    Distributable big("together_big", bigFiles);
    bigFiles.clear();
    Distributable small("together_small", MovieWithDataFile("small_data.txt"));
    small.ShareTempDirOf(big);
    const std::string temp = big.TempPath();
    ScheduledDeletionsGuard scheduled{temp};
    RecycledItemsGuard recycled{temp};
    TempDir work("report");

    auto engineBig = big.Start({{"STANDIN_REPORT", work.File("big.txt")}});
    auto engineSmall = small.Start({{"STANDIN_REPORT", work.File("small.txt")}});
    const StandinReport reportBig = WaitForStandinReport(work.File("big.txt"), MovieShown, kShowMs);
    const StandinReport reportSmall = WaitForStandinReport(work.File("small.txt"), MovieShown, kShowMs);
    ASSERT_TRUE(MovieShown(reportBig)) << Listing(temp);
    ASSERT_TRUE(MovieShown(reportSmall)) << Listing(temp);

    const std::string dirBig = reportBig.Env("OrbelinLocalDir_RootDir");
    const std::string dirSmall = reportSmall.Env("OrbelinLocalDir_RootDir");
    EXPECT_NE(dirBig, dirSmall);
    EXPECT_NE(reportBig.Value("mapping"), reportSmall.Value("mapping"));
    for (const std::string& dir : {dirBig, dirSmall})
        EXPECT_TRUE(dir == temp + "Obl_Rt\\" || dir == temp + "Obl_Rt1\\") << dir;
    EXPECT_TRUE(FileExists(dirBig + "large.bin"));
    EXPECT_TRUE(FileExists(dirBig + "big_data.txt"));
    EXPECT_TRUE(FileExists(dirSmall + "small_data.txt"));

    // The big one ends first: its directory goes, the small one's stays with the movie running.
    PostMessageA(reportBig.Window(), WM_CLOSE, 0, 0);
    EXPECT_EQ(engineBig->WaitForExit(kEngineEndMs), 0);
    EXPECT_FALSE(DirectoryExists(dirBig)) << Listing(temp);
    EXPECT_TRUE(engineSmall->Running());
    EXPECT_TRUE(FileExists(dirSmall + "small_data.txt")) << Listing(temp);
    EXPECT_TRUE(FileExists(dirSmall + kStoredProjectorName)) << Listing(temp);

    PostMessageA(reportSmall.Window(), WM_CLOSE, 0, 0);
    EXPECT_EQ(engineSmall->WaitForExit(kEngineEndMs), 0);
    EXPECT_TRUE(ListTree(temp).empty()) << Listing(temp);
}

// ---------------------------------------------------------------------------------------------

// The working directory is full whatever the base: a relative per-user value lies inside the
// program's directory, and without any temporary path the directory lies beside the program,
// whichever directory the engine was started from. The cleanup then finds every file.
struct FullBaseCase {
    const char* Name;
    const char* UserValue;  // nullptr: none
    bool NoSystemTempPath;  // TEMP and TMP too long for GetTempPathA
    const char* Expected;   // the working directory, inside the program's directory
};

void PrintTo(const FullBaseCase& c, std::ostream* out) { *out << c.Name; }

class WorkingDirectoryBase : public ::testing::TestWithParam<FullBaseCase> {};

TEST_P(WorkingDirectoryBase, WorkingDirectoryIsFullAndLeftEmpty) {
    const FullBaseCase& c = GetParam();
    Distributable app("fullbase", MovieFiles(""));
    const std::string appDir = app.AppDir();
    ScheduledDeletionsGuard scheduled{appDir};
    RecycledItemsGuard recycled{appDir};
    TempDir work("report");
    TempDir startDir("start");
    if (c.UserValue) {
        ASSERT_TRUE(CreateDirectoryA((appDir + c.UserValue).c_str(), nullptr));
        SetPelluxValue(app.Section(), "Quenby Temp Directory", c.UserValue);
    }
    std::map<std::string, std::string> environment = {{"STANDIN_REPORT", work.File("report.txt")}};
    const std::string temp = c.NoSystemTempPath ? "C:\\" + std::string(300, 'x') : app.TempPath();
    environment["TEMP"] = temp;
    environment["TMP"] = temp;

    ChildProcess engine(app.Path(), "", environment, startDir.Path());
    const StandinReport report = WaitForStandinReport(work.File("report.txt"), MovieShown, kShowMs);
    ASSERT_TRUE(MovieShown(report));
    EXPECT_EQ(report.Env("OrbelinLocalDir_RootDir"), appDir + c.Expected);
    EXPECT_TRUE(FileExists(appDir + c.Expected + "quenbyrun0.dll"));

    PostMessageA(report.Window(), WM_CLOSE, 0, 0);
    EXPECT_EQ(engine.WaitForExit(kEngineEndMs), 0);
    std::vector<std::string> expectedTree = {app.ExeName()};
    if (c.UserValue) expectedTree.insert(expectedTree.begin(), c.UserValue);
    EXPECT_EQ(ListTree(appDir), expectedTree);
    EXPECT_TRUE(ListTree(startDir.Path()).empty()) << Listing(startDir.Path());
    // A library still loaded elsewhere is scheduled by its real path, never a doubled one.
    for (const std::string& entry : PendingRenameEntries())
        EXPECT_EQ(entry.find(std::string(c.Expected) + c.Expected), std::string::npos) << entry;
}

INSTANTIATE_TEST_SUITE_P(
    Bases, WorkingDirectoryBase,
    ::testing::Values(FullBaseCase{"RelativeUserValue", "Temp", false, "Temp\\Obl_Rt\\"},
                      FullBaseCase{"NoSystemTemporaryPath", nullptr, true, "Obl_Rt\\"}),
    [](const auto& info) { return std::string(info.param.Name); });

// ---------------------------------------------------------------------------------------------

// A start without a host window (CreateWindowExA refused, here by a CBT hook that refuses the
// host's class) ends at once with a message instead of waiting for ever for its start message.
TEST(HostWindowMissing, StartEndsWithAMessageAndLeavesNothing) {
    Distributable app("nohost", MovieFiles(""));
    HMODULE blocker = LoadLibraryA(BinPath("standin_hostblock.dll").c_str());
    ASSERT_NE(blocker, nullptr);
    auto procedure = reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(blocker, "BlockHostWindow")));
    ASSERT_NE(procedure, nullptr);
    HHOOK hook = SetWindowsHookExA(WH_CBT, procedure, blocker, 0);
    ASSERT_NE(hook, nullptr);

    auto engine = app.Start();
    const MessageBoxContents box = ReadAndDismissMessageBox(engine->Id(), 20000);
    const long exitCode = engine->WaitForExit(kEngineEndMs);
    UnhookWindowsHookEx(hook);
    FreeLibrary(blocker);

    ASSERT_TRUE(box.Found) << "no message; the engine " << (exitCode == -1 ? "hung" : "ended");
    EXPECT_EQ(box.Caption, "Error");
    EXPECT_EQ(box.Text.rfind("Exception occured: Can't create the host window", 0), 0u) << box.Text;
    EXPECT_EQ(exitCode, 0);
    EXPECT_TRUE(ListTree(app.TempPath()).empty()) << Listing(app.TempPath());
}

}  // namespace
