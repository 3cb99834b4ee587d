#include "engine/win32/tfrm_main.h"
#include "window/win32/window_message_handlers.h"

namespace hostmessages {

// From Windows, WM_USER+12 and other engines: the run ends through the projector. The host is
// destroyed only by the shutdown, after the projector has gone.
HandlerResult OnClose(TfrmMain& main, const WindowMessage&) {
    if (main.ProjectorWindow) main.CloseProjector();
    return Handled(0);
}

HandlerResult OnDestroy(TfrmMain& main, const WindowMessage&) {
    if (IsMenu(main.Host.PopupMenu)) {
        DestroyMenu(main.Host.PopupMenu);
        main.Host.PopupMenu = nullptr;
    }
    return kCallDefault;
}

}  // namespace hostmessages
