#include "engine/shared_control_block.h"
#include "engine/win32/tfrm_main.h"
#include "window/win32/window_message_handlers.h"

namespace hostmessages {

// Windows is ending: the open Setup dialog, else the projector, is asked to close; Windows may go on.
HandlerResult OnEndSession(TfrmMain& main, const WindowMessage&) {
    if (const HWND dialog = OpenSetupDialogWindow())
        SendMessageA(dialog, WM_CLOSE, 0, 0);
    else if (main.ProjectorWindow)
        PostMessageA(main.ProjectorWindow, WM_CLOSE, 0, 0);
    return kCallDefault;
}

// After a ratio-keeping resize the client may be wider than the movie: the rest shows gray.
HandlerResult OnEraseBackground(TfrmMain& main, const WindowMessage& message) {
    if (main.Host.RatioResize) {
        RECT client{};
        GetClientRect(message.Window, &client);
        FillRect(reinterpret_cast<HDC>(message.WParam), &client, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
    }
    return kCallDefault;
}

// While the projector is being captured the frame is not painted, so it does not flicker.
HandlerResult OnNcPaint(TfrmMain& main, const WindowMessage& message) {
    if (!main.Opt.Interaction.Value || !main.SharedBlock) return kCallDefault;
    if (main.SharedBlock->FramePaintingSuspended) return Handled(0);
    return Handled(DefWindowProcA(message.Window, message.Message, message.WParam, message.LParam));
}

// DisableClickForeground: once the movie is shown, a click never lifts the host to the top.
HandlerResult OnWindowPosChanging(TfrmMain& main, const WindowMessage& message) {
    if (!main.Opt.DisableClickForeground.Value || !main.MovieShown) return kCallDefault;
    if (auto* position = reinterpret_cast<WINDOWPOS*>(message.LParam)) {
        if (position->hwndInsertAfter == HWND_TOP) position->flags |= SWP_NOZORDER | SWP_NOACTIVATE;
    }
    return Handled(0);
}

}  // namespace hostmessages
