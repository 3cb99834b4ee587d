// Where the host window is created and how a windowed host is aligned on the screen.
#pragma once

#include <cstdint>

#include "payload/options.h"

struct InitialHostRect {
    int32_t X = 0, Y = 0, Width = 0, Height = 0;
    bool Maximise = false;  // send SC_MAXIMIZE right after creation
};

// The rectangle the host is created with. The screen-sized cases write their rectangle back into
// opt.Left/Top/Width/Height.
InitialHostRect PlanInitialHostRect(Options& opt, int32_t screenWidth, int32_t screenHeight);

// AlignmentH/AlignmentV: 1 left/top, 2 centred, 3 right/bottom, anything else keeps Left/Top.
// Only a host with FullScreen off is aligned.
void ApplyAlignment(Options& opt, int32_t screenWidth, int32_t screenHeight);
