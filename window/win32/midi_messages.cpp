#include "engine/win32/tfrm_main.h"
#include "window/win32/window_message_handlers.h"

namespace hostmessages {

// Posted once by the supervision loop when the movie is first shown.
HandlerResult OnStartMidi(TfrmMain& main, const WindowMessage&) {
    main.StartMidi();
    return Handled(0);
}

// A play (or stop) of the MIDI device has ended.
HandlerResult OnMidiNotify(TfrmMain& main, const WindowMessage& message) {
    main.HandleMidiNotify(message.WParam);
    return kCallDefault;
}

}  // namespace hostmessages
