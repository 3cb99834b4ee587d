// The order of one run: from the start message to the cleanup.
#include <windows.h>

#include "engine/command_line_args.h"
#include "engine/engine_names.h"
#include "engine/win32/tfrm_main.h"

namespace {

const char kSessionName[] = "Session1";

}  // namespace

void TfrmMain::RunSequence() {
    SendMessageA(Host.Handle, WM_SETICON, ICON_BIG,
                 reinterpret_cast<LPARAM>(LoadIconA(GetModuleHandleA(nullptr), "MAINICON")));
    if (!AskPassword()) return;  // nothing acquired yet: no cleanup

    RunMarkerAtom.reset(GlobalAddAtomA(RunMarkerAtomText(ExeName).c_str()));
    // From here on every way out passes through the cleanup, exceptions included.
    try {
        SetCurrentDirectoryA(DirectoryPart(ProgramPath).c_str());

        Reader.SourceIsSelf = true;
        switch (Opt.CurrentDir) {
            case 0:
                Placement.ProbeMode = true;
                try {
                    Reader.ExtractSession(kSessionName);
                } catch (...) {
                    Placement.ProbeMode = false;
                    throw;
                }
                Placement.ProbeMode = false;
                StartInEngineDir = !Placement.PlacementSeen;
                break;
            case 2:
                StartInEngineDir = true;
                break;
            default:
                StartInEngineDir = false;
                break;
        }

        if (SelectWorkingDirectory()) {
            Reader.SourceIsSelf = true;
            Placement.ProbeMode = false;
            Reader.TargetDir = WorkDir;
            Placement.ProjectorFile.clear();
            Placement.MidiFile.clear();
            Placement.HookLibraryFile.clear();
            Placement.ExtractedFiles.clear();
            Placement.ToolDirs.clear();
            Placement.PlacementDirs.clear();
            Placement.ToolFiles.clear();
            Reader.ExtractSession(kSessionName);

            if (!Placement.HookLibraryFile.empty()) {
                PrepareToolDirs();
                SetCursor(LoadCursorA(nullptr, IDC_WAIT));
                if (SetUpHookLibrary() && !Placement.ProjectorFile.empty()) {
                    // Starts, finds, captures and supervises the projector until it ends.
                    LaunchProjector();
                }
            }
        }
    } catch (...) {
        Cleanup();
        throw;
    }
    Cleanup();
}
