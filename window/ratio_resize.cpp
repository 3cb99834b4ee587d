#include "window/ratio_resize.h"

#include "window/mul_div.h"

namespace {

int64_t Distance(int64_t a, int64_t b) { return a > b ? a - b : b - a; }

// Rectangle sides wrap like the 32-bit arithmetic of the system they come from.
int32_t Wrap(int64_t value) { return static_cast<int32_t>(static_cast<uint32_t>(value)); }

}  // namespace

void KeepRatio(uint32_t edge, SizingRect& r, SizingPoint cursor, const HostFrame& frame,
               int32_t referenceWidth, int32_t referenceHeight) {
    if (referenceWidth <= 0 || referenceHeight <= 0) return;
    const auto heightFromWidth = [&] {
        return int64_t{PortableMulDiv(referenceHeight, Wrap(int64_t{r.Right} - r.Left), referenceWidth)};
    };
    const auto widthFromHeight = [&] {
        return int64_t{PortableMulDiv(referenceWidth, Wrap(int64_t{r.Bottom} - r.Top), referenceHeight)};
    };

    const int64_t leftEdge = frame.Left;
    const int64_t rightEdge = int64_t{frame.Left} + frame.Width;
    const int64_t topEdge = frame.Top;
    const int64_t bottomEdge = int64_t{frame.Top} + frame.Height;

    using namespace sizingedge;
    switch (edge) {
        case kLeft:
        case kRight:
            r.Bottom = Wrap(r.Top + heightFromWidth());
            return;
        case kTop:
        case kBottom:
            r.Right = Wrap(r.Left + widthFromHeight());
            return;
        default:
            break;
    }
    if (edge < kTopLeft || edge > kBottomRight) return;

    // A corner: the edge the cursor is nearer to leads; on a tie the width follows the height.
    const bool atLeft = edge == kTopLeft || edge == kBottomLeft;
    const bool atTop = edge == kTopLeft || edge == kTopRight;
    const int64_t dx = Distance(cursor.X, atLeft ? leftEdge : rightEdge);
    const int64_t dy = Distance(cursor.Y, atTop ? topEdge : bottomEdge);
    if (dx < dy) {
        if (atTop)
            r.Top = Wrap(r.Bottom - heightFromWidth());
        else
            r.Bottom = Wrap(r.Top + heightFromWidth());
    } else {
        if (atLeft)
            r.Left = Wrap(r.Right - widthFromHeight());
        else
            r.Right = Wrap(r.Left + widthFromHeight());
    }
}
