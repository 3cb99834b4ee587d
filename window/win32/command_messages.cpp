#include "engine/win32/tfrm_main.h"
#include "window/win32/setup_dialog.h"
#include "window/win32/window_message_handlers.h"

namespace {

constexpr WPARAM kSetupCommand = 130;
constexpr WPARAM kEnterFullScreenModeCommand = 132;
constexpr WPARAM kLeaveFullScreenModeCommand = 133;

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
    {kSetupCommand, hostmessages::OnSetupCommand},
    {kEnterFullScreenModeCommand, EnterFullScreenMode},
    {kLeaveFullScreenModeCommand, LeaveFullScreenMode},
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
