// Making the projector window a child of the host: it is switched into the projector's own
// full-screen mode (no frame, no menu bar) and then fills the host's client area.
#include "engine/shared_control_block.h"
#include "engine/win32/menu_walk.h"
#include "engine/win32/message_pump.h"
#include "engine/win32/tfrm_main.h"
#include "engine/win32/wine_paint_remedy.h"

namespace {

constexpr DWORD kMovePauseMs = 55;
constexpr int kOffScreen = -15000;
constexpr UINT kEnterFullScreenModeCommand = 132;

bool IsWindows9x(const OsFlags& os) { return os.Windows95 || os.Windows98 || os.WindowsMe; }

}  // namespace

HWND TfrmMain::ProjectorParent() const { return ProjectorContainer ? ProjectorContainer : Host.Handle; }

void TfrmMain::FitProjectorContainerToClient() {
    FitProjectorContainer(ProjectorContainer, Host.ClientWidth, Host.ClientHeight);
}

// Under Wine the projector goes into a container child of the host, which the driver draws.
void TfrmMain::PrepareProjectorParent() {
    if (!ProjectorContainer && WinePaintRemedyNeeded(Host.Handle))
        ProjectorContainer = CreateProjectorContainer(Host.Handle, Host.ClientWidth, Host.ClientHeight);
}

// The projector shows its framed window with a menu bar: switch it to its own full screen mode,
// then make it a child of the host. Newer projectors (and the 9x family) are reparented first,
// with the host off-screen and not redrawing.
void TfrmMain::SwitchProjectorToFullScreen(HWND projector) {
    FullScreenCommand = ReadFullScreenCommand(GetMenu(projector));
    const OsFlags os = CurrentOsFlags();
    const bool version6 = SharedBlock->ProjectorIsVersion6OrLater != 0;
    try {
        if (IsWindow(projector)) {
            SharedBlock->FramePaintingSuspended = 1;
            if (IsWindows9x(os)) SetWindowLongA(projector, GWL_STYLE, GetWindowLongA(projector, GWL_STYLE) | WS_VISIBLE);
            if (IsWindows9x(os) || version6) {
                const int32_t left = Opt.Left, top = Opt.Top;
                SetWindowPos(Host.Handle, nullptr, kOffScreen, kOffScreen, Opt.Width, Opt.Height,
                             SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
                Opt.Left = left;
                Opt.Top = top;
                SendMessageA(Host.Handle, WM_SETREDRAW, FALSE, 0);
                SetPriorityClass(GetCurrentProcess(), REALTIME_PRIORITY_CLASS);
                SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_TIME_CRITICAL);
                if (version6) SetParent(projector, ProjectorParent());
                ShowWindow(Host.Handle, SW_SHOW);
                ShowWindow(Host.Handle, SW_HIDE);
                SetPriorityClass(GetCurrentProcess(), NORMAL_PRIORITY_CLASS);
                SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_NORMAL);
            }
            SendMessageA(projector, WM_COMMAND, static_cast<WPARAM>(FullScreenCommand), 0);
            ShowWindow(projector, SW_SHOW);
            ShowWindow(projector, SW_HIDE);
            if (version6) {
                FitProjectorContainerToClient();
                SetWindowPos(projector, nullptr, 0, 0, Host.ClientWidth, Host.ClientHeight,
                             SWP_NOZORDER | SWP_NOACTIVATE);
            }
            if (IsWindows9x(os) || version6) SendMessageA(Host.Handle, WM_SETREDRAW, TRUE, 0);
        }
    } catch (...) {
        SetParent(projector, ProjectorParent());
        throw;
    }
    SetParent(projector, ProjectorParent());
}

void TfrmMain::CaptureProjectorWindow() {
    HWND projector = ProjectorWindow;
    SetWindowPos(projector, nullptr, kOffScreen, kOffScreen, Host.ClientWidth, Host.ClientHeight,
                 SWP_NOSENDCHANGING | SWP_NOZORDER | SWP_NOACTIVATE);

    // The projector's outer size becomes the client size the host has to offer.
    RECT hostClient = {}, projectorRect = {};
    GetClientRect(Host.Handle, &hostClient);
    GetWindowRect(projector, &projectorRect);
    Host.ClientWidth = projectorRect.right - projectorRect.left;
    Host.ClientHeight = projectorRect.bottom - projectorRect.top;
    if (Host.ClientWidth != hostClient.right || Host.ClientHeight != hostClient.bottom)
        SetWindowPos(Host.Handle, nullptr, 0, 0, Host.ClientWidth, Host.ClientHeight,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (!Opt.FullScreen.Value) Host.ApplyAlignment(Opt);

    const LONG style = GetWindowLongA(projector, GWL_STYLE);
    Sleep(kMovePauseMs);
    PumpMessages();
    PrepareProjectorParent();
    if (style & WS_THICKFRAME)
        SwitchProjectorToFullScreen(projector);
    else
        SetParent(projector, ProjectorParent());

    Sleep(kMovePauseMs);
    SetWindowPos(Host.Handle, nullptr, Opt.Left, Opt.Top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    const bool customFullScreen = Opt.CustomSize.Value && Opt.FullScreen.Value;
    if (customFullScreen)
        SetWindowPos(Host.Handle, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    else
        SetWindowPos(Host.Handle, nullptr, Opt.Left, Opt.Top, Opt.Width, Opt.Height, SWP_NOZORDER | SWP_NOACTIVATE);
    SharedBlock->FramePaintingSuspended = 0;
    RedrawWindow(Host.Handle, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);

    FitProjectorContainerToClient();
    SetWindowPos(projector, nullptr, 0, 0, Host.ClientWidth, Host.ClientHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    if ((!Opt.FullScreen.Value || Opt.CustomSize.Value) && Opt.StartInFullscreenMode.Value)
        SendMessageA(Host.Handle, WM_COMMAND, kEnterFullScreenModeCommand, 0);
    FitProjectorContainerToClient();
    SetWindowPos(projector, nullptr, 0, 0, Host.ClientWidth, Host.ClientHeight, SWP_SHOWWINDOW);
    if (customFullScreen)
        SetWindowPos(Host.Handle, nullptr, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER);
    else
        SetWindowPos(Host.Handle, nullptr, Opt.Left, Opt.Top, Opt.Width, Opt.Height, SWP_SHOWWINDOW | SWP_NOZORDER);
    SharedBlock->FramePaintingSuspended = 0;
}
