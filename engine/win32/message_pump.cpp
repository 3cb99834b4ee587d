#include "engine/win32/message_pump.h"

#include "window/win32/host_window_procedure.h"

ProgramState& Program() {
    static ProgramState state;
    return state;
}

bool PumpMessage() {
    MSG message;
    if (!PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        // The idle loop polls rather than blocking in GetMessage: the run sequence's waits rely on it.
        Sleep(0);
        return false;
    }
    ProgramState& program = Program();
    if (message.message == WM_QUIT) {
        program.QuitFlag = true;
        return true;
    }
    bool handled = false;
    if (program.Filter) program.Filter.Handler(*program.Filter.Object, message, handled);
    if (!handled) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
        RethrowWindowProcedureException();
    }
    return true;
}

void PumpMessages() {
    while (PumpMessage()) {
    }
}
