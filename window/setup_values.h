// The Setup dialog's five check boxes: which option each shows, what its check mark means, and the
// per-user values written when the dialog closes. Portable.
#pragma once

#include <array>

#include "window/setup_layout.h"

class UserSettingsStore;

struct SetupCheckBox {
    int Id;
    OptionSwitch SetupOptions::*Option;
    // The check mark shows the option's value, or its opposite ("Sound mute" shows the sound off).
    bool CheckedIsValue;
};

// Ids 10 "Mouse interaction", 11 "Display right-click menu", 12 "Keyboard interaction",
// 13 "Sound mute", 14 "Midi mute".
extern const std::array<SetupCheckBox, 5> kSetupCheckBoxes;
inline constexpr int kMouseInteractionBoxId = 10;
inline constexpr int kRightClickMenuBoxId = 11;

const SetupCheckBox* FindSetupCheckBox(int id);
bool SetupBoxChecked(const SetupCheckBox& box, const SetupOptions& options);
// A click: the option follows the box's new check state.
void SetSetupBoxChecked(const SetupCheckBox& box, bool checked, SetupOptions& options);

// The save step: for "MouseExit", "AnyKeyExit", "Mute", "MidiMute", "DisplayRightClickMenu" in
// this order, compares the stored value (as the engine reads it, its default when missing) with
// the new one, then writes all five, hidden boxes included. True when a stored value differed.
bool SaveSetupValues(UserSettingsStore* store, const SetupOptions& options);
