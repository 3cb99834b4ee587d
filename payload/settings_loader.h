// The settings loader: the payload's settings file and, for the options the author leaves to the
// end user, the per-user values. Portable; the reader and the file system come in as interfaces.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "payload/file_placement.h"
#include "payload/options.h"
#include "payload/placement_file_system.h"
#include "payload/user_settings_values.h"  // TemporaryBase, the per-user value names

class SettingsFile;
class TVelExeAppender;
class UserSettingsStore;

// The payload session that holds a distributable's files.
inline constexpr char kPayloadSessionName[] = "Session1";

extern const char kDefaultPasswordLabel[];  // "Please enter password:"
extern const char kDefaultWrongPassword[];  // "Wrong password!"

// Before the file is read: "Sound", "Midi", "Interaction", "KeyInteraction" user-choosable and
// enabled; "RightClickMenu" user-choosable and not enabled.
void MarkUserChoosableOptions(Options& places);

// Reads every key of the settings file into places, in the loader's fixed order.
// defaultScreenName is the registry section name.
void ReadSettingsFile(const SettingsFile& file, const std::string& defaultScreenName, Options& places);

// The registry step: user-choosable options take their per-user values (store may be null: the
// defaults apply); then the right-click-menu check box is enabled only with mouse interaction.
void ApplyUserSettings(UserSettingsStore* store, Options& places);

// "MidiLoopTimes" 0 means without limit; the main object stores this after its first load.
constexpr int32_t kUnlimitedMidiLoops = 2147483647;
int32_t EffectiveMidiLoopTimes(int32_t midiLoopTimes);

// Runs the settings pass of the payload session into targetDir (with its final "\"), answering
// each file with the placement policy.
using SettingsExtraction = std::function<void(const std::string& targetDir)>;

// The whole loader: settings pass into tempDir, reading and deleting the settings file, then the
// registry step. The registry step runs and the extracted settings file is deleted also when
// something failed; the failure is then rethrown.
void LoadSettingsWith(const SettingsExtraction& extractSettings, FilePlacement& placement, PlacementFileSystem& fs,
                      const std::string& tempDir, const std::string& defaultScreenName, UserSettingsStore* store,
                      Options& places);

// LoadSettingsWith over the payload reader: the reader reads the running program into tempDir.
// The reader's OnFile is kept when the owner installed one (the engine routes it to the placement
// policy with its slot and MIDI option); otherwise the placement policy answers directly. fs
// becomes the placement's file system for the later passes too.
void LoadSettings(TVelExeAppender& reader, FilePlacement& placement, PlacementFileSystem& fs,
                  const std::string& tempDir, const std::string& defaultScreenName, UserSettingsStore* store,
                  Options& places);
