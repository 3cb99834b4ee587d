#include "engine/win32/tfrm_main.h"
#include "window/host_commands.h"
#include "window/win32/setup_dialog.h"
#include "window/win32/window_message_handlers.h"

namespace {

// Close: the open Setup dialog is closed rather than the engine.
HandlerResult CloseCommand(TfrmMain& main, const WindowMessage&) {
    if (const HWND dialog = OpenSetupDialogWindow())
        SendMessageA(dialog, WM_CLOSE, 0, 0);
    else
        main.CloseProjector();
    return kCallDefault;
}

HandlerResult MinimizeCommand(TfrmMain& main, const WindowMessage&) {
    PostMessageA(main.Host.Handle, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    return kCallDefault;
}

// Refused full-screen commands end the message at once; all others go on to DefWindowProcA.
HandlerResult AfterFullScreenCommand(bool callDefault) { return callDefault ? kCallDefault : Handled(0); }

HandlerResult EnterFullScreenMode(TfrmMain& main, const WindowMessage& message) {
    return AfterFullScreenCommand(main.Host.EnterFullScreenMode(main.ProjectorWindow, message.LParam, main.Opt));
}

HandlerResult LeaveFullScreenMode(TfrmMain& main, const WindowMessage& message) {
    return AfterFullScreenCommand(main.Host.LeaveFullScreenMode(main.ProjectorWindow, message.LParam, main.Opt));
}

struct CommandRoute {
    WPARAM Id;
    MessageHandler Handler;
};

const CommandRoute kCommandRoutes[] = {
    {host_commands::kClose, CloseCommand},
    {host_commands::kSetup, hostmessages::OnSetupCommand},
    {host_commands::kMinimize, MinimizeCommand},
    {host_commands::kEnterFullScreenMode, EnterFullScreenMode},
    {host_commands::kLeaveFullScreenMode, LeaveFullScreenMode},
};

}  // namespace

namespace hostmessages {

HandlerResult OnCommand(TfrmMain& main, const WindowMessage& message) {
    // Commands come from the menu, the movie and the capture step, never from controls (lParam 0),
    // and all of them concern the projector window.
    if (message.LParam != 0 || !main.ProjectorWindow) return kCallDefault;
    for (const CommandRoute& route : kCommandRoutes) {
        if (route.Id == message.WParam) return route.Handler(main, message);
    }
    return kCallDefault;
}

}  // namespace hostmessages
