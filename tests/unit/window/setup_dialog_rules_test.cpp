#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>

#include "payload/user_settings_store.h"
#include "window/setup_layout.h"
#include "window/setup_values.h"

namespace {

struct Point {
    int32_t X, Y;
    bool operator==(const Point& o) const { return X == o.X && Y == o.Y; }
};

std::ostream& operator<<(std::ostream& out, const Point& p) { return out << '(' << p.X << ", " << p.Y << ')'; }

// The template's places, in pixels of some dialog: left column 11, right column 146, rows 34, 45, 56.
SetupOptions TemplatePlaces() {
    SetupOptions o;
    auto place = [](OptionSwitch& option, int32_t x, int32_t y) {
        option.CheckBoxX = x;
        option.CheckBoxY = y;
    };
    place(o.Interaction, 11, 34);
    place(o.RightClickMenu, 11, 45);
    place(o.KeyInteraction, 11, 56);
    place(o.Sound, 146, 34);
    place(o.Midi, 146, 45);
    return o;
}

Point At(const OptionSwitch& option) { return {option.CheckBoxX, option.CheckBoxY}; }

// User-choosable flags in the order Interaction, RightClickMenu, KeyInteraction, Sound, Midi, and
// where the visible boxes end up.
struct LayoutCase {
    const char* Name;
    bool Interaction, RightClickMenu, KeyInteraction, Sound, Midi;
    std::map<std::string, Point> Visible;
};

TEST(SetupLayout, VisibleBoxesCloseTheGaps) {
    const LayoutCase cases[] = {
        {"all five", true, true, true, true, true,
         {{"Interaction", {11, 34}}, {"RightClickMenu", {11, 45}}, {"KeyInteraction", {11, 56}},
          {"Sound", {146, 34}}, {"Midi", {146, 45}}}},
        {"only the sound boxes: left column, first two rows", false, false, false, true, true,
         {{"Sound", {11, 34}}, {"Midi", {11, 45}}}},
        {"only MIDI: left column, first row", false, false, false, false, true, {{"Midi", {11, 34}}}},
        {"interaction fixed: the other two move up a row", false, true, true, false, false,
         {{"RightClickMenu", {11, 34}}, {"KeyInteraction", {11, 45}}}},
        {"right-click fixed: keyboard takes its row", true, false, true, true, true,
         {{"Interaction", {11, 34}}, {"KeyInteraction", {11, 45}}, {"Sound", {146, 34}}, {"Midi", {146, 45}}}},
        {"only keyboard: first row", false, false, true, false, false, {{"KeyInteraction", {11, 34}}}},
        {"sound fixed: MIDI moves up", true, true, true, false, true,
         {{"Interaction", {11, 34}}, {"RightClickMenu", {11, 45}}, {"KeyInteraction", {11, 56}},
          {"Midi", {146, 34}}}},
    };
    for (const LayoutCase& c : cases) {
        SetupOptions o = TemplatePlaces();
        o.Interaction.UserChoosable = c.Interaction;
        o.RightClickMenu.UserChoosable = c.RightClickMenu;
        o.KeyInteraction.UserChoosable = c.KeyInteraction;
        o.Sound.UserChoosable = c.Sound;
        o.Midi.UserChoosable = c.Midi;
        CloseSetupLayoutGaps(o);
        const std::map<std::string, const OptionSwitch*> records = {
            {"Interaction", &o.Interaction}, {"RightClickMenu", &o.RightClickMenu},
            {"KeyInteraction", &o.KeyInteraction}, {"Sound", &o.Sound}, {"Midi", &o.Midi}};
        for (const auto& [name, record] : records) {
            if (!record->UserChoosable) continue;
            ASSERT_TRUE(c.Visible.count(name)) << c.Name << ": " << name;
            EXPECT_EQ(At(*record), c.Visible.at(name)) << c.Name << ": " << name;
        }
        // No two visible boxes share a place.
        for (const auto& [a, pa] : c.Visible)
            for (const auto& [b, pb] : c.Visible)
                if (a < b) {
                    EXPECT_FALSE(pa == pb) << c.Name << ": " << a << " and " << b;
                }
    }
}

class MapStore : public UserSettingsStore {
public:
    std::map<std::string, std::string> Values;
    std::optional<std::string> ReadString(const std::string& name) override {
        auto found = Values.find(name);
        if (found == Values.end()) return std::nullopt;
        return found->second;
    }
    void WriteString(const std::string& name, const std::string& value) override { Values[name] = value; }
};

TEST(SetupValues, CheckMarksFollowTheOptionsSoundShownAsMuted) {
    SetupOptions o;
    o.Interaction.Value = true;
    o.Sound.Value = true;  // audible
    o.Midi.Value = true;   // muted
    EXPECT_TRUE(SetupBoxChecked(*FindSetupCheckBox(10), o));
    EXPECT_FALSE(SetupBoxChecked(*FindSetupCheckBox(11), o));
    EXPECT_FALSE(SetupBoxChecked(*FindSetupCheckBox(12), o));
    EXPECT_FALSE(SetupBoxChecked(*FindSetupCheckBox(13), o));  // "Sound mute" unchecked: audible
    EXPECT_TRUE(SetupBoxChecked(*FindSetupCheckBox(14), o));
    SetSetupBoxChecked(*FindSetupCheckBox(13), true, o);
    EXPECT_FALSE(o.Sound.Value);
    SetSetupBoxChecked(*FindSetupCheckBox(12), true, o);
    EXPECT_TRUE(o.KeyInteraction.Value);
    EXPECT_EQ(FindSetupCheckBox(15), nullptr);
}

TEST(SetupValues, SaveWritesAllFiveAndReportsADifference) {
    SetupOptions o;
    o.Interaction.Value = true;    // MouseExit 0
    o.KeyInteraction.Value = false;  // AnyKeyExit 1
    o.Sound.Value = false;         // Mute 1
    o.Midi.Value = false;          // MidiMute 0
    o.RightClickMenu.Value = true;   // DisplayRightClickMenu 1
    const std::map<std::string, std::string> written = {
        {"MouseExit", "0"}, {"AnyKeyExit", "1"}, {"Mute", "1"}, {"MidiMute", "0"}, {"DisplayRightClickMenu", "1"}};

    MapStore same;
    same.Values = {{"MouseExit", "0x0"}, {"AnyKeyExit", "7"}, {"Mute", "1"}, {"MidiMute", "junk"},
                   {"DisplayRightClickMenu", "1"}};
    EXPECT_FALSE(SaveSetupValues(&same, o));  // "7" is true, "junk" reads as its default 0
    EXPECT_EQ(same.Values, written);

    MapStore different;
    different.Values = {{"DisplayRightClickMenu", "0"}};
    EXPECT_TRUE(SaveSetupValues(&different, o));
    EXPECT_EQ(different.Values, written);

    // Nothing stored: what the engine read were the defaults (MouseExit 1, the others 0).
    MapStore empty;
    EXPECT_TRUE(SaveSetupValues(&empty, o));
    EXPECT_EQ(empty.Values, written);
    SetupOptions defaults;  // as a user who never chose: no mouse interaction, keys, sound on
    defaults.KeyInteraction.Value = true;
    defaults.Sound.Value = true;
    MapStore untouched;
    EXPECT_FALSE(SaveSetupValues(&untouched, defaults));
    EXPECT_EQ(untouched.Values, (std::map<std::string, std::string>{{"MouseExit", "1"}, {"AnyKeyExit", "0"},
                                                                   {"Mute", "0"}, {"MidiMute", "0"},
                                                                   {"DisplayRightClickMenu", "0"}}));
}

}  // namespace
