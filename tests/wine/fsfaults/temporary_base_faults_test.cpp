// The real engine on a temporary base that is a real file system made for the test: one that
// fills up in the middle of the extraction, and one that is read-only. Either way the run ends
// with the error box naming what failed and leaves nothing behind.
#include <gtest/gtest.h>

#include <memory>

#include "../e2e/settings_movie_run.h"
#include "support/fault_mounts.h"
#include "support/recycle_bin.h"
#include "support/scheduled_deletions.h"

using namespace testsupport;
using namespace settingse2e;

namespace {

const char kSettings[] = "[Settings]\nPassword=0\nSound=1\n";
const char kTempValue[] = "Quenby Temp Directory";
constexpr uint64_t kPage = 4096;  // tmpfs allocates whole pages
constexpr uint64_t kRoomForTheMovie = 256 * 1024;
constexpr size_t kMovieSize = 1024 * 1024;  // never fits into kRoomForTheMovie

std::string Listing(const std::string& dir) { return ::testing::PrintToString(ListTree(dir)); }

uint64_t Pages(uint64_t bytes) { return (bytes + kPage - 1) / kPage * kPage; }

// The stand-in movie with a large movie file after the projector and the hook library, and a
// small file after it that the failed run never reaches.
std::vector<PackedFile> MovieWithLargeFile() {
    std::vector<PackedFile> files = StandinMovieFiles(kSettings);
    files.push_back(FileFromBytes("Movie.SWF", std::vector<uint8_t>(kMovieSize, 'm')));
    files.push_back(FileFromText("notes.txt", "after the movie"));
    return files;
}

}  // namespace

// How full the base is when the engine starts, and which file therefore fails.
struct FullBaseCase {
    const char* Name;
    bool RoomForProjectorAndLibrary;  // else no room at all: the settings pass fails first
    const char* FailedFile;           // under the base
};

void PrintTo(const FullBaseCase& row, std::ostream* out) { *out << row.Name; }

class FullTemporaryBase : public ::testing::TestWithParam<FullBaseCase> {};

