// Where the real engine works: a leftover working directory nobody uses is cleared and reused, one
// with a file still open is left alone for the next slot, a plain file of that name is replaced,
// and the per-user temporary directory decides the base - or fails the run when it is missing.
#include <gtest/gtest.h>

#include "settings_movie_run.h"
#include "support/recycle_bin.h"
#include "support/scheduled_deletions.h"

using namespace testsupport;
using namespace settingse2e;

namespace {

const char kSettings[] = "[Settings]\nPassword=0\nSound=1\n";
const char kRootDirVariable[] = "OrbelinLocalDir_RootDir";

std::string Listing(const std::string& dir) { return ::testing::PrintToString(ListTree(dir)); }

// Runs the movie until it is shown, checks what the projector saw, closes it.
StandinReport ShowAndClose(SettingsRun& run) {
    run.Start();
    StandinReport report = run.WaitUntilShown();
    EXPECT_NE(report.Parent(), nullptr) << "the movie was not shown";
    EXPECT_EQ(run.CloseAndWait(), 0);
    return report;
}

}  // namespace

TEST(SettingsWorkingDirectory, FreeLeftoverIsClearedAndReusedAsSlotZero) {
    SettingsRun run("leftover", kSettings);
    const std::string leftover = run.App().TempPath() + "Obl_Rt\\";
    ASSERT_TRUE(CreateDirectoryA(leftover.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA((leftover + "old").c_str(), nullptr));
    WriteTextFile(leftover + "quenbyrun0.dll", "left by a killed engine");
    WriteTextFile(leftover + "old\\movie.dat", "stale");

    run.Start();
    const StandinReport report = run.WaitUntilShown();
    ASSERT_NE(report.Parent(), nullptr) << "the movie was not shown";
    EXPECT_EQ(report.Env(kRootDirVariable), leftover);
    EXPECT_EQ(report.Value("mapping"), "PelluxRunnerMapping_OBL_RT");
    // The old tree went before the payload came in.
    EXPECT_FALSE(DirectoryExists(leftover + "old"));
    EXPECT_NE(ReadFileBytes(leftover + "quenbyrun0.dll").size(), std::string("left by a killed engine").size());
    EXPECT_EQ(run.CloseAndWait(), 0);
    EXPECT_TRUE(ListTree(run.App().TempPath()).empty()) << "left behind: " << Listing(run.App().TempPath());
}

TEST(SettingsWorkingDirectory, LeftoverWithAFileInUseDeepDownGivesSlotOne) {
    SettingsRun run("inuse", kSettings);
    const std::string temp = run.App().TempPath();
    const std::string deep = temp + "Obl_Rt\\a\\b\\c\\";
    ASSERT_TRUE(CreateDirectoryA((temp + "Obl_Rt").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA((temp + "Obl_Rt\\a").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA((temp + "Obl_Rt\\a\\b").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA(deep.c_str(), nullptr));
    WriteTextFile(temp + "Obl_Rt\\free.txt", "nobody holds me");
    WriteTextFile(deep + "held.dat", "still in use");
    const std::vector<std::string> before = ListTree(temp);
    {
        HeldFile held(deep + "held.dat");
        ASSERT_TRUE(held.Held());

        const StandinReport report = ShowAndClose(run);
        EXPECT_EQ(report.Env(kRootDirVariable), temp + "Obl_Rt1\\");
        EXPECT_EQ(report.Value("mapping"), "PelluxRunnerMapping_OBL_RT1");
        // Only the engine's own directory is gone; the one in use is untouched.
        EXPECT_EQ(ListTree(temp), before);
    }
    EXPECT_EQ(ReadFileBytes(deep + "held.dat"), std::vector<uint8_t>({'s', 't', 'i', 'l', 'l', ' ', 'i', 'n', ' ',
                                                                        'u', 's', 'e'}));
}

TEST(SettingsWorkingDirectory, PlainFileOfTheNameIsReplacedByTheDirectory) {
    SettingsRun run("plainfile", kSettings);
    const std::string temp = run.App().TempPath();
    WriteTextFile(temp + "Obl_Rt", "a file, not a directory");

    const StandinReport report = ShowAndClose(run);
    EXPECT_EQ(report.Env(kRootDirVariable), temp + "Obl_Rt\\");
    EXPECT_EQ(report.Value("mapping"), "PelluxRunnerMapping_OBL_RT");
    EXPECT_TRUE(ListTree(temp).empty()) << "left behind: " << Listing(temp);
}

// The per-user temporary directory replaces the system's; a final backslash is added when missing.
TEST(SettingsWorkingDirectory, UserTemporaryDirectoryIsTheBase) {
    SettingsRun run("usertemp", kSettings);
    TempDir userTemp("ut");
    // What Wine's desktop keeps of the hook library there is this test's to remove.
    ScheduledDeletionsGuard scheduled{userTemp.Path()};
    RecycledItemsGuard recycled{userTemp.Path()};
    std::string value = userTemp.Path();
    value.pop_back();
    SetPelluxValue(run.App().Section(), "Quenby Temp Directory", value);

    const StandinReport report = ShowAndClose(run);
    EXPECT_EQ(report.Env(kRootDirVariable), userTemp.Path() + "Obl_Rt\\");
    EXPECT_TRUE(ListTree(userTemp.Path()).empty()) << "left behind: " << Listing(userTemp.Path());
    EXPECT_TRUE(ListTree(run.App().TempPath()).empty()) << "left behind: " << Listing(run.App().TempPath());
}

// A missing per-user temporary directory fails the run with the error box and leaves nothing
// anywhere. With a settings file the settings pass is the first to write there; without one it
// writes nothing, and the working directory is the first thing made there.
struct MissingBaseCase {
    const char* Name;
    const char* Settings;        // empty: no settings file in the payload
    const char* FailedPathPart;  // after the missing directory and its "\"
    const char* Message;         // before the failed path
};

void PrintTo(const MissingBaseCase& row, std::ostream* out) { *out << row.Name; }

class MissingUserTemporaryDirectory : public ::testing::TestWithParam<MissingBaseCase> {};

TEST_P(MissingUserTemporaryDirectory, FailsWithTheErrorBoxAndLeavesNothing) {
    const MissingBaseCase& row = GetParam();
    Distributable app("missingtemp", StandinMovieFiles(row.Settings));
    TempDir parent("mt");
    const std::string missing = parent.Path() + "not here";
    SetPelluxValue(app.Section(), "Quenby Temp Directory", missing);

    auto engine = app.Start();
    const MessageBoxContents box = ReadAndDismissMessageBox(engine->Id(), 20000);
    ASSERT_TRUE(box.Found);
    EXPECT_EQ(box.Caption, "Error");
    EXPECT_EQ(box.Text, std::string("Exception occured: ") + row.Message + missing + "\\" + row.FailedPathPart);
    EXPECT_EQ(engine->WaitForExit(20000), 0);
    EXPECT_FALSE(DirectoryExists(missing));
    EXPECT_TRUE(ListTree(parent.Path()).empty()) << "left behind: " << Listing(parent.Path());
    EXPECT_TRUE(ListTree(app.TempPath()).empty()) << "left behind: " << Listing(app.TempPath());
    EXPECT_EQ(ListTree(app.AppDir()), std::vector<std::string>({app.ExeName()}));
}

INSTANTIATE_TEST_SUITE_P(
    Payloads, MissingUserTemporaryDirectory,
    ::testing::Values(MissingBaseCase{"NoSettingsFile", "", "Obl_Rt", "Can't create dir "},
                      MissingBaseCase{"WithSettingsFile", kSettings, "settings.ini", "Cannot create file "}),
    [](const auto& info) { return std::string(info.param.Name); });

// An empty per-user temporary directory counts as none: a relative base would put the settings
// file (with the password hash) into whatever directory the program was started from, and the
// working directory beside the program. The system's temporary directory is used instead.
TEST(SettingsWorkingDirectory, EmptyUserTemporaryDirectoryMeansTheSystemOne) {
    SettingsRun run("emptytemp", kSettings);
    SetPelluxValue(run.App().Section(), "Quenby Temp Directory", "");
    TempDir startDir("sd");

    run.Start({}, startDir.Path());
    const StandinReport report = run.WaitUntilShown();
    ASSERT_NE(report.Parent(), nullptr) << "the movie was not shown";
    EXPECT_EQ(report.Env(kRootDirVariable), run.App().TempPath() + "Obl_Rt\\");
    EXPECT_TRUE(ListTree(startDir.Path()).empty()) << "left behind: " << Listing(startDir.Path());
    EXPECT_EQ(ListTree(run.App().AppDir()), std::vector<std::string>({run.App().ExeName()}));
    EXPECT_EQ(run.CloseAndWait(), 0);
    EXPECT_TRUE(ListTree(run.App().TempPath()).empty()) << "left behind: " << Listing(run.App().TempPath());
}
