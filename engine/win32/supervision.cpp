// The engine's life while the projector runs: keeping the projector window fitted, the taskbar
// below a full-screen host, the projector's dialogs above a topmost host, the first showing of
// the movie and, on a quit request, the projector's close.
#include "engine/shared_control_block.h"
#include "engine/win32/message_pump.h"
#include "engine/win32/tfrm_main.h"

namespace {

constexpr DWORD kPassWaitMs = 44;
constexpr DWORD kZOrderPauseMs = 111;
constexpr DWORD kRunnerClosePauseMs = 55;
constexpr DWORD kRunnerCloseSettleMs = 555;
constexpr UINT kStartMidiMessage = WM_USER + 6;
constexpr UINT kZOrderOnly = SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE;
constexpr char kTaskbarClass[] = "Shell_TrayWnd";

bool IsMeOrNT5(const OsFlags& os) { return os.WindowsMe || os.NT5; }

struct OwnedPopupSearch {
    HWND Projector;
};

BOOL CALLBACK RaiseOwnedPopup(HWND window, LPARAM search) {
    const HWND projector = reinterpret_cast<OwnedPopupSearch*>(search)->Projector;
    if (GetWindow(window, GW_OWNER) == projector && !(GetWindowLongA(window, GWL_STYLE) & WS_CHILD) &&
        !(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST))
        SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, kZOrderOnly);
    return TRUE;
}

}  // namespace

// The filter the first-show step installs: obeys the hook library's close request. The host leaves
// the screen and the projector is taken out of its full-screen mode and hidden before it is asked
// to close, so nothing of it flashes on the desktop while it ends.
void HandleRunnerClose(TfrmMain& object, MSG& message, bool& handled) {
    if (message.message != object.RunnerMessage || message.wParam != 0) return;
    handled = true;
    const DWORD projectorThread = object.ProjectorThreadId;
    if (projectorThread == 0) return;
    // Cleared first: a second request arriving while this one pumps finds nothing left to do.
    object.ProjectorThreadId = 0;
    const HWND projector = object.ProjectorWindow;
    if (!IsWindow(projector)) {
        PostThreadMessageA(projectorThread, WM_QUIT, 1, 0);
        return;
    }
    SetWindowPos(object.Host.Handle, nullptr, object.Host.ScreenWidth - 1, 0, 0, 0, SWP_NOZORDER | SWP_NOSIZE);
    PumpMessages();
    Sleep(kRunnerClosePauseMs);
    SendMessageA(projector, WM_COMMAND, static_cast<WPARAM>(object.FullScreenCommand), 0);
    PumpMessages();
    Sleep(kRunnerClosePauseMs);
    ShowWindow(projector, SW_HIDE);
    PumpMessages();
    Sleep(kRunnerCloseSettleMs);
    PostMessageA(projector, WM_CLOSE, 0, 0);
    PumpMessages();
}

void TfrmMain::CloseProjector() {
    AttachThreadInput(GetCurrentThreadId(), ProjectorThreadId, FALSE);
    InputAttached = false;
    PostMessageA(ProjectorWindow, WM_CLOSE, 0, 0);
}

bool TfrmMain::TaskbarKeptBelowHost() const {
    return Host.FullScreenMode ||
           (Opt.FullScreen.Value && (!Opt.CustomSize.Value || Opt.NoBorder.Value || Opt.NoTitle.Value) &&
            IsMeOrNT5(CurrentOsFlags()));
}

void TfrmMain::ShowMovieFirstTime() {
    SetWindowPos(Host.Handle, HWND_NOTOPMOST, 0, 0, 0, 0, kZOrderOnly);
    Sleep(kZOrderPauseMs);
    const bool topmost = Host.FullScreenMode || Opt.AlwaysOnTop.Value ||
                         (Opt.FullScreen.Value && !Opt.CustomSize.Value && IsMeOrNT5(CurrentOsFlags()));
    SetWindowPos(Host.Handle, topmost ? HWND_TOPMOST : HWND_TOP, 0, 0, 0, 0, kZOrderOnly);
    PumpMessages();
    PostMessageA(Host.Handle, kStartMidiMessage, 0, 0);
    SetActiveWindow(ProjectorWindow);
    InvalidateRect(ProjectorWindow, nullptr, TRUE);
}

void TfrmMain::SupervisionLoop() {
    ProgramState& program = Program();
    for (;;) {
        // Ended, or a handle that can no longer be waited on: both end the supervision.
        if (WaitForSingleObject(ProjectorProcess.get(), kPassWaitMs) != WAIT_TIMEOUT) break;
        if (Host.ClientSizeChanged) {
            FitProjectorContainerToClient();
            SetWindowPos(ProjectorWindow, nullptr, 0, 0, Host.ClientWidth, Host.ClientHeight,
                         SWP_NOZORDER | SWP_NOACTIVATE);
            InvalidateRect(ProjectorWindow, nullptr, TRUE);
            Host.ClientSizeChanged = false;
        }
        if (TaskbarKeptBelowHost()) {
            if (HWND taskbar = FindWindowA(kTaskbarClass, nullptr))
                SetWindowPos(taskbar, Host.Handle, 0, 0, 0, 0, kZOrderOnly);
        }
        PumpMessages();
        SharedBlock->AnyKeyExits = Opt.KeyInteraction.Value ? 0 : 1;
        if (MovieReady) {
            if (program.Filter)
                PumpMessages();
            else
                ShowMovieFirstTime();
            MovieShown = true;
            program.Filter = MessageFilter{HandleRunnerClose, this};
        }
        // A projector that ignores WM_CLOSE keeps the engine here: it is never terminated.
        if (program.QuitFlag)
            PostMessageA(ProjectorWindow, WM_CLOSE, 0, 0);
        else
            KeepOwnedPopupsOnTop();
    }
    ShowWindow(Host.Handle, SW_HIDE);
}

void TfrmMain::KeepOwnedPopupsOnTop() {
    SetWindowPos(Host.Handle, ProjectorWindow, 0, 0, 0, 0, kZOrderOnly);
    if (!(GetWindowLongA(Host.Handle, GWL_EXSTYLE) & WS_EX_TOPMOST)) return;
    OwnedPopupSearch search{ProjectorWindow};
    EnumWindows(RaiseOwnedPopup, reinterpret_cast<LPARAM>(&search));
}
