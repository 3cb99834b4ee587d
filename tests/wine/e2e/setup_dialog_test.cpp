// The Setup dialog of the real engine: alone with "/C", and from the Setup command while the
// movie runs, where a change restarts the engine with the new per-user values.
#include <gtest/gtest.h>

#include <cstddef>
#include <algorithm>
#include <map>

#include "engine/shared_control_block.h"
#include "engine_dialogs.h"
#include "settings_movie_run.h"

using namespace testsupport;
using namespace settingse2e;
using namespace enginedialogs;

namespace {

const char* const kUserValueNames[] = {"MouseExit", "AnyKeyExit", "Mute", "MidiMute", "DisplayRightClickMenu"};

std::map<std::string, std::string> UserValues(const std::string& section) {
    std::map<std::string, std::string> values;
    for (const char* name : kUserValueNames) values[name] = PelluxValue(section, name);
    return values;
}

bool SamePlace(const BoxState& a, const BoxState& b) { return a.Place.x == b.Place.x && a.Place.y == b.Place.y; }

// Runs "/C" and waits for the dialog.
struct ConfigurationRun {
    explicit ConfigurationRun(const std::string& settings, const std::string& argument = "/C")
        : Run("setup", settings) {
        Engine = Run.App().Start({{"STANDIN_REPORT", Run.ReportPath()}}, argument);
    }
    SettingsRun Run;
    std::unique_ptr<ChildProcess> Engine;
};

TEST(SetupAlone, ShowsTheUsersChoicesAndSavesAChange) {
    ConfigurationRun run("[Settings]\nPassword=0\nQuenby Screen Name=Harbour Tour\n");
    const std::string section = run.Run.App().Section();
    // Interaction on, right-click menu shown, keys end the movie, sound muted, MIDI audible.
    SetPelluxValue(section, "MouseExit", "0");
    SetPelluxValue(section, "DisplayRightClickMenu", "1");
    SetPelluxValue(section, "AnyKeyExit", "1");
    SetPelluxValue(section, "Mute", "0x1");
    const HWND dialog = WaitForSetupDialog(run.Engine->Id());
    ASSERT_NE(dialog, nullptr);

    EXPECT_EQ(WindowTextOf(dialog), "Harbour Tour - Setup");
    EXPECT_EQ(WindowTextOf(GetDlgItem(dialog, 5)), "v.1.1d");
    EXPECT_FALSE(WindowTextOf(GetDlgItem(dialog, 3)).empty());
    EXPECT_EQ(GetDlgItem(dialog, 1), nullptr) << "the icon placeholder is replaced by the drawn icon";
    // Nothing is extracted: the settings file was read and deleted again.
    EXPECT_TRUE(ListTree(run.Run.App().TempPath()).empty());

    const struct {
        int Id;
        bool Enabled, Checked;
    } shown[] = {{kMouseInteractionBox, true, true}, {kRightClickMenuBox, true, true},
                 {kKeyboardInteractionBox, true, false}, {kSoundMuteBox, true, true}, {kMidiMuteBox, true, false}};
    for (const auto& box : shown) {
        const BoxState state = ReadBox(dialog, box.Id);
        EXPECT_TRUE(state.Visible) << box.Id;
        EXPECT_EQ(state.Enabled, box.Enabled) << box.Id;
        EXPECT_EQ(state.Checked, box.Checked) << box.Id;
    }

    // Unchecking mouse interaction disables the right-click box at once; its check mark stays.
    ASSERT_TRUE(ToggleBox(dialog, kMouseInteractionBox));
    EXPECT_FALSE(ReadBox(dialog, kMouseInteractionBox).Checked);
    EXPECT_FALSE(ReadBox(dialog, kRightClickMenuBox).Enabled);
    EXPECT_TRUE(ReadBox(dialog, kRightClickMenuBox).Checked);
    ASSERT_TRUE(ToggleBox(dialog, kMidiMuteBox));

    PressCloseBox(dialog);
    EXPECT_EQ(run.Engine->WaitForExit(20000), 0);
    const std::map<std::string, std::string> expected = {{"MouseExit", "1"}, {"AnyKeyExit", "1"}, {"Mute", "1"},
                                                         {"MidiMute", "1"}, {"DisplayRightClickMenu", "1"}};
    EXPECT_EQ(UserValues(section), expected);
    EXPECT_FALSE(FileExists(run.Run.ReportPath())) << "the projector ran";
    EXPECT_TRUE(ListTree(run.Run.App().TempPath()).empty());
}

// Which boxes show for a few option rows, and where the visible ones go.
struct LayoutCase {
    const char* Name;
    const char* Settings;  // after "[Settings]\nPassword=0\n"
    const char* Argument;
    std::vector<int> Visible;
    std::map<std::string, std::string> Saved;  // closing untouched writes all five
};

// Test names stay the same from build to build (CTest finds them by name).
void PrintTo(const LayoutCase& row, std::ostream* out) { *out << row.Name; }

class SetupLayout : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(SetupLayout, ShowsTheChoosableBoxesWithoutGaps) {
    const LayoutCase& row = GetParam();
    ConfigurationRun run(std::string("[Settings]\nPassword=0\n") + row.Settings, row.Argument);
    const HWND dialog = WaitForSetupDialog(run.Engine->Id());
    ASSERT_NE(dialog, nullptr);
    std::map<int, BoxState> boxes;
    for (int id = kMouseInteractionBox; id <= kMidiMuteBox; ++id) {
        boxes[id] = ReadBox(dialog, id);
        const bool visible = std::find(row.Visible.begin(), row.Visible.end(), id) != row.Visible.end();
        EXPECT_EQ(boxes[id].Visible, visible) << id;
    }
    const std::string name = row.Name;
    if (name == "OnlySound") {
        // The sound boxes take the left column at the first two rows.
        EXPECT_TRUE(SamePlace(boxes[kSoundMuteBox], boxes[kMouseInteractionBox]));
        EXPECT_EQ(boxes[kMidiMuteBox].Place.x, boxes[kMouseInteractionBox].Place.x);
        EXPECT_GT(boxes[kMidiMuteBox].Place.y, boxes[kSoundMuteBox].Place.y);
    } else if (name == "InteractionFixed") {
        // Right-click menu up to the first row, keyboard to the second.
        EXPECT_TRUE(SamePlace(boxes[kRightClickMenuBox], boxes[kMouseInteractionBox]));
        EXPECT_EQ(boxes[kKeyboardInteractionBox].Place.x, boxes[kMouseInteractionBox].Place.x);
        EXPECT_EQ(boxes[kKeyboardInteractionBox].Place.y, boxes[kMidiMuteBox].Place.y);
    }
    PressCloseBox(dialog);
    EXPECT_EQ(run.Engine->WaitForExit(20000), 0);
    EXPECT_EQ(UserValues(run.Run.App().Section()), row.Saved);
}

const LayoutCase kLayoutRows[] = {
    {"OnlySound", "Interaction=1\nKeyInteraction=0\nRightClickMenu=0\n", "/c",
     {kSoundMuteBox, kMidiMuteBox},
     {{"MouseExit", "0"}, {"AnyKeyExit", "1"}, {"Mute", "0"}, {"MidiMute", "0"}, {"DisplayRightClickMenu", "0"}}},
    {"InteractionFixed", "Interaction=0\n", "/C",
     {kRightClickMenuBox, kKeyboardInteractionBox, kSoundMuteBox, kMidiMuteBox},
     {{"MouseExit", "1"}, {"AnyKeyExit", "0"}, {"Mute", "0"}, {"MidiMute", "0"}, {"DisplayRightClickMenu", "0"}}},
    {"AllFixed", "Interaction=1\nKeyInteraction=1\nRightClickMenu=1\nSound=0\nMidi=1\n", "/C",
     {},
     {{"MouseExit", "0"}, {"AnyKeyExit", "0"}, {"Mute", "1"}, {"MidiMute", "1"}, {"DisplayRightClickMenu", "1"}}},
};

INSTANTIATE_TEST_SUITE_P(Rows, SetupLayout, ::testing::ValuesIn(kLayoutRows),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(SetupAlone, AsksThePasswordFirstAndStillSavesWhenRefused) {
    ConfigurationRun run("[Settings]\nPassword=1\nAlignmentX=345795872\nSound=1\n");
    const HWND prompt = WaitForPasswordDialog(run.Engine->Id());
    ASSERT_NE(prompt, nullptr);
    Click(GetDlgItem(prompt, kPasswordCancel));
    EXPECT_EQ(run.Engine->WaitForExit(20000), 0);
    EXPECT_EQ(PelluxValue(run.Run.App().Section(), "Mute"), "0");  // "Sound=1": audible
}

// Command 130, as the popup menu and the movie's "setup" send it.
constexpr WPARAM kSetupCommand = 130;

bool MouseClickExits(const StandinReport& report) {
    return report.BlockByte(offsetof(SharedControlBlock, MouseClickExits)) == 1;
}

TEST(SetupFromTheMovie, AChangeRestartsTheEngineWithTheNewValue) {
    SettingsRun run("setuprun", "[Settings]\nPassword=0\nSound=1\nMidi=0\nKeyInteraction=1\nRightClickMenu=0\n");
    run.Start();
    const StandinReport first = run.WaitUntilShown();
    ASSERT_NE(first.Parent(), nullptr) << "the movie was not shown";
    ASSERT_TRUE(MouseClickExits(first)) << "a user who never chose has no mouse interaction";
    const HWND host = HostWindowOf(run.Engine().Id());
    PostMessageA(host, WM_COMMAND, kSetupCommand, 0);
    const HWND dialog = WaitForSetupDialog(run.Engine().Id());
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), host);
    EXPECT_TRUE(ReadBox(dialog, kMouseInteractionBox).Visible);
    EXPECT_FALSE(ReadBox(dialog, kMouseInteractionBox).Checked);
    ASSERT_TRUE(ToggleBox(dialog, kMouseInteractionBox));
    PressCloseBox(dialog);

