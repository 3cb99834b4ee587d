// How a movie run ends: a projector that never shows its window or ends at once, the movie's own
// end, a quit request and a broken hook library all end the engine quietly (or with the one
// message a broken library deserves) and leave nothing in the temporary directory.
#include <windows.h>

#include <gtest/gtest.h>

#include "support/recycle_bin.h"
#include "support/scheduled_deletions.h"
#include "support/standin_report.h"

using namespace testsupport;

namespace {

constexpr DWORD kEngineEndMs = 30000;
std::string Listing(const Distributable& app) { return ::testing::PrintToString(ListTree(app.TempPath())); }

bool ProcessEnded(DWORD processId, DWORD timeoutMs) {
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, processId);
    if (!process) return true;  // gone already
    const bool ended = WaitForSingleObject(process, timeoutMs) == WAIT_OBJECT_0;
    CloseHandle(process);
    return ended;
}

// ---------------------------------------------------------------------------------------------

struct QuietEndCase {
    const char* Name;
    const char* Variable;
};

void PrintTo(const QuietEndCase& c, std::ostream* out) { *out << c.Name; }

class ProjectorWithoutMovie : public ::testing::TestWithParam<QuietEndCase> {};

// Not shown within the 11 s window search, or ended before it: the run ends without a word. (An
// engine showing a message box would not end by itself.)
TEST_P(ProjectorWithoutMovie, EndsTheRunQuietlyAndLeavesNothing) {
    Distributable app("nomovie", MovieFiles(""));
    TempDir work("report");
    ScheduledDeletionsGuard guard{app.TempPath()};
    RecycledItemsGuard recycled{app.TempPath()};
    auto engine = app.Start({{GetParam().Variable, "1"}, {"STANDIN_REPORT", work.File("report.txt")}});
    EXPECT_EQ(engine->WaitForExit(kEngineEndMs), 0);
    EXPECT_TRUE(TopLevelWindowsOf(engine->Id()).empty());
    // The projector did start (its report exists), without a window.
    const StandinReport report = ReadStandinReport(work.File("report.txt"));
    EXPECT_EQ(report.Value("window"), "0");
    EXPECT_TRUE(ListTree(app.TempPath()).empty()) << Listing(app);
    if (!report.Value("pid").empty()) ProcessEnded(std::stoul(report.Value("pid")), 20000);
}

INSTANTIATE_TEST_SUITE_P(Projectors, ProjectorWithoutMovie,
                         ::testing::Values(QuietEndCase{"NoWindowInTime", "STANDIN_NO_WINDOW"},
                                           QuietEndCase{"EndsAtOnce", "STANDIN_EXIT_AT_ONCE"}),
                         [](const auto& info) { return std::string(info.param.Name); });

// ---------------------------------------------------------------------------------------------

enum class Ending { MovieEndsItself, WindowClosed, QuitRequested };

struct MovieEndCase {
    const char* Name;
    Ending How;
};

void PrintTo(const MovieEndCase& c, std::ostream* out) { *out << c.Name; }

class MovieEnd : public ::testing::TestWithParam<MovieEndCase> {};

// Whatever ends the movie, the engine ends normally and removes everything it and the movie put in
// the working directory. Under Wine a desktop process that one of the hooks reached keeps the hook
// library loaded: the library's deletion is then scheduled for the next start and the directory
// leaves by the fallback. When nothing holds it (the 64-bit desktop cannot load the 32-bit
// library; the hooks need not reach it at all) the library is deleted at once.
TEST_P(MovieEnd, EngineEndsAndRemovesEverything) {
    const MovieEndCase& c = GetParam();
    std::vector<PackedFile> files = MovieFiles("CurrentDir=1\r\n");
    files.push_back(FileFromText("notes.txt", "placed", "docs\\deep"));
    files.push_back(FileFromText("extra.txt", "extracted"));
    Distributable app("movieend", files);
    TempDir work("report");
    // The bin may hold items of an earlier process that had the same directory name.
    EmptyRecycledFrom(app.TempPath());
    std::map<std::string, std::string> environment = {{"STANDIN_WRITE_DAT", "1"}};
    if (c.How == Ending::MovieEndsItself) environment["STANDIN_EXIT_AFTER_MS"] = "5000";
    MovieRun run = StartMovie(app, work.File("report.txt"), environment);
    ASSERT_TRUE(CapturedAndShown(run.Report));
    const std::string workDir = app.TempPath() + "Obl_Rt\\";
    // The movie's own files: one in its current directory (the working directory here), one in
    // the working directory named by the environment.
    EXPECT_TRUE(FileExists(workDir + "movie.dat"));
    EXPECT_TRUE(FileExists(workDir + "state.dat"));
    EXPECT_TRUE(FileExists(workDir + "docs\\deep\\notes.txt"));

    if (c.How == Ending::WindowClosed) PostMessageA(run.Report.Window(), WM_CLOSE, 0, 0);
    if (c.How == Ending::QuitRequested)
        PostThreadMessageA(GetWindowThreadProcessId(run.Host, nullptr), WM_QUIT, 0, 0);

    EXPECT_EQ(run.Engine->WaitForExit(kEngineEndMs), 0);
    EXPECT_TRUE(ProcessEnded(std::stoul(run.Report.Value("pid")), 5000)) << "the projector still runs";
    EXPECT_TRUE(ListTree(app.TempPath()).empty()) << Listing(app);
    const bool libraryHeld = DeletionScheduledFor(workDir + "quenbyrun0.dll");
    // Only 32-bit processes ever load the 32-bit engine's library, and they have all ended.
    if (sizeof(void*) == 4) {
        EXPECT_FALSE(libraryHeld);
    }
    ForgetScheduledDeletionsUnder(app.TempPath());
    EXPECT_FALSE(DeletionScheduledFor(workDir + "quenbyrun0.dll"));
    // The directory left through the last resort exactly when it still held the library.
    if (RecycleBinReadable()) {
        EXPECT_EQ(RecycledFrom(app.TempPath()).size(), libraryHeld ? 1u : 0u)
            << "scheduled deletions: " << ::testing::PrintToString(PendingRenameEntries());
    }
}