// The base is pre-filled to the page, so the file fails part way whatever the timing.
TEST_P(FullTemporaryBase, ErrorBoxNamesTheFileNothingIsLeftAndTheNextRunWorks) {
    const FullBaseCase& row = GetParam();
    const FaultMounts mounts = FindFaultMounts();
    if (!mounts.NotMounted.empty()) GTEST_SKIP() << "no test file systems: " << mounts.NotMounted;
    SettingsRun run("fullbase", MovieWithLargeFile());
    TempDir base("base", mounts.Small);
    SetPelluxValue(run.App().Section(), kTempValue, base.Path());

    const uint64_t room = !row.RoomForProjectorAndLibrary
                              ? 0
                              : Pages(ReadFileBytes(BinPath("standin_projector10.exe")).size()) +
                                    Pages(ReadFileBytes(BinPath("quenbyrun.dll")).size()) + kRoomForTheMovie;
    const uint64_t free = FreeBytes(base.Path());
    ASSERT_GT(free, room + kPage) << "the small file system is too small for the test";
    auto filler = std::make_unique<TempDir>("fill", mounts.Small);
    WriteFileBytes(filler->File("filler.bin"), std::vector<uint8_t>(free - room, 'f'));
    const uint64_t freeWhenFilled = FreeBytes(base.Path());
    ASSERT_EQ(freeWhenFilled, room);

    run.Start();
    const MessageBoxContents box = ReadAndDismissMessageBox(run.Engine().Id(), 20000);
    ASSERT_TRUE(box.Found);
    EXPECT_EQ(box.Caption, "Error");
    EXPECT_EQ(box.Text, "Exception occured: Extract error on " + base.Path() + row.FailedFile);
    EXPECT_EQ(run.Engine().WaitForExit(20000), 0);
    EXPECT_TRUE(ListTree(base.Path()).empty()) << "left behind: " << Listing(base.Path());
    EXPECT_EQ(FreeBytes(base.Path()), freeWhenFilled) << "space still taken by the failed run";
    EXPECT_TRUE(ListTree(run.App().TempPath()).empty()) << "left behind: " << Listing(run.App().TempPath());
    EXPECT_EQ(ListTree(run.App().AppDir()), std::vector<std::string>({run.App().ExeName()}));

    filler.reset();
    ScheduledDeletionsGuard scheduled{base.Path()};
    RecycledItemsGuard recycled{base.Path()};
    run.Start();
    const StandinReport report = run.WaitUntilShown();
    EXPECT_NE(report.Parent(), nullptr) << "the movie was not shown on the freed file system";
    EXPECT_EQ(report.Env("OrbelinLocalDir_RootDir"), base.Path() + "Obl_Rt\\");
    EXPECT_EQ(ReadFileBytes(base.Path() + "Obl_Rt\\movie.swf").size(), kMovieSize);
    EXPECT_TRUE(FileExists(base.Path() + "Obl_Rt\\notes.txt"));
    EXPECT_EQ(run.CloseAndWait(), 0);
    // Wine's desktop keeps every library that a global hook brought into it loaded: the hook
    // library may outlive the run, scheduled for deletion at the next start, and keep its
    // directory, which cannot reach the Recycle Bin from this file system. Nothing else stays.
    const std::vector<std::string> left = ListTree(base.Path());
    if (!left.empty()) {
        EXPECT_EQ(left, std::vector<std::string>({"Obl_Rt", "Obl_Rt\\quenbyrun0.dll"}));
        EXPECT_TRUE(DeletionScheduledFor(base.Path() + "Obl_Rt\\quenbyrun0.dll"));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Fillings, FullTemporaryBase,
    ::testing::Values(FullBaseCase{"MovieDoesNotFit", true, "Obl_Rt\\movie.swf"},
                      FullBaseCase{"SettingsFileDoesNotFit", false, "settings.ini"}),
    [](const auto& info) { return std::string(info.param.Name); });

// A read-only temporary directory: with a settings file the settings pass is the first to write
// there; without one the working directory is the first thing made there.
struct ReadOnlyBaseCase {
    const char* Name;
    const char* Settings;        // empty: no settings file in the payload
    const char* FailedPathPart;  // after the base
    const char* Message;         // before the failed path
};

void PrintTo(const ReadOnlyBaseCase& row, std::ostream* out) { *out << row.Name; }

class ReadOnlyTemporaryBase : public ::testing::TestWithParam<ReadOnlyBaseCase> {};

TEST_P(ReadOnlyTemporaryBase, FailsWithTheErrorBoxAndLeavesNothing) {
    const ReadOnlyBaseCase& row = GetParam();
    const FaultMounts mounts = FindFaultMounts();
    if (!mounts.NotMounted.empty()) GTEST_SKIP() << "no test file systems: " << mounts.NotMounted;
    Distributable app("robase", StandinMovieFiles(row.Settings));
    TempDir base("base", mounts.Writable);
    const std::string readOnlyBase = ReadOnlyViewOf(mounts, base.Path());
    ASSERT_FALSE(CreateDirectoryA((readOnlyBase + "probe").c_str(), nullptr)) << readOnlyBase << " is writable";
    app.UseTempDir(readOnlyBase);  // the system temporary directory, through TEMP

    auto engine = app.Start();
    const MessageBoxContents box = ReadAndDismissMessageBox(engine->Id(), 20000);
    ASSERT_TRUE(box.Found);
    EXPECT_EQ(box.Caption, "Error");
    EXPECT_EQ(box.Text, std::string("Exception occured: ") + row.Message + readOnlyBase + row.FailedPathPart);
    EXPECT_EQ(engine->WaitForExit(20000), 0);
    EXPECT_TRUE(ListTree(base.Path()).empty()) << "left behind: " << Listing(base.Path());
    EXPECT_EQ(ListTree(app.AppDir()), std::vector<std::string>({app.ExeName()}));
}

INSTANTIATE_TEST_SUITE_P(
    Payloads, ReadOnlyTemporaryBase,
    ::testing::Values(ReadOnlyBaseCase{"NoSettingsFile", "", "Obl_Rt", "Can't create dir "},
                      ReadOnlyBaseCase{"WithSettingsFile", kSettings, "settings.ini", "Cannot create file "}),
    [](const auto& info) { return std::string(info.param.Name); });
