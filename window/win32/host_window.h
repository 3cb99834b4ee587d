// The engine's top-level host window: class, creation, placement, fitting around the movie, the
// full-screen mode and the geometry kept in step by the window procedure.
#pragma once

#include <windows.h>

#include <cstdint>

#include "payload/options.h"
#include "window/drag_rule.h"
#include "window/os_flags.h"

// The OS flags of the running system, computed once per process from GetVersion and the platform id.
const OsFlags& CurrentOsFlags();

// Name of the host's window class.
extern const char kHostWindowClassName[];

class HostWindow {
public:
    HWND Handle = nullptr;
    HMENU PopupMenu = nullptr;  // the popup menu the host owns; destroyed with the window
    DragState Drag;             // a drag of the host by the movie (host_drag.cpp)

    int32_t ReferenceWidth = 0, ReferenceHeight = 0;  // the size the ratio-keeping resize keeps
    int32_t ScreenWidth = 0, ScreenHeight = 0;
    // The size the projector window must have; the supervision loop applies it when changed.
    int32_t ClientWidth = 0, ClientHeight = 0;
    bool ClientSizeChanged = false;
    bool FullScreenMode = false;  // entered by command 132, left by 133
    bool RatioResize = false;     // set by the first ratio-keeping resize; the background turns gray
    RECT SavedRect{};             // window rectangle and style when full-screen mode was entered
    LONG SavedStyle = 0;

    // Constructor step before the settings: the screen size becomes the client size and the
    // host's Width and Height.
    void ReadScreenSize(Options& opt);

    // Registers the class (again, after a restart) and creates the hidden host window.
    void Create(Options& opt, WNDPROC windowProcedure, HINSTANCE instance);

    // Gives the projector the screen name and, for a windowed host without a custom size, wraps the
    // host around the projector's client area.
    void FitHostToMovie(HWND projector, Options& opt);

    // Places a windowed host by AlignmentH/AlignmentV (fields only; the capture step moves it).
    void ApplyAlignment(Options& opt) const;

    // WM_COMMAND 132 and 133. lParam is the message's; the result says whether the message goes on
    // to DefWindowProcA (false: the command was refused and the procedure returns 0).
    bool EnterFullScreenMode(HWND projector, LPARAM lParam, const Options& opt);
    bool LeaveFullScreenMode(HWND projector, LPARAM lParam, const Options& opt);

    // WM_MOVE, WM_SIZE: keep Left/Top/Width/Height (and the client size) equal to the window.
    void OnMove(Options& opt);
    void OnSize(Options& opt);
    // WM_SIZING: the ratio-keeping resize when MaintainRatio is on.
    void OnSizing(WPARAM edge, RECT& proposed, const Options& opt);

    // Dragging (host_drag.cpp). SetDragging(true) (re)starts the drag timer and says whether it
    // runs; SetDragging(false) stops it. StartDrag takes the cursor as the drag's starting point.
    // DragStep is one timer step: it ends the drag once the primary button is up, else moves the
    // host (Left/Top of opt) after the cursor once it has left the starting square.
    bool SetDragging(bool on);
    void StartDrag();
    void DragStep(Options& opt);
};
