#include "window/host_placement.h"

#include "window/host_style.h"

InitialHostRect PlanInitialHostRect(Options& opt, int32_t screenWidth, int32_t screenHeight) {
    InitialHostRect rect;
    const bool fullScreenCustom = opt.FullScreen.Value && opt.CustomSize.Value;
    const bool screenSized =
        IsTrueFullScreen(opt) || (fullScreenCustom && (opt.NoTitle.Value || opt.NoBorder.Value));
    if (screenSized) {
        opt.Left = 0;
        opt.Top = 0;
        opt.Width = screenWidth;
        opt.Height = screenHeight;
    }
    rect.X = opt.Left;
    rect.Y = opt.Top;
    rect.Width = opt.Width;
    rect.Height = opt.Height;
    rect.Maximise = fullScreenCustom && !opt.NoTitle.Value && !opt.NoBorder.Value;
    return rect;
}

namespace {

// C++ integer division truncates toward zero, as the alignment rule wants (-7 / 2 == -3).
int32_t AlignedPosition(int32_t alignment, int32_t current, int32_t screenSize, int32_t windowSize) {
    switch (alignment) {
        case 1: return 0;
        case 2: return static_cast<int32_t>((static_cast<int64_t>(screenSize) - windowSize) / 2);
        case 3: return static_cast<int32_t>(static_cast<int64_t>(screenSize) - windowSize);
        default: return current;
    }
}

}  // namespace

void ApplyAlignment(Options& opt, int32_t screenWidth, int32_t screenHeight) {
    if (opt.FullScreen.Value) return;
    opt.Left = AlignedPosition(opt.AlignmentH, opt.Left, screenWidth, opt.Width);
    opt.Top = AlignedPosition(opt.AlignmentV, opt.Top, screenHeight, opt.Height);
}
