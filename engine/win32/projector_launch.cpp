// Starting the projector suspended and off-screen, finding its window and handing over to the
// capture and the supervision loop.
#include "engine/win32/projector_launch.h"

#include <cctype>
#include <vector>

#include "engine/projector_window_class.h"
#include "engine/shared_control_block.h"
#include "engine/win32/guarded_call.h"
#include "engine/win32/message_pump.h"
#include "engine/win32/projector_version.h"
#include "engine/win32/tfrm_main.h"
#include "engine/win32/wine_paint_remedy.h"

namespace {

constexpr char kBeforeShowExport[] = "BeforeShow";
constexpr DWORD kInputIdleTimeoutMs = 11111;
constexpr DWORD kWindowSearchMs = 11000;
constexpr DWORD kMovePauseMs = 55;

// Off-screen, normal show state, no busy cursor.
STARTUPINFOA ProjectorStartRecord() {
    STARTUPINFOA start = {};
    start.cb = sizeof start;
    start.dwX = 5000;
    start.dwY = static_cast<DWORD>(-5000);
    start.dwFlags = STARTF_USESHOWWINDOW | STARTF_USEPOSITION | STARTF_FORCEOFFFEEDBACK;  // 0x85
    start.wShowWindow = SW_SHOWNORMAL;
    return start;
}

std::string WithoutFinalBackslash(std::string path) {
    if (!path.empty() && path.back() == '\\') path.pop_back();
    return path;
}

std::string CurrentDirectory() {
    char buffer[MAX_PATH + 1] = {};
    const DWORD length = GetCurrentDirectoryA(sizeof buffer, buffer);
    return length > 0 && length < sizeof buffer ? std::string(buffer, length) : std::string();
}

std::vector<char> ReadWholeFile(const std::string& path) {
    std::vector<char> bytes;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return bytes;
    const DWORD size = GetFileSize(file, nullptr);
    if (size != INVALID_FILE_SIZE && size > 0) {
        bytes.resize(size);
        DWORD read = 0;
        if (!ReadFile(file, bytes.data(), size, &read, nullptr)) read = 0;
        bytes.resize(read);
    }
    CloseHandle(file);
    return bytes;
}

std::string LowerCaseExtension(const std::string& path) {
    const size_t dot = path.find_last_of(".\\:");
    if (dot == std::string::npos || path[dot] != '.') return std::string();
    std::string extension = path.substr(dot);
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension;
}

using BeforeShowProc = void(WINAPI*)(char* scratch, HWND host, const char* arguments);

void CallBeforeShowLibrary(const std::string& path, std::string arguments, HWND host) {
    HMODULE library = LoadLibraryA(path.c_str());
    if (!library) return;
    auto procedure = reinterpret_cast<BeforeShowProc>(
        reinterpret_cast<void*>(GetProcAddress(library, kBeforeShowExport)));
    if (procedure) {
        arguments.push_back('\0');
        struct Call {
            BeforeShowProc Procedure;
            char Scratch[256];
            HWND Host;
            const char* Arguments;
        } call = {procedure, {}, host, arguments.c_str()};
        // The author's library must not end the run, whatever it raises.
        CallSwallowingExceptions(
            [](void* context) {
                Call& c = *static_cast<Call*>(context);
                c.Procedure(c.Scratch, c.Host, c.Arguments);
            },
            &call);
    }
    FreeLibrary(library);
}

}  // namespace

BOOL CALLBACK FindProjectorWindow(HWND window, LPARAM object) {
    char className[1000] = {};
    const int length = GetClassNameA(window, className, sizeof className);
    if (!IsProjectorWindowClass(std::string(className, length > 0 ? static_cast<size_t>(length) : 0))) return TRUE;
    reinterpret_cast<TfrmMain*>(object)->ProjectorWindow = window;
    return FALSE;
}

bool SameFileContents(const std::string& pathA, const std::string& pathB) {
    return ReadWholeFile(pathA) == ReadWholeFile(pathB);
}

void TfrmMain::RunBeforeShow() {
    const std::string& item = Opt.BeforeShow;
    const size_t blank = item.find(' ');
    const std::string name = item.substr(0, blank);
    const std::string arguments = blank == std::string::npos ? std::string() : item.substr(blank + 1);
    const std::string path = Reader.TargetDir + name;
    const std::string extension = LowerCaseExtension(path);
    if (extension == ".dll")
        CallBeforeShowLibrary(path, arguments, Host.Handle);
    else if (extension == ".exe")
        WinExec((path + " " + arguments).c_str(), SW_SHOWNORMAL);
}

