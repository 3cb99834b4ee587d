// The program-wide state of the message-driven design: quit and restart flags, the message filter
// and the current main object. Everything runs on the main thread.
#pragma once

#include <windows.h>

class TfrmMain;

// A filter sees each message before dispatch and may mark it handled.
using MessageFilterProc = void (*)(TfrmMain& object, MSG& message, bool& handled);

struct MessageFilter {
    MessageFilterProc Handler = nullptr;
    TfrmMain* Object = nullptr;
    explicit operator bool() const { return Handler != nullptr; }
};

struct ProgramState {
    bool QuitFlag = false;
    bool RestartFlag = true;
    MessageFilter Filter;
    TfrmMain* MainObject = nullptr;
};

ProgramState& Program();

// Takes at most one message from the queue; false when there was none (after Sleep(0)).
bool PumpMessage();
// Calls PumpMessage until the queue is empty.
void PumpMessages();
