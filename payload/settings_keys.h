// Section and key names of the settings file, spelled once for the loader and the author check.
#pragma once

#include <vector>

inline constexpr char kSettingsSection[] = "Settings";
inline constexpr char kProjectorVersionSection[] = "ProjectorVersion";
inline constexpr char kEngineCommandsSection[] = "EngineCommands";
inline constexpr char kRightMenuDeleteItemsSection[] = "RightMenuDeleteItems";

inline constexpr char kMajorKey[] = "Major";
inline constexpr char kBeforeShowKey[] = "BeforeShow";
inline constexpr char kCountKey[] = "Count";

inline constexpr char kScreenNameKey[] = "Quenby Screen Name";
inline constexpr char kPasswordKey[] = "Password";
inline constexpr char kAlignmentXKey[] = "AlignmentX";
inline constexpr char kPWEditLabelKey[] = "PWEditLabel";
inline constexpr char kPWrongKey[] = "PWrong";
inline constexpr char kHideCursorKey[] = "HideCursor";
inline constexpr char kCurrentDirKey[] = "CurrentDir";
inline constexpr char kDLLKey[] = "DLL";
inline constexpr char kDisableW95KeyKey[] = "DisableW95Key";
inline constexpr char kDisableClickForegroundKey[] = "DisableClickForeground";
inline constexpr char kDisableScreenSaverKey[] = "DisableScreenSaver";
inline constexpr char kFullScreenKey[] = "FullScreen";
inline constexpr char kCustomSizeKey[] = "CustomSize";
inline constexpr char kMaintainRatioKey[] = "MaintainRatio";
inline constexpr char kStartInFullscreenModeKey[] = "StartInFullscreenMode";
inline constexpr char kAllowResizeKey[] = "AllowResize";
inline constexpr char kExitOnESCKey[] = "ExitOnESC";
inline constexpr char kPassESCKey[] = "PassESC";
inline constexpr char kAlwaysOnTopKey[] = "AlwaysOnTop";
inline constexpr char kNoTitleKey[] = "NoTitle";
inline constexpr char kNoBorderKey[] = "NoBorder";
inline constexpr char kDraggableKey[] = "Draggable";
inline constexpr char kSetupMenuKey[] = "SetupMenu";
inline constexpr char kCloseMenuKey[] = "CloseMenu";
inline constexpr char kMinimizeMenuKey[] = "MinimizeMenu";
inline constexpr char kLeftKey[] = "Left";
inline constexpr char kTopKey[] = "Top";
inline constexpr char kWidthKey[] = "Width";
inline constexpr char kHeightKey[] = "Height";
inline constexpr char kAlignmentVKey[] = "AlignmentV";
inline constexpr char kAlignmentHKey[] = "AlignmentH";
inline constexpr char kMidiLoopTimesKey[] = "MidiLoopTimes";
inline constexpr char kMidiKey[] = "Midi";
inline constexpr char kMidiLoopKey[] = "MidiLoop";
inline constexpr char kSoundKey[] = "Sound";
inline constexpr char kInteractionKey[] = "Interaction";
inline constexpr char kRightClickMenuKey[] = "RightClickMenu";
inline constexpr char kKeyInteractionKey[] = "KeyInteraction";

// How the loader reads a key.
enum class SettingsKeyKind {
    Switch,          // 0 off, 1 on, anything else ignored
    ChoosableSwitch, // 0 or 1 fixed, anything else leaves it to the end user
    Integer,
    Text,
};

struct SettingsKeyInfo {
    const char* Section;
    const char* Key;
    SettingsKeyKind Kind;
};

// Every fixed key the loader reads ("RightMenuDeleteItems" entries "0", "1", ... are not listed).
const std::vector<SettingsKeyInfo>& KnownSettingsKeys();
