// Dragging the host by the movie: an 11 ms timer follows the cursor while the primary button is
// down. The host never captures the mouse; the hook library reports presses from the projector.
#include "window/win32/host_window.h"

bool HostWindow::SetDragging(bool on) {
    if (Drag.Timer) KillTimer(Handle, kDragTimerId);
    Drag.Timer = on ? SetTimer(Handle, kDragTimerId, kDragTimerPeriodMs, nullptr) : 0;
    Drag.Dragging = on && Drag.Timer == kDragTimerId;
    return Drag.Dragging;
}

void HostWindow::StartDrag() {
    POINT cursor{};
    GetCursorPos(&cursor);
    Drag.Last = {cursor.x, cursor.y};
    Drag.Moved = false;
    SetDragging(true);
}

void HostWindow::DragStep(Options& opt) {
    if (!Drag.Dragging) return;
    POINT cursor{};
    GetCursorPos(&cursor);
    // The primary button: the right one when the buttons are swapped.
    const int button = GetSystemMetrics(SM_SWAPBUTTON) ? VK_RBUTTON : VK_LBUTTON;
    if (!(GetAsyncKeyState(button) & 0x8000)) {
        SetDragging(false);
        return;
    }
    const DragMove move = StepDrag(Drag, {cursor.x, cursor.y});
    if (!move.Move) return;
    opt.Left += move.Dx;
    opt.Top += move.Dy;
    MoveWindow(Handle, opt.Left, opt.Top, opt.Width, opt.Height, TRUE);
}
