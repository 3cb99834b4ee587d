#include "engine/win32/dialog_loop.h"

#include "engine/win32/message_pump.h"

void RunDialogLoop(HWND dialog) {
    // Waiting for the next message instead of polling: an open dialog that the user only looks at
    // must not keep a processor busy. The quit flag is only ever set by a message (WM_QUIT) or by
    // the code that runs around this loop, so a message always wakes it.
    while (IsWindow(dialog) && !Program().QuitFlag) {
        if (!PumpMessage()) WaitMessage();
    }
}