INSTANTIATE_TEST_SUITE_P(Endings, MovieEnd,
                         ::testing::Values(MovieEndCase{"MovieEndsItself", Ending::MovieEndsItself},
                                           MovieEndCase{"WindowClosed", Ending::WindowClosed},
                                           MovieEndCase{"QuitRequested", Ending::QuitRequested}),
                         [](const auto& info) { return std::string(info.param.Name); });

// ---------------------------------------------------------------------------------------------

// A library without "SProc" is refused before any hook exists, so no other process ever loads it:
// everything is deleted directly and nothing is left for the next start.
TEST(BrokenHookLibrary, RefusedLibraryIsDeletedDirectlyAndTheRunEndsQuietly) {
    Distributable app("nosproc", MovieFiles("", "standin_projector10.exe", "quenbyrun_nosproc.dll"));
    ScheduledDeletionsGuard guard{app.TempPath()};
    RecycledItemsGuard recycled{app.TempPath()};
    EmptyRecycledFrom(app.TempPath());
    auto engine = app.Start();
    EXPECT_EQ(engine->WaitForExit(kEngineEndMs), 0);
    EXPECT_TRUE(ListTree(app.TempPath()).empty()) << Listing(app);
    EXPECT_FALSE(DeletionScheduledFor(app.TempPath() + "Obl_Rt\\quenbyrun0.dll"));
    EXPECT_TRUE(RecycledFrom(app.TempPath()).empty());
}

std::string SystemText(DWORD error) {
    char buffer[1024] = {};
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
                                        buffer, sizeof buffer, nullptr);
    std::string text(buffer, length);
    while (!text.empty() && (static_cast<unsigned char>(text.back()) <= ' ' || text.back() == '.')) text.pop_back();
    return text;
}

TEST(BrokenHookLibrary, UnloadableLibraryShowsItsMessageAndTheRunEndsCleanly) {
    const std::vector<uint8_t> garbage(4096, 0x5A);
    // The system's reason, found the same way: loading the same bytes here.
    TempDir probe("probe");
    WriteFileBytes(probe.File("garbage.dll"), garbage);
    SetLastError(0);
    HMODULE loaded = LoadLibraryA(probe.File("garbage.dll").c_str());
    const DWORD error = GetLastError();
    ASSERT_EQ(loaded, nullptr);

    std::vector<PackedFile> files = MovieFiles("");
    files[1] = FileFromBytes("quenbyrun.dll", garbage);
    Distributable app("garbage", files);
    ScheduledDeletionsGuard guard{app.TempPath()};
    RecycledItemsGuard recycled{app.TempPath()};
    auto engine = app.Start();
    const MessageBoxContents box = ReadAndDismissMessageBox(engine->Id(), 20000);
    ASSERT_TRUE(box.Found);
    EXPECT_EQ(box.Text, "quenbyrun.dll exists but have not loaded: " + SystemText(error));
    EXPECT_EQ(box.Caption, app.Path());
    EXPECT_EQ(engine->WaitForExit(kEngineEndMs), 0);
    EXPECT_TRUE(ListTree(app.TempPath()).empty()) << Listing(app);
}

}  // namespace
