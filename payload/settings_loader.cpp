#include "payload/settings_loader.h"

#include <algorithm>
#include <exception>

#include "payload/settings_file.h"
#include "payload/settings_keys.h"
#include "payload/user_settings_values.h"
#include "payload/velexe_appender.h"

const char kDefaultPasswordLabel[] = "Please enter password:";
const char kDefaultWrongPassword[] = "Wrong password!";

namespace {

// 0 sets off, 1 sets on, anything else leaves the option as it was.
void ReadSwitch(const SettingsFile& file, const char* key, int32_t defaultValue, OptionSwitch& option) {
    const int32_t value = file.ReadInteger(kSettingsSection, key, defaultValue);
    if (value == 0 || value == 1) option.Value = value == 1;
}

// 0 or 1 fixes the option; anything else leaves it to the end user.
void ReadUserChoosableSwitch(const SettingsFile& file, const char* key, int32_t defaultValue, OptionSwitch& option) {
    const int32_t value = file.ReadInteger(kSettingsSection, key, defaultValue);
    if (value == 0 || value == 1) {
        option.Value = value == 1;
        option.UserChoosable = false;
    } else {
        option.UserChoosable = true;
    }
}

int32_t ReadNumber(const SettingsFile& file, const char* key, int32_t defaultValue) {
    return file.ReadInteger(kSettingsSection, key, defaultValue);
}

std::string ReadText(const SettingsFile& file, const char* key, const std::string& defaultValue) {
    return file.ReadString(kSettingsSection, key, defaultValue);
}

void ReadRightMenuDeleteItems(const SettingsFile& file, Options& places) {
    places.RightMenuDeleteItems.fill(0);
    const int32_t count = file.ReadInteger(kRightMenuDeleteItemsSection, kCountKey, 0);
    // Entries past the table are never stored, so the reading stops there (a huge Count would
    // otherwise keep the loader busy for nothing).
    const int32_t stored = std::min<int32_t>(count, kRightMenuDeleteItemCount);
    for (int32_t i = 0; i < stored; ++i)
        places.RightMenuDeleteItems[static_cast<std::size_t>(i)] =
            file.ReadInteger(kRightMenuDeleteItemsSection, std::to_string(i), 0);
}

}  // namespace

void MarkUserChoosableOptions(Options& places) {
    for (OptionSwitch* option : {&places.Sound, &places.Midi, &places.Interaction, &places.KeyInteraction}) {
        option->UserChoosable = true;
        option->Enabled = true;
    }
    places.RightClickMenu.UserChoosable = true;
    places.RightClickMenu.Enabled = false;
}

void ReadSettingsFile(const SettingsFile& file, const std::string& defaultScreenName, Options& places) {
    places.Major = file.ReadInteger(kProjectorVersionSection, kMajorKey, 4);
    places.BeforeShow = file.ReadString(kEngineCommandsSection, kBeforeShowKey, "");
    places.ScreenName = ReadText(file, kScreenNameKey, defaultScreenName);
    places.Password = ReadNumber(file, kPasswordKey, 1);
    places.AlignmentX = ReadNumber(file, kAlignmentXKey, 0);
    places.PWEditLabel = ReadText(file, kPWEditLabelKey, kDefaultPasswordLabel);
    places.PWrong = ReadText(file, kPWrongKey, kDefaultWrongPassword);
    places.HideCursor = ReadNumber(file, kHideCursorKey, 0);
    ReadRightMenuDeleteItems(file, places);
    places.CurrentDir = ReadNumber(file, kCurrentDirKey, 0);
    ReadSwitch(file, kDLLKey, 1, places.DLL);
    ReadSwitch(file, kDisableW95KeyKey, 1, places.DisableW95Key);
    ReadSwitch(file, kDisableClickForegroundKey, 0, places.DisableClickForeground);
    ReadSwitch(file, kDisableScreenSaverKey, 1, places.DisableScreenSaver);
    ReadSwitch(file, kFullScreenKey, 0, places.FullScreen);
    ReadSwitch(file, kCustomSizeKey, 0, places.CustomSize);
    ReadSwitch(file, kMaintainRatioKey, 1, places.MaintainRatio);
    // Starting in full-screen mode needs a window mode that has one: a custom size, or no full screen.
    const int32_t startInFullscreen = ReadNumber(file, kStartInFullscreenModeKey, 0);
    if (startInFullscreen == 0)
        places.StartInFullscreenMode.Value = false;
    else if (startInFullscreen == 1 && (places.CustomSize.Value || !places.FullScreen.Value))
        places.StartInFullscreenMode.Value = true;
    ReadSwitch(file, kAllowResizeKey, 1, places.AllowResize);
    ReadSwitch(file, kExitOnESCKey, 1, places.ExitOnESC);
    places.PassESC = ReadNumber(file, kPassESCKey, 0);
    ReadSwitch(file, kAlwaysOnTopKey, 0, places.AlwaysOnTop);
    ReadSwitch(file, kNoTitleKey, 0, places.NoTitle);
    ReadSwitch(file, kNoBorderKey, 0, places.NoBorder);
    ReadSwitch(file, kDraggableKey, 0, places.Draggable);
    ReadSwitch(file, kSetupMenuKey, 0, places.SetupMenu);
    ReadSwitch(file, kCloseMenuKey, 1, places.CloseMenu);
    ReadSwitch(file, kMinimizeMenuKey, 0, places.MinimizeMenu);
    places.Left = ReadNumber(file, kLeftKey, 0);
    places.Top = ReadNumber(file, kTopKey, 0);
    places.Width = ReadNumber(file, kWidthKey, 640);
    places.Height = ReadNumber(file, kHeightKey, 480);
    places.AlignmentV = ReadNumber(file, kAlignmentVKey, 2);
    places.AlignmentH = ReadNumber(file, kAlignmentHKey, 2);
    places.MidiLoopTimes = ReadNumber(file, kMidiLoopTimesKey, 0);
    ReadUserChoosableSwitch(file, kMidiKey, 2, places.Midi);
    ReadUserChoosableSwitch(file, kMidiLoopKey, 0, places.MidiLoop);
    ReadUserChoosableSwitch(file, kSoundKey, 2, places.Sound);
    ReadUserChoosableSwitch(file, kInteractionKey, 2, places.Interaction);
    ReadUserChoosableSwitch(file, kRightClickMenuKey, 2, places.RightClickMenu);
    ReadUserChoosableSwitch(file, kKeyInteractionKey, 2, places.KeyInteraction);
}

