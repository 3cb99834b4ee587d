// Dragging the host by the movie: the host stays put until the cursor is 8 pixels or more away from
// where the press began, in x or in y; from then on it follows the cursor exactly. Portable.
#pragma once

#include <cstdint>

constexpr int32_t kDragThreshold = 8;
constexpr uint32_t kDragTimerId = 1231;
constexpr uint32_t kDragTimerPeriodMs = 11;

struct DragPoint {
    int32_t X, Y;
};

struct DragState {
    bool Dragging = false;
    uintptr_t Timer = 0;  // what SetTimer returned, 0 when stopped
    bool Moved = false;   // the host has moved in this drag
    DragPoint Last{0, 0};  // the cursor at the start of the drag or at the last move
};

// One timer step: with the button still down and the cursor at `cursor`, whether the host moves,
// and by how much. Updates Moved and Last when it does.
struct DragMove {
    bool Move = false;
    int32_t Dx = 0, Dy = 0;
};
DragMove StepDrag(DragState& state, DragPoint cursor);
