// The loop that runs while one of the engine's dialogs is open: the whole thread's queue is served
// (host window, timers, hook library messages), and the thread sleeps while the queue is empty.
#pragma once

#include <windows.h>

// Returns when the dialog window is gone or the quit flag is set.
void RunDialogLoop(HWND dialog);
