// The ratio-keeping resize: corrects the rectangle proposed by WM_SIZING so that the host keeps the
// proportions of its reference size.
#pragma once

#include <cstdint>

struct SizingRect {
    int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
};

struct SizingPoint {
    int32_t X = 0, Y = 0;
};

// The host's outer rectangle as of the last WM_MOVE/WM_SIZE (the option fields).
struct HostFrame {
    int32_t Left = 0, Top = 0, Width = 0, Height = 0;
};

// The WMSZ_* edge codes carried in WM_SIZING's wParam.
namespace sizingedge {
constexpr uint32_t kLeft = 1, kRight = 2, kTop = 3, kTopLeft = 4, kTopRight = 5, kBottom = 6,
                   kBottomLeft = 7, kBottomRight = 8;
}

// cursor: the cursor position while sizing, which decides for a corner whether the width or the
// height leads. Unknown edges leave the rectangle as it is, and so does a reference size without
// area, which has no ratio to keep.
void KeepRatio(uint32_t edge, SizingRect& r, SizingPoint cursor, const HostFrame& frame,
               int32_t referenceWidth, int32_t referenceHeight);
