// The popup menu and dragging, both asked for by the hook library from inside the projector.
#include "engine/shared_control_block.h"
#include "engine/win32/tfrm_main.h"
#include "window/win32/window_message_handlers.h"

namespace hostmessages {

// WM_USER+9: the menu at the cursor. TrackPopupMenu runs its own loop and returns when the menu
// closes; a chosen item arrives as WM_COMMAND. The block's flag tells the hook library (and a
// second request) that the menu is open.
HandlerResult OnShowPopupMenu(TfrmMain& main, const WindowMessage&) {
    if (!IsMenu(main.Host.PopupMenu) || !main.SharedBlock || main.SharedBlock->MenuOpen) return Handled(0);
    POINT cursor{};
    GetCursorPos(&cursor);
    main.SharedBlock->MenuOpen = 1;
    TrackPopupMenu(main.Host.PopupMenu, TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, main.Host.Handle, nullptr);
    if (main.SharedBlock) main.SharedBlock->MenuOpen = 0;
    return Handled(0);
}

HandlerResult OnStopDrag(TfrmMain& main, const WindowMessage&) {
    main.Host.SetDragging(false);
    return Handled(0);
}

// WM_USER+11 with the mouse message: only a left press starts a drag, never while the menu is open
// or a drag runs. Whether the movie may be dragged at all is the hook library's decision.
HandlerResult OnStartDrag(TfrmMain& main, const WindowMessage& message) {
    if (main.SharedBlock && !main.SharedBlock->MenuOpen && !main.Host.Drag.Dragging && message.WParam == WM_LBUTTONDOWN)
        main.Host.StartDrag();
    return Handled(0);
}

HandlerResult OnStopDragIfRunning(TfrmMain& main, const WindowMessage&) {
    if (main.Host.Drag.Dragging) main.Host.SetDragging(false);
    return Handled(0);
}

HandlerResult OnCancelMode(TfrmMain& main, const WindowMessage&) {
    main.Host.SetDragging(false);
    return kCallDefault;
}

HandlerResult OnTimer(TfrmMain& main, const WindowMessage& message) {
    if (message.WParam == kDragTimerId) main.Host.DragStep(main.Opt);
    return kCallDefault;
}

}  // namespace hostmessages
