#include "window/setup_values.h"

#include "payload/user_settings_values.h"

const std::array<SetupCheckBox, 5> kSetupCheckBoxes = {{
    {kMouseInteractionBoxId, &SetupOptions::Interaction, true},
    {kRightClickMenuBoxId, &SetupOptions::RightClickMenu, true},
    {12, &SetupOptions::KeyInteraction, true},
    {13, &SetupOptions::Sound, false},  // "Sound" on means audible
    {14, &SetupOptions::Midi, true},    // "Midi" on means muted
}};

const SetupCheckBox* FindSetupCheckBox(int id) {
    for (const SetupCheckBox& box : kSetupCheckBoxes)
        if (box.Id == id) return &box;
    return nullptr;
}

bool SetupBoxChecked(const SetupCheckBox& box, const SetupOptions& options) {
    return (options.*box.Option).Value == box.CheckedIsValue;
}

void SetSetupBoxChecked(const SetupCheckBox& box, bool checked, SetupOptions& options) {
    (options.*box.Option).Value = checked == box.CheckedIsValue;
}

namespace {

struct SavedValue {
    const char* Name;
    bool Value;
    bool Missing;  // what the engine reads when the value is not stored (MouseExit: 1)
};

}  // namespace

bool SaveSetupValues(UserSettingsStore* store, const SetupOptions& options) {
    const SavedValue values[] = {
        {kMouseExitValue, !options.Interaction.Value, true},
        {kAnyKeyExitValue, !options.KeyInteraction.Value, false},
        {kMuteValue, !options.Sound.Value, false},
        {kMidiMuteValue, options.Midi.Value, false},
        {kDisplayRightClickValue, options.RightClickMenu.Value, false},
    };
    // A value not stored yet counts as what the engine read for it, so a user's first choice is a
    // change like any later one.
    bool changed = false;
    for (const SavedValue& value : values)
        if (ReadUserBoolean(store, value.Name, value.Missing) != value.Value) changed = true;
    for (const SavedValue& value : values) WriteUserBoolean(store, value.Name, value.Value);
    return changed;
}
