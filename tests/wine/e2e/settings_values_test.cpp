// Settings as they show from outside the real engine: the settings file is gone once the movie
// runs, the screen name is the caption, and the options the end user may choose come from the
// per-user registry values into the block the hook library reads.
#include <gtest/gtest.h>

#include <cstddef>

#include "engine/shared_control_block.h"
#include "settings_movie_run.h"

using namespace testsupport;
using namespace settingse2e;

namespace {

bool IsIniFile(const std::string& path) {
    return path.size() >= 4 && _stricmp(path.c_str() + path.size() - 4, ".ini") == 0;
}

}  // namespace

// The loader deletes the settings file before the host window exists; while the movie plays the
// temporary directory holds the working directory alone, and no settings file is in it.
TEST(SettingsFile, IsGoneFromTheTemporaryDirectoryWhileTheMovieRuns) {
    SettingsRun run("inigone", "[Settings]\nPassword=0\nSound=1\nQuenby Screen Name=ini gone\n");
    run.Start();
    const StandinReport report = run.WaitUntilShown();
    ASSERT_NE(report.Parent(), nullptr) << "the movie was not shown";
    const std::vector<std::string> tree = ListTree(run.App().TempPath());
    ASSERT_FALSE(tree.empty());
    for (const std::string& entry : tree) {
        EXPECT_TRUE(entry == "Obl_Rt" || entry.compare(0, 7, "Obl_Rt\\") == 0) << entry;
        EXPECT_FALSE(IsIniFile(entry)) << entry;
    }
    EXPECT_EQ(run.CloseAndWait(), 0);
    EXPECT_TRUE(ListTree(run.App().TempPath()).empty());
}

struct SettingsValuesCase {
    const char* Name;
    const char* Settings;                             // lines after "[Settings]\nPassword=0\nSound=1\n"
    std::vector<std::pair<const char*, const char*>> UserValues;  // per-user registry values
    const char* Caption;                              // nullptr: the program's name without ".exe"
    uint8_t AnyKeyExits;                              // NOT KeyInteraction
    uint8_t MouseClickExits;                          // NOT Interaction
    uint8_t SuppressRightClickMenu;                   // NOT RightClickMenu
};

void PrintTo(const SettingsValuesCase& row, std::ostream* out) { *out << row.Name; }

const SettingsValuesCase kValueRows[] = {
    {"ScreenNameAndFixedOptions",
     "Quenby Screen Name=Harbour Tour\nInteraction=1\nKeyInteraction=1\nRightClickMenu=1\n",
     {},
     "Harbour Tour", 0, 0, 0},
    // Keys missing: the caption is the program's name, the choices are the user's, and a user
    // who never chose gets a click that ends the movie, keys that play, and no right-click menu.
    {"MissingKeysAndNoUserValues", "", {}, nullptr, 0, 1, 1},
    {"UserValuesDecideWhatIsLeftToTheUser",
     "Interaction=2\nKeyInteraction=7\nRightClickMenu=2\n",
     {{"MouseExit", "0"}, {"AnyKeyExit", "0x1"}, {"DisplayRightClickMenu", "1"}},
     nullptr, 1, 0, 0},
    {"FixedOptionsIgnoreUserValues",
     "Interaction=0\nKeyInteraction=1\nRightClickMenu=0\n",
     {{"MouseExit", "0"}, {"AnyKeyExit", "1"}, {"DisplayRightClickMenu", "1"}},
     nullptr, 0, 1, 1},
};

class SettingsValues : public ::testing::TestWithParam<SettingsValuesCase> {};

TEST_P(SettingsValues, ReachTheHostAndTheSharedBlock) {
    const SettingsValuesCase& row = GetParam();
    SettingsRun run("values", std::string("[Settings]\nPassword=0\nSound=1\n") + row.Settings);
    for (const auto& [name, value] : row.UserValues) SetPelluxValue(run.App().Section(), name, value);
    const std::string caption = row.Caption ? row.Caption : run.App().Section();

    run.Start();
    const StandinReport report = run.WaitUntilShown();
    ASSERT_NE(report.Parent(), nullptr) << "the movie was not shown";
    const HWND host = HostWindowOf(run.Engine().Id());
    ASSERT_NE(host, nullptr);
    EXPECT_EQ(WindowTextOf(host), caption);
    // The projector window is told the same name before it is captured.
    EXPECT_EQ(WindowTextOf(report.Window()), caption);
    // The supervision loop writes this byte on each of its passes, the first of which may come
    // after the movie is shown.
    const StandinReport supervised = WaitForStandinReport(
        run.ReportPath(),
        [&](const StandinReport& r) { return r.BlockByte(offsetof(SharedControlBlock, AnyKeyExits)) == row.AnyKeyExits; },
        5000);
    EXPECT_EQ(supervised.BlockByte(offsetof(SharedControlBlock, AnyKeyExits)), row.AnyKeyExits);
    EXPECT_EQ(report.BlockByte(offsetof(SharedControlBlock, MouseClickExits)), row.MouseClickExits);
    EXPECT_EQ(report.BlockByte(offsetof(SharedControlBlock, SuppressRightClickMenu)), row.SuppressRightClickMenu);
    EXPECT_EQ(run.CloseAndWait(), 0);
}

INSTANTIATE_TEST_SUITE_P(Rows, SettingsValues, ::testing::ValuesIn(kValueRows),
                         [](const auto& info) { return std::string(info.param.Name); });
