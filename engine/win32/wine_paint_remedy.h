// Compatibility path for Wine's X11 driver, which does not draw a child window whose top-level
// window belongs to another process: the host's client area stays black. A plain child window of
// the host that carries the host's X11 window property makes the driver draw into the host's X
// window; the projector is reparented into that container instead of the host. On Windows the
// property never exists and nothing here runs.
#pragma once

#include <windows.h>

// Set to "1" to keep the plain window tree (projector a direct child of the host) under Wine.
constexpr char kNoWinePaintFixVariable[] = "STAGEHOST_NO_WINE_PAINT_FIX";

// The host carries Wine's X11 window property and the remedy is not switched off.
bool WinePaintRemedyNeeded(HWND host);

// A child of host at (0, 0) of the given size, carrying the host's X11 window property, or 0.
HWND CreateProjectorContainer(HWND host, int width, int height);

// Keeps the container at (0, 0) with the host's client size.
void FitProjectorContainer(HWND container, int width, int height);

// About 250 ms from now, once, redraws projector (frame, background and children) so the first
// frame appears; driven by a timer of the container, so it needs the queue to be pumped.
void ScheduleProjectorRedraw(HWND container, HWND projector);
