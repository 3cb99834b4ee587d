#include "window/drag_rule.h"

#include <cstdlib>

DragMove StepDrag(DragState& state, DragPoint cursor) {
    const int32_t dx = cursor.X - state.Last.X;
    const int32_t dy = cursor.Y - state.Last.Y;
    if (!state.Moved && std::abs(dx) < kDragThreshold && std::abs(dy) < kDragThreshold) return {};
    state.Last = cursor;
    state.Moved = true;
    return {true, dx, dy};
}