bool TfrmMain::WaitForProjectorWindow() {
    // GetTickCount with unsigned differences: right across its 49.7-day wrap, and present on every
    // system the engine runs on.
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < kWindowSearchMs && !ProjectorWindow) {
        ProjectorEnded = WaitForSingleObject(ProjectorProcess.get(), 1) != WAIT_TIMEOUT;
        if (ProjectorEnded) return false;
        // A window the hook library has announced: let it become valid first. Bounded by the same
        // search time, so a stale handle in the block cannot hold the engine forever.
        if (HWND announced = static_cast<HWND>(FieldToHandle(SharedBlock->ProjectorWindow))) {
            while (!IsWindow(announced) && GetTickCount() - start < kWindowSearchMs) {
                if (WaitForSingleObject(ProjectorProcess.get(), 1) != WAIT_TIMEOUT) break;
            }
        }
        EnumThreadWindows(ProjectorThreadId, FindProjectorWindow, reinterpret_cast<LPARAM>(this));
    }
    return ProjectorWindow != nullptr;
}

bool TfrmMain::LaunchProjector() {
    ProjectorPath = WorkDir + Placement.ProjectorFile;
    if (!Placement.MidiFile.empty() && !MidiFileIsFullPath) {
        Placement.MidiFile = WorkDir + Placement.MidiFile;
        MidiFileIsFullPath = true;
    }
    STARTUPINFOA start = ProjectorStartRecord();
    SetProjectorEnvironment();

    InitialDir = WithoutFinalBackslash(StartInEngineDir ? CurrentDirectory() : WorkDir);
    SetShortString(SharedBlock->StartDirectory, InitialDir);
    // An identical copy of the projector in the start directory is started instead.
    const std::string copyInStartDir = InitialDir + "\\" + Placement.ProjectorOriginalName;
    if (SameFileContents(ProjectorPath, copyInStartDir)) ProjectorPath = copyInStartDir;
    SetProjectorPathEnvironment();

    SharedBlock->ProjectorIsVersion6OrLater = 0;
    SharedBlock->ProjectorIsVersion6OrLater = ProjectorIsVersion6OrLater(ProjectorPath) ? 1 : 0;
    SharedBlock->ProjectorStartBegun = 1;

    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(ProjectorPath.c_str(), nullptr, nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                        InitialDir.c_str(), &start, &process))
        return false;
    ProjectorProcess.reset(process.hProcess);
    ProjectorThread.reset(process.hThread);
    ProjectorProcessId = process.dwProcessId;
    ProjectorThreadId = process.dwThreadId;
    SharedBlock->ProjectorProcessId = ProjectorProcessId;
    SharedBlock->ProjectorThreadId = ProjectorThreadId;

    if (!Opt.Sound.Value) MuteSoundForProjector();
    ResumeThread(ProjectorThread.get());
    SharedBlock->FramePaintingSuspended = 1;
    WaitForInputIdle(ProjectorProcess.get(), kInputIdleTimeoutMs);

    if (!WaitForProjectorWindow()) {
        // Ended, or no window in time: the cleanup follows; a running projector is left alone.
        ProjectorEnded = true;
        return true;
    }

    Sleep(kMovePauseMs);
    Host.FitHostToMovie(ProjectorWindow, Opt);
    ShowWindow(ProjectorWindow, SW_HIDE);
    InputAttached = AttachThreadInput(GetCurrentThreadId(), ProjectorThreadId, TRUE) != FALSE;
    if (!Opt.BeforeShow.empty()) RunBeforeShow();
    CaptureProjectorWindow();
    if (ProjectorEnded) return true;

    SharedBlock->ProjectorWindow = HandleToField(ProjectorWindow);
    SetWindowPos(Host.Handle, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
    Sleep(kMovePauseMs);
    PumpMessages();
    FitProjectorContainerToClient();
    UINT showFlags = SWP_SHOWWINDOW | SWP_NOZORDER;
    if (!Opt.KeyInteraction.Value) showFlags |= SWP_NOACTIVATE;
    SetWindowPos(ProjectorWindow, nullptr, 0, 0, Host.ClientWidth, Host.ClientHeight, showFlags);
    ScheduleProjectorRedraw(ProjectorContainer, ProjectorWindow);  // Wine path only
    SetForegroundWindow(Host.Handle);
    SharedBlock->Supervising = 1;
    SupervisionLoop();
    return true;
}
