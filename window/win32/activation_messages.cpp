// The host's caption follows the projector window, which belongs to another thread: while the
// movie has the focus the caption stays active. The engine asks for its own painting with
// WM_NCACTIVATE and lParam -3, which goes straight to the default handling.
#include "engine/shared_control_block.h"
#include "engine/win32/tfrm_main.h"
#include "window/win32/window_message_handlers.h"

namespace {

constexpr LPARAM kOwnCaptionRequest = -3;

// A window handle the hook library passed in wParam, as this build's handle.
HWND WindowFromParameter(WPARAM wParam) { return static_cast<HWND>(FieldToHandle(static_cast<uint32_t>(wParam))); }

void PaintCaption(HWND host, bool active) { SendMessageA(host, WM_NCACTIVATE, active ? TRUE : FALSE, kOwnCaptionRequest); }

}  // namespace

namespace hostmessages {

HandlerResult OnActivateApp(TfrmMain& main, const WindowMessage& message) {
    const bool deactivated = message.WParam == 0;
    const bool towardProjector = static_cast<DWORD>(message.LParam) == main.ProjectorThreadId;
    // Another program takes over: a drag must not go on without the user.
    if (deactivated && !towardProjector) main.Host.SetDragging(false);
    if (!main.Opt.Interaction.Value) return kCallDefault;
    if (deactivated && towardProjector) PaintCaption(message.Window, true);
    return Handled(0);
}

HandlerResult OnNcActivate(TfrmMain& main, const WindowMessage& message) {
    if (message.LParam == kOwnCaptionRequest || !main.Opt.Interaction.Value) return kCallDefault;
    const HWND window = message.Window;
    if (message.WParam) return Handled(DefWindowProcA(window, WM_NCACTIVATE, message.WParam, message.LParam));
    const HWND foreground = GetForegroundWindow();
    if (main.ProjectorWindow && foreground == main.ProjectorWindow)
        return Handled(DefWindowProcA(window, WM_NCACTIVATE, TRUE, 0));
    if (foreground == window) return Handled(1);
    return Handled(DefWindowProcA(window, WM_NCACTIVATE, message.WParam, message.LParam));
}

// WM_USER+3: lift the host above every other window once, without leaving it topmost (unless it
// is meant to be), and paint its caption active.
HandlerResult OnRaiseHost(TfrmMain& main, const WindowMessage&) {
    if (!main.SharedBlock) return Handled(0);
    const HWND host = main.Host.Handle;
    if (host) PaintCaption(host, true);
    if (!main.ProjectorWindow || !host) return Handled(0);
    const bool interaction = main.Opt.Interaction.Value;
    const bool version6 = main.SharedBlock->ProjectorIsVersion6OrLater != 0;
    UINT flags = SWP_NOSIZE | SWP_NOMOVE;
    if (interaction || version6) flags |= SWP_NOACTIVATE;
    SetWindowPos(host, HWND_TOPMOST, 0, 0, 0, 0, flags);
    if (!main.Opt.AlwaysOnTop.Value) SetWindowPos(host, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
    SendMessageA(host, WM_NCACTIVATE, TRUE, 0);
    if (!interaction && !version6) SetForegroundWindow(host);
    return Handled(0);
}

// WM_USER+7: another window became active. An open menu is cancelled unless the activation is the
// host's own or the user is on the menu's first item; the caption is painted inactive.
HandlerResult OnActivationReport(TfrmMain& main, const WindowMessage& message) {
    const HWND host = main.Host.Handle;
    const HWND active = WindowFromParameter(message.WParam);
    if (main.SharedBlock && main.SharedBlock->MenuOpen && active != host &&
        !(GetMenuState(main.Host.PopupMenu, 0, MF_BYPOSITION) & MF_HILITE)) {
        SendMessageA(host, WM_CANCELMODE, 0, 0);
        main.Host.SetDragging(false);
    }
    if (!(GetForegroundWindow() == host && active == host)) PaintCaption(host, false);
    return Handled(0);
}

HandlerResult OnForegroundProjector(TfrmMain& main, const WindowMessage&) {
    SetForegroundWindow(main.ProjectorWindow);
    return Handled(0);
}

}  // namespace hostmessages
