// The real engine when its own file is out of the ordinary: read-only (by attribute, or on a
// read-only file system) it plays as always; held open by another process without sharing when
// the engine starts, it says so and leaves nothing behind.
#include <gtest/gtest.h>

#include "../e2e/settings_movie_run.h"
#include "support/fault_mounts.h"
#include "support/recycle_bin.h"
#include "support/scheduled_deletions.h"

using namespace testsupport;
using namespace settingse2e;

namespace {

const char kSettings[] = "[Settings]\nPassword=0\nSound=1\n";

std::string Listing(const std::string& dir) { return ::testing::PrintToString(ListTree(dir)); }

// Puts the distributable where the case wants it; returns false with the reason when the case
// cannot run here.
struct ReadOnlyCase {
    const char* Name;
    bool (*Prepare)(Distributable& app, std::unique_ptr<TempDir>& home, std::string& notRun);
};

bool ReadOnlyAttribute(Distributable& app, std::unique_ptr<TempDir>&, std::string&) {
    EXPECT_TRUE(SetFileAttributesA(app.Path().c_str(), FILE_ATTRIBUTE_READONLY));
    return true;
}

bool OnReadOnlyFileSystem(Distributable& app, std::unique_ptr<TempDir>& home, std::string& notRun) {
    const FaultMounts mounts = FindFaultMounts();
    if (!mounts.NotMounted.empty()) {
        notRun = "no test file systems: " + mounts.NotMounted;
        return false;
    }
    home = std::make_unique<TempDir>("app", mounts.Writable);
    app.RunCopyFrom(home->Path(), ReadOnlyViewOf(mounts, home->Path()));
    EXPECT_FALSE(CreateDirectoryA((app.AppDir() + "probe").c_str(), nullptr)) << app.AppDir() << " is writable";
    return true;
}

void PrintTo(const ReadOnlyCase& row, std::ostream* out) { *out << row.Name; }

class ReadOnlyDistributable : public ::testing::TestWithParam<ReadOnlyCase> {};

}  // namespace

TEST_P(ReadOnlyDistributable, PlaysTheMovieAndCleansUp) {
    std::unique_ptr<TempDir> home;  // outlives the run
    SettingsRun run("roexe", kSettings);
    std::string notRun;
    if (!GetParam().Prepare(run.App(), home, notRun)) GTEST_SKIP() << notRun;
    const std::vector<uint8_t> image = ReadFileBytes(run.App().Path());
    // The hook library that Wine's desktop keeps loaded leaves through the last resorts.
    ScheduledDeletionsGuard scheduled{run.App().TempPath()};
    RecycledItemsGuard recycled{run.App().TempPath()};

    run.Start();
    const StandinReport report = run.WaitUntilShown();
    EXPECT_NE(report.Parent(), nullptr) << "the movie was not shown";
    EXPECT_EQ(run.CloseAndWait(), 0);
    EXPECT_TRUE(ListTree(run.App().TempPath()).empty()) << "left behind: " << Listing(run.App().TempPath());
    EXPECT_EQ(ListTree(run.App().AppDir()), std::vector<std::string>({run.App().ExeName()}));
    EXPECT_TRUE(ReadFileBytes(run.App().Path()) == image) << "the distributable changed";
}

INSTANTIATE_TEST_SUITE_P(Places, ReadOnlyDistributable,
                         ::testing::Values(ReadOnlyCase{"ReadOnlyAttribute", ReadOnlyAttribute},
                                           ReadOnlyCase{"OnReadOnlyFileSystem", OnReadOnlyFileSystem}),
                         [](const auto& info) { return std::string(info.param.Name); });

// Held from before the engine's first instruction until its box is answered: the settings pass,
// the first to open the payload, cannot.
TEST(ExclusivelyOpenedDistributable, SaysItCannotOpenItAndLeavesNothing) {
    Distributable app("heldexe", StandinMovieFiles(kSettings));
    auto engine = app.StartSuspended();
    {
        HeldFile held(app.Path());
        ASSERT_TRUE(held.Held()) << "cannot hold " << app.Path() << " (error " << GetLastError() << ")";
        engine->Resume();
        const MessageBoxContents box = ReadAndDismissMessageBox(engine->Id(), 20000);
        ASSERT_TRUE(box.Found);
        EXPECT_EQ(box.Caption, "Error");
        EXPECT_EQ(box.Text, "Exception occured: Cannot open file " + app.Path());
        EXPECT_EQ(engine->WaitForExit(20000), 0);
    }
    EXPECT_TRUE(ListTree(app.TempPath()).empty()) << "left behind: " << Listing(app.TempPath());
    EXPECT_EQ(ListTree(app.AppDir()), std::vector<std::string>({app.ExeName()}));
}