    // The same process runs the engine again: a new projector reads the new value in the block.
    const StandinReport second = WaitForStandinReport(
        run.ReportPath(),
        [&](const StandinReport& r) {
            return r.Window() != first.Window() && r.Parent() != nullptr &&
                   r.BlockByte(offsetof(SharedControlBlock, MovieReady)) == 1;
        },
        30000);
    ASSERT_NE(second.Window(), first.Window()) << "the engine did not start again";
    EXPECT_FALSE(MouseClickExits(second));
    EXPECT_TRUE(run.Engine().Running());
    EXPECT_EQ(PelluxValue(run.App().Section(), "MouseExit"), "0");
    PostMessageA(second.Window(), WM_CLOSE, 0, 0);
    EXPECT_EQ(run.Engine().WaitForExit(20000), 0);
    EXPECT_TRUE(ListTree(run.App().TempPath()).empty());
}

TEST(SetupFromTheMovie, NoChangeKeepsTheMovieRunning) {
    SettingsRun run("setupkeep", "[Settings]\nPassword=0\nSound=1\n");
    run.Start();
    const StandinReport first = run.WaitUntilShown();
    ASSERT_NE(first.Parent(), nullptr) << "the movie was not shown";
    const HWND host = HostWindowOf(run.Engine().Id());
    PostMessageA(host, WM_COMMAND, kSetupCommand, 0);
    const HWND dialog = WaitForSetupDialog(run.Engine().Id());
    ASSERT_NE(dialog, nullptr);
    // A second Setup command while it is open only focuses it.
    PostMessageA(host, WM_COMMAND, kSetupCommand, 0);
    Sleep(500);
    EXPECT_EQ(WaitForSetupDialog(run.Engine().Id()), dialog);
    PressCloseBox(dialog);
    ASSERT_TRUE(WaitUntilGone(dialog));
    Sleep(1500);
    EXPECT_TRUE(IsWindow(first.Window())) << "the projector was closed";
    EXPECT_EQ(StandinReport::Read(run.ReportPath()).Window(), first.Window());
    EXPECT_EQ(run.CloseAndWait(), 0);
}

}  // namespace