void ApplyUserSettings(UserSettingsStore* store, Options& places) {
    if (places.Interaction.UserChoosable) places.Interaction.Value = !ReadUserBoolean(store, kMouseExitValue, true);
    if (places.Sound.UserChoosable) places.Sound.Value = !ReadUserBoolean(store, kMuteValue, false);
    if (places.Midi.UserChoosable) places.Midi.Value = ReadUserBoolean(store, kMidiMuteValue, false);
    if (places.RightClickMenu.UserChoosable)
        places.RightClickMenu.Value = ReadUserBoolean(store, kDisplayRightClickValue, false);
    if (places.KeyInteraction.UserChoosable)
        places.KeyInteraction.Value = !ReadUserBoolean(store, kAnyKeyExitValue, false);
    places.RightClickMenu.Enabled = places.Interaction.Value;
}

int32_t EffectiveMidiLoopTimes(int32_t midiLoopTimes) {
    return midiLoopTimes == 0 ? kUnlimitedMidiLoops : midiLoopTimes;
}

void LoadSettingsWith(const SettingsExtraction& extractSettings, FilePlacement& placement, PlacementFileSystem& fs,
                      const std::string& tempDir, const std::string& defaultScreenName, UserSettingsStore* store,
                      Options& places) {
    placement.SettingsPass = true;
    std::string targetDir = tempDir;
    if (targetDir.empty() || targetDir.back() != '\\') targetDir += '\\';
    placement.SettingsFileName.clear();
    placement.SettingsFilesWritten.clear();

    std::exception_ptr failure;
    try {
        extractSettings(targetDir);
        if (!placement.SettingsFileName.empty()) {
            MarkUserChoosableOptions(places);
            ReadSettingsFile(SettingsFile(fs.ReadTextFile(targetDir + placement.SettingsFileName)), defaultScreenName,
                             places);
        }
    } catch (...) {
        failure = std::current_exception();
    }
    // The settings file (it holds the password hash) never outlives the loader, also when the
    // extraction failed after writing it.
    for (const std::string& name : placement.SettingsFilesWritten) fs.RemoveFile(targetDir + name);
    placement.SettingsFilesWritten.clear();
    placement.SettingsPass = false;
    ApplyUserSettings(store, places);
    if (failure) std::rethrow_exception(failure);
}

void LoadSettings(TVelExeAppender& reader, FilePlacement& placement, PlacementFileSystem& fs,
                  const std::string& tempDir, const std::string& defaultScreenName, UserSettingsStore* store,
                  Options& places) {
    placement.FileSystem = &fs;
    if (!reader.OnFile) {
        // Only the settings branch of the policy runs in this pass: slot and MIDI do not matter.
        reader.OnFile = [&placement](TVelExeAppender& sender, std::string& name, std::string& directory, bool& skip) {
            placement.HandleExtractedFile(name, directory, skip, sender.CurrentPlacement, sender.TargetDir, 0, false);
        };
    }
    const SettingsExtraction extract = [&reader](const std::string& targetDir) {
        reader.SourceIsSelf = true;
        reader.TargetDir = targetDir;
        reader.ExtractSession(kPayloadSessionName);
    };
    LoadSettingsWith(extract, placement, fs, tempDir, defaultScreenName, store, places);
}
