// Every option of a distributable, named by its settings key. Portable: no <windows.h>.
#pragma once

#include <array>
#include <cstdint>
#include <string>

// One on/off option. The check-box position and handle are used only by the Setup dialog's copies.
struct OptionSwitch {
    bool UserChoosable = false;  // the Setup dialog offers it and its value comes from the registry
    bool Enabled = false;        // the Setup dialog's check box is enabled
    bool Value = false;
    int32_t CheckBoxX = 0;
    int32_t CheckBoxY = 0;
    uintptr_t CheckBoxHandle = 0;
};

constexpr int kRightMenuDeleteItemCount = 50;

// Starts all zero, as the main object does before the settings are loaded.
struct Options {
    // Switch keys of section "Settings".
    OptionSwitch DisableW95Key, DisableScreenSaver, DisableClickForeground, FullScreen, CustomSize,
        StartInFullscreenMode, MaintainRatio, AllowResize, ExitOnESC, AlwaysOnTop, NoTitle, NoBorder,
        Draggable, SetupMenu, CloseMenu, MinimizeMenu, DLL;
    // User-choosable switches. "Sound" on means audible; "Midi" on means muted.
    OptionSwitch Sound, Midi, Interaction, RightClickMenu, KeyInteraction, MidiLoop;

    int32_t Major = 0;                // "ProjectorVersion"
    std::string BeforeShow;           // "EngineCommands"
    std::string ScreenName;           // "Quenby Screen Name"
    int32_t Password = 0;
    int32_t AlignmentX = 0;           // the password hash
    std::string PWEditLabel;
    std::string PWrong;
    int32_t HideCursor = 0;
    std::array<int32_t, kRightMenuDeleteItemCount> RightMenuDeleteItems{};
    int32_t CurrentDir = 0;
    int32_t PassESC = 0;
    // The host's outer rectangle: loaded here, then kept in step with the window (WM_MOVE, WM_SIZE).
    int32_t Left = 0, Top = 0, Width = 0, Height = 0;
    int32_t AlignmentV = 0, AlignmentH = 0;
    int32_t MidiLoopTimes = 0;
};
