// The end of every run that got past the run marker: undoes what the run created, in order, each
// step acting only on what exists.
#include "engine/shared_control_block.h"
#include "engine/win32/cleanup_files.h"
#include "engine/win32/message_pump.h"
#include "engine/win32/tfrm_main.h"

std::string TfrmMain::InWorkDir(const std::string& name, bool isFullPath) const {
    return isFullPath ? name : WorkDir + name;
}

namespace {

bool FileStillThere(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

}  // namespace

void TfrmMain::StopMidiAndDeleteFile() {
    if (Placement.MidiFile.empty()) return;
    StopMidi(MidiPlayer, MidiState(), [] { PumpMessages(); });
    // Before the projector start the field holds the bare name: never resolve it against the
    // current directory, which is the program's own.
    if (!WorkDir.empty()) DeleteFileA(InWorkDir(Placement.MidiFile, MidiFileIsFullPath).c_str());
}

void TfrmMain::DeleteExtractedFiles() {
    if (!WorkDir.empty() && !Placement.ProjectorFile.empty())
        DeleteFileA((WorkDir + Placement.ProjectorFile).c_str());
    for (const std::string& file : Placement.ExtractedFiles) {
        PumpMessages();
        DeleteFileA(file.c_str());
    }
}

void TfrmMain::RemovePlacementDirs() {
    if (!WorkDir.empty()) RemovePlacementDirectories(WorkDir, Placement.PlacementDirs);
}

void TfrmMain::Cleanup() {
    ServerMessage = 0;
    if (GlobalCloseMessage)
        PostMessageA(HWND_BROADCAST, GlobalCloseMessage, reinterpret_cast<WPARAM>(Host.Handle),
                     GlobalAddAtomA(ExeName.c_str()));
    RunMarkerAtom.reset();
    InstanceMutex.reset();
    if (ProjectorThreadId != 0) AttachThreadInput(GetCurrentThreadId(), ProjectorThreadId, FALSE);
    InputAttached = false;

    StopMidiAndDeleteFile();
    DeleteExtractedFiles();
    if (!Opt.Sound.Value) RestoreMutedSound();
    ProjectorThread.reset();
    ProjectorProcess.reset();  // the projector itself is never terminated
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    Program().Filter = {};
    TearDownHookLibrary();

    if (Host.Handle) {
        PostMessageA(Host.Handle, WM_CLOSE, 0, 0);
        PumpMessages();
    }
    RemoveToolFiles();
    PumpMessages();
    RemovePlacementDirs();
    PumpMessages();

    // A bare name (the run failed before the library was loaded) is made a full path, so that the
    // program entry's last attempt too names the file in the working directory.
    if (!Placement.HookLibraryFile.empty() && !HookLibraryFileIsFullPath) {
        Placement.HookLibraryFile = WorkDir.empty() ? std::string() : WorkDir + Placement.HookLibraryFile;
        HookLibraryFileIsFullPath = true;
    }
    if (!Placement.HookLibraryFile.empty()) DeleteHookLibraryFile(Placement.HookLibraryFile);
    if (!WorkDir.empty()) {
        DeleteDatFiles(WorkDir);
        // A library file still there gets the program entry's last attempt first, while the
        // directory is still claimed: only then is that file surely this run's own.
        if (Placement.HookLibraryFile.empty() || !FileStillThere(Placement.HookLibraryFile)) ReleaseWorkingDirectory();
    }
}
