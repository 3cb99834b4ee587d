#include "engine/shared_control_block.h"
#include "engine/win32/tfrm_main.h"
#include "window/win32/window_message_handlers.h"

namespace hostmessages {

// The start message posted by the constructor: the whole run happens inside this handler.
HandlerResult OnStart(TfrmMain& main, const WindowMessage&) {
    main.HandleStart();
    return Handled(0);
}

// The hook library reports that the movie is ready; the supervision loop then shows it.
HandlerResult OnMovieReady(TfrmMain& main, const WindowMessage&) {
    if (main.SharedBlock) main.SharedBlock->MovieReady = 1;
    main.MovieReady = true;
    return Handled(0);
}

// WM_USER+12: the hook library asks for the end of the run (wParam 0); other values mean nothing.
HandlerResult OnCloseRequest(TfrmMain& main, const WindowMessage& message) {
    if (message.WParam == 0) SendMessageA(main.Host.Handle, WM_CLOSE, 0, 0);
    return Handled(0);
}

}  // namespace hostmessages
