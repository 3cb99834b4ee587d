// The window procedure registered for the host window class: hands every message to the current
// main object, or to DefWindowProcA while there is none.
#pragma once

#include <windows.h>

LRESULT CALLBACK HostWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// An exception thrown by a message handler cannot unwind through the system's dispatching frames
// (the 32-bit build's unwinder does not know them), so HostWindowProcedure keeps it and the message
// pump raises it again once DispatchMessageA has returned.
void RethrowWindowProcedureException();
