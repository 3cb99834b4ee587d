// Acting on a running movie as its user or its movie would: texts sent through the stand-in movie
// (which passes them to its host with WM_SETTEXT), mouse input at screen points, and the engine's
// popup menu found on the screen.
#pragma once

#include <windows.h>

#include <string>

namespace moviecontrol {

// The stand-in movie sends text to its host with this wParam; the host's answer, or -1 when the
// movie did not answer within 10 s.
LRESULT SendThroughMovie(HWND projector, const std::string& text, WPARAM wParam = 0);

// Real mouse input (through the system's input queue, as a user's).
void MoveCursor(POINT at);
void PressButton(bool left);
void ReleaseButton(bool left);
void Click(POINT at, bool left);

POINT CenterOf(HWND window);  // in screen coordinates

// A visible popup menu window of the process; nullptr when none appeared in time.
HWND WaitForPopupMenu(DWORD processId, DWORD timeoutMs);
// Chooses item (0-based) of a menu of itemCount items with the mouse.
void ChooseMenuItem(HWND menu, int item, int itemCount);

// Waits until the process has ended; true when it did within the time.
bool ProcessEnds(HANDLE process, DWORD timeoutMs);

}  // namespace moviecontrol
