#include "engine/win32/tfrm_main.h"
#include "window/win32/window_message_handlers.h"

namespace hostmessages {

// The movie's commands come as window texts; a text that is no command becomes the caption.
HandlerResult OnSetText(TfrmMain& main, const WindowMessage& message) {
    const LRESULT result = main.HandleSetText(message.WParam, message.LParam);
    return result ? Handled(result) : kCallDefault;
}

}  // namespace hostmessages
