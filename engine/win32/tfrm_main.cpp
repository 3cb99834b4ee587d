// Building and freeing the main object.
#include "engine/win32/tfrm_main.h"

#include <climits>

#include "engine/command_line_args.h"
#include "engine/engine_names.h"
#include "engine/host_window_failure.h"
#include "engine/win32/hook_library.h"
#include "engine/win32/message_pump.h"
#include "engine/win32/working_directory.h"
#include "payload/engine_error.h"
#include "payload/registry_section.h"
#include "payload/settings_loader.h"
#include "payload/win32/registry_user_settings.h"
#include "payload/win32/win32_payload_file_system.h"
#include "payload/win32/win32_placement_file_system.h"
#include "window/win32/host_window_procedure.h"

namespace {

constexpr UINT kStartMessage = WM_USER + 1;

}  // namespace

TfrmMain::TfrmMain(const std::string& programPath, const std::string& firstArgument)
    : ProgramPath(programPath) {
    // Messages sent while the host window is being created already belong to this object.
    Program().MainObject = this;
    ExeName = FileNamePart(ProgramPath);
    GlobalCloseMessage = RegisterWindowMessageA(engine_names::kGlobalCloseMessage);
    ConfigurationMode = IsConfigurationModeArgument(firstArgument);
    RegistrySection = RegistrySectionName(ExeName);
    UserSettings = std::make_unique<RegistryUserSettings>(RegistrySection);
    Host.ReadScreenSize(Opt);

    Reader.SetFileSystem(Win32PayloadFileSystem());
    Reader.OnFile = [this](TVelExeAppender&, std::string& name, std::string& directory, bool& skip) {
        HandleExtractedFile(name, directory, skip);
    };
    if (!ConfigurationMode) {
        LoadSettings(Opt);
        Opt.MidiLoopTimes = EffectiveMidiLoopTimes(Opt.MidiLoopTimes);
        MidiLoopsLeft = Opt.MidiLoopTimes;
    }

    Host.Create(Opt, HostWindowProcedure, GetModuleHandleA(nullptr));
    // Without its window the start message would reach no handler and the run would never end.
    if (!Host.Handle) {
        const DWORD error = GetLastError();
        throw EngineError(HostWindowFailureText(error ? SystemErrorText(error) : std::string()));
    }
    PostMessageA(Host.Handle, kStartMessage, 0, 0);
}

TfrmMain::~TfrmMain() = default;

void TfrmMain::LoadSettings(Options& places) {
    // Engines sharing a temporary directory would write, read and delete one another's settings
    // file of the same name: the short settings pass runs under the instance mutex, like the
    // choice of the working directory.
    InstanceMutexHold hold;
    ::LoadSettings(Reader, Placement, Win32PlacementFileSystem(), FullTemporaryBaseOf(UserSettings.get()),
                   RegistrySection, UserSettings.get(), places);
}

void TfrmMain::HandleExtractedFile(std::string& name, std::string& directory, bool& skip) {
    Placement.HandleExtractedFile(name, directory, skip, Reader.CurrentPlacement, Reader.TargetDir, SlotNumber,
                                  Opt.Midi.Value);
}

void TfrmMain::HandleStart() {
    if (ConfigurationMode)
        ShowSetupDialog();
    else
        RunSequence();
    Program().QuitFlag = true;
}

void TfrmMain::FreeMainObjects() {
    // The lists go; HookLibraryFile stays for the program entry's last delete attempt.
    Placement.ToolDirs.clear();
    Placement.ToolFiles.clear();
    UserSettings.reset();
    Placement.PlacementDirs.clear();
    Placement.ExtractedFiles.clear();
    Sleep(111);
    if (!Host.Handle) return;
    // A true full-screen host is minimised first so the desktop does not flash behind it.
    if (Opt.FullScreen.Value && !Opt.CustomSize.Value) CloseWindow(Host.Handle);
    DestroyWindow(Host.Handle);
    Host.Handle = nullptr;
}
