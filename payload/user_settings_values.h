// Names and reading rules of the per-user values in a distributable's registry section.
#pragma once

#include <string>

class UserSettingsStore;

extern const char kTempDirectoryValue[];     // "Quenby Temp Directory"
extern const char kMouseExitValue[];         // "MouseExit": Interaction is its opposite
extern const char kAnyKeyExitValue[];        // "AnyKeyExit": KeyInteraction is its opposite
extern const char kMuteValue[];              // "Mute": Sound is its opposite
extern const char kMidiMuteValue[];          // "MidiMute": Midi (muted) is the value itself
extern const char kDisplayRightClickValue[]; // "DisplayRightClickMenu"

// A boolean value: a number (decimal or "0x" hexadecimal), non-zero meaning true; a missing or
// unreadable value, or no store, gives defaultValue.
bool ReadUserBoolean(UserSettingsStore* store, const std::string& valueName, bool defaultValue);
// Written as "0" or "1".
void WriteUserBoolean(UserSettingsStore* store, const std::string& valueName, bool value);

// The base of the temporary files: the per-user "Quenby Temp Directory" or else the system's
// temporary path, with a final "\" unless it is empty (no value and no system path).
std::string TemporaryBase(UserSettingsStore* store, const std::string& systemTempPath);
