#include "engine/win32/tfrm_main.h"
#include "window/win32/window_message_handlers.h"

namespace hostmessages {

HandlerResult OnMove(TfrmMain& main, const WindowMessage&) {
    main.Host.OnMove(main.Opt);
    return kCallDefault;
}

HandlerResult OnSize(TfrmMain& main, const WindowMessage&) {
    main.Host.OnSize(main.Opt);
    return kCallDefault;
}

HandlerResult OnSizing(TfrmMain& main, const WindowMessage& message) {
    if (message.LParam) main.Host.OnSizing(message.WParam, *reinterpret_cast<RECT*>(message.LParam), main.Opt);
    return kCallDefault;
}

}  // namespace hostmessages
