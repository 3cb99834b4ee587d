// The engine's main object: one per run. Owns the options, the run state and every object of the
// run; its methods are spread over the files of engine/ and window/ by the step they implement.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "commands/media_player.h"
#include "commands/midi_music.h"
#include "commands/sound_muting.h"
#include "commands/win32/win32_mci_calls.h"
#include "engine/win32/handles.h"
#include "payload/file_placement.h"
#include "payload/options.h"
#include "payload/velexe_appender.h"
#include "window/win32/host_window.h"

struct SharedControlBlock;
struct HookLibraryParts;
class UserSettingsStore;

class TfrmMain {
public:
    // commandLineFirstArgument: the first argument after the program name ("" when none).
    TfrmMain(const std::string& programPath, const std::string& commandLineFirstArgument);
    virtual ~TfrmMain();
    TfrmMain(const TfrmMain&) = delete;
    TfrmMain& operator=(const TfrmMain&) = delete;

    // --- Program entry and run sequence (engine/win32/tfrm_main.cpp, run_sequence.cpp)
    void HandleStart();      // WM_USER+1
    void RunSequence();
    void FreeMainObjects();  // frees the owned objects and destroys the host window

    // --- Steps of the run with files of their own
    bool AskPassword();      // true: go on (engine/win32/password_gate.cpp)
    void PrepareToolDirs();  // engine/win32/tool_folder_steps.cpp
    bool ShowSetupDialog();  // true: the options changed (window/win32/setup_dialog.cpp)

    // --- Settings (payload/win32/load_settings.cpp)
    void LoadSettings(Options& places);
    void HandleExtractedFile(std::string& name, std::string& directory, bool& skip);

    // --- Working directory and instance slot (engine/win32/working_directory.cpp)
    bool SelectWorkingDirectory();  // false: the mutex wait failed; throws "Can't create dir ..."
    void ReleaseWorkingDirectory();  // gives up the claim and removes the directory; once

    // --- Hook library and shared control block (engine/win32/hook_library.cpp)
    bool SetUpHookLibrary();
    void SetProjectorEnvironment();  // the four variables set before the start directory is known
    void SetProjectorPathEnvironment();  // the three variables naming the projector and its dirs
    void LookUpWebPageHandler();         // fills the block's web-page handler strings
    void TearDownHookLibrary();          // the cleanup's undoing of SetUpHookLibrary
    HookLibraryParts HookParts();        // references to the fields the hook step fills

    // --- Projector launch and capture (engine/win32/projector_launch.cpp, window_capture.cpp)
    bool LaunchProjector();  // false: CreateProcessA failed
    void RunBeforeShow();
    void CaptureProjectorWindow();

    // --- Supervision and cleanup (engine/win32/supervision.cpp, cleanup.cpp)
    void SupervisionLoop();
    void KeepOwnedPopupsOnTop();
    void Cleanup();

    // --- Host window procedure (window/win32/window_procedure.cpp)
    LRESULT WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    // --- Command channel (commands/win32/command_channel.cpp): the movie's WM_SETTEXT commands.
    // Returns 1 for a command or an accepted "dde:" request, else 0 (the text becomes the caption).
    LRESULT HandleSetText(WPARAM wParam, LPARAM lParam);

    // --- Program facts
    std::string ProgramPath;  // full path of the running program
    std::string ExeName;      // file name part of ProgramPath
    bool ConfigurationMode = false;  // first argument "/C"
    std::string RegistrySection;     // lower-case file name up to the first ".exe"
    UINT GlobalCloseMessage = 0, RunnerMessage = 0, ServerMessage = 0;

    // --- Owned objects
    Options Opt;
    TVelExeAppender Reader;
    FilePlacement Placement;  // what HandleExtractedFile decided: projector, library, lists
    std::unique_ptr<UserSettingsStore> UserSettings;  // HKCU\Software\Pellux\<section>
    HostWindow Host;

    // --- Working directory and slot
    std::string WorkDir;      // with its final "\"
    int32_t SlotNumber = 0;
    std::string SlotSuffix;
    UniqueHandle InstanceMutex;  // open only during the directory selection
    UniqueFile WorkDirClaim;     // from the directory's creation until it is removed

    // --- Run marker, shared block, hook library
    UniqueGlobalAtom RunMarkerAtom;
    UniqueHandle MappingHandle;
    UniqueMappedView SharedView;
    SharedControlBlock* SharedBlock = nullptr;  // == SharedView.get() while mapped
    UniqueModule HookLibrary;
    UniqueHook KeyboardHook, GetMessageHook, CbtHook, MouseHook;

    // --- Projector
    std::string ProjectorPath;
    std::string InitialDir;  // without a final "\"
    bool StartInEngineDir = false;
    UniqueHandle ProjectorProcess, ProjectorThread;
    DWORD ProjectorProcessId = 0, ProjectorThreadId = 0;
    HWND ProjectorWindow = nullptr;
    int32_t FullScreenCommand = 0;
    bool ProjectorEnded = false;
    bool InputAttached = false;
    bool MovieReady = false, MovieShown = false;

    // --- Launch, capture and supervision helpers (engine/win32/projector_launch.cpp,
    //     window_capture.cpp, supervision.cpp)
    bool WaitForProjectorWindow();  // the 11 s search; false: ended or not found
    void MuteSoundForProjector();
    void SwitchProjectorToFullScreen(HWND projector);
    bool TaskbarKeptBelowHost() const;
    void ShowMovieFirstTime();
    void CloseProjector();  // detach the input, post WM_CLOSE to the projector window
    // Under Wine a container child of the host holds the projector (engine/win32/wine_paint_remedy.h);
    // the projector's parent is that container when it exists, else the host.
    HWND ProjectorContainer = nullptr;
    HWND ProjectorParent() const;
    void PrepareProjectorParent();
    void FitProjectorContainerToClient();

    // --- Sound muting while the projector runs (engine/win32/sound_steps.cpp)
    SavedSound SoundBeforeRun;  // what the muting changed, given back by the cleanup

    // --- MIDI music (engine/win32/midi_steps.cpp)
    Win32MciCalls MidiCalls;
    TMediaPlayer MidiPlayer{MidiCalls};
    int32_t MidiLoopsLeft = 0;     // MidiLoopTimes, 2147483647 for 0; only counts down
    void StartMidi();              // WM_USER+6
    void MidiPlayDone();           // the player's OnNotify while looping
    void HandleMidiNotify(WPARAM wParam);  // MM_MCINOTIFY
    MidiMusicState MidiState();

    // --- Cleanup steps (engine/win32/cleanup.cpp)
    void StopMidiAndDeleteFile();
    void DeleteExtractedFiles();
    void RestoreMutedSound();
    void RemoveToolFiles();
    void RemovePlacementDirs();
    // Whether HookLibraryFile and MidiFile already hold full paths or still the bare names the
    // extraction gave them: a fact of the run, not read from the path's shape.
    bool HookLibraryFileIsFullPath = false;
    bool MidiFileIsFullPath = false;
    std::string InWorkDir(const std::string& name, bool isFullPath) const;
};

// The message filter of the supervised run: obeys the hook library's close request.
void HandleRunnerClose(TfrmMain& object, MSG& message, bool& handled);
