#include <gtest/gtest.h>

#include <climits>

#include "window/mul_div.h"
#include "window/ratio_resize.h"

// Found by argument lookup, so outside the anonymous namespace.
static bool operator==(const SizingRect& a, const SizingRect& b) {
    return a.Left == b.Left && a.Top == b.Top && a.Right == b.Right && a.Bottom == b.Bottom;
}

static std::ostream& operator<<(std::ostream& os, const SizingRect& r) {
    return os << "(" << r.Left << ", " << r.Top << ", " << r.Right << ", " << r.Bottom << ")";
}

namespace {

struct MulDivCase {
    int32_t A, B, C, Expected;
};

const MulDivCase kMulDivCases[] = {
    {640, 480, 480, 640},
    {480, 800, 640, 600},
    {1, 1, 2, 1},      // half rounds away from zero
    {-1, 1, 2, -1},
    {3, 1, 2, 2},
    {-3, 1, 2, -2},
    {3, -1, 2, -2},
    {3, 1, -2, -2},
    {-3, -1, 2, 2},
    {-3, 1, -2, 2},
    {7, 1, -2, -4},
    {4, 1, 3, 1},
    {5, 1, 3, 2},
    {-5, 1, 3, -2},
    {1, 1, 3, 0},
    {0, 5, 7, 0},
    {1, 1, 0, -1},     // divide by zero
    {0, 0, 0, -1},
    {INT_MAX, 1, 1, INT_MAX},
    {INT_MAX, INT_MAX, INT_MAX, INT_MAX},  // needs the 64-bit intermediate
    {100000, 100000, 1000, 10000000},
    {INT_MAX, 2, 1, -1},                   // does not fit
    {INT_MIN, 1, 1, -1},                   // -2^31 is reported as overflow too
    {INT_MIN, 1, -1, -1},
    {INT_MIN, INT_MIN, INT_MIN, -1},
    {-INT_MAX, 1, 1, -INT_MAX},
};

TEST(PortableMulDiv, MatchesWindowsRules) {
    for (const auto& c : kMulDivCases) {
        EXPECT_EQ(PortableMulDiv(c.A, c.B, c.C), c.Expected) << c.A << " * " << c.B << " / " << c.C;
    }
}

struct RatioCase {
    const char* Name;
    uint32_t Edge;
    SizingRect Proposed;
    SizingPoint Cursor;
    SizingRect Expected;
};

// Host at (100, 100), 640 x 480, reference 640 x 480 (4:3).
const HostFrame kFrame{100, 100, 640, 480};
constexpr int32_t kRefW = 640, kRefH = 480;

const RatioCase kRatioCases[] = {
    {"left edge: height from width", 1, {20, 100, 740, 580}, {0, 0}, {20, 100, 740, 640}},
    {"right edge: height from width", 2, {100, 100, 901, 580}, {0, 0}, {100, 100, 901, 701}},
    {"top edge: width from height", 3, {100, 40, 740, 580}, {0, 0}, {100, 40, 820, 580}},
    {"bottom edge: width from height", 6, {100, 100, 740, 481}, {0, 0}, {100, 100, 608, 481}},
    // Corners: when the cursor is nearer the left or right edge than the top or bottom edge the
    // width leads and the height follows; otherwise (ties included) the height leads.
    {"top-left, width leads", 4, {-60, 100, 740, 580}, {-60, -200}, {-60, -20, 740, 580}},
    {"top-left, height leads", 4, {-60, 100, 740, 580}, {-60, 110}, {100, 100, 740, 580}},
    {"top-left, tie: height leads", 4, {40, 40, 740, 580}, {40, 40}, {20, 40, 740, 580}},
    {"top-right, width leads", 5, {100, 100, 900, 580}, {900, -300}, {100, -20, 900, 580}},
    {"top-right, height leads", 5, {100, 40, 740, 580}, {800, 95}, {100, 40, 820, 580}},
    {"bottom-left, width leads", 7, {-60, 100, 740, 580}, {-60, 1000}, {-60, 100, 740, 700}},
    {"bottom-left, height leads", 7, {100, 100, 740, 700}, {40, 585}, {-60, 100, 740, 700}},
    {"bottom-right, width leads", 8, {100, 100, 900, 580}, {900, 1000}, {100, 100, 900, 700}},
    {"bottom-right, height leads", 8, {100, 100, 740, 700}, {800, 590}, {100, 100, 900, 700}},
    {"bottom-right, tie: height leads", 8, {100, 100, 750, 590}, {750, 590}, {100, 100, 753, 590}},
    {"unknown edge 0", 0, {1, 2, 3, 4}, {0, 0}, {1, 2, 3, 4}},
    {"unknown edge 9", 9, {1, 2, 3, 4}, {0, 0}, {1, 2, 3, 4}},
};

TEST(KeepRatio, CorrectsTheProposedRectangleByEdge) {
    for (const auto& c : kRatioCases) {
        SCOPED_TRACE(c.Name);
        SizingRect r = c.Proposed;
        KeepRatio(c.Edge, r, c.Cursor, kFrame, kRefW, kRefH);
        EXPECT_EQ(r, c.Expected);
    }
}

TEST(KeepRatio, RoundsToTheNearestPixel) {
    // 16:9 reference; width 101 gives height 56.8125 -> 57, width 100 gives 56.25 -> 56.
    SizingRect r{0, 0, 101, 10};
    KeepRatio(sizingedge::kRight, r, {}, kFrame, 1600, 900);
    EXPECT_EQ(r.Bottom, 57);
    r = {0, 0, 100, 10};
    KeepRatio(sizingedge::kRight, r, {}, kFrame, 1600, 900);
    EXPECT_EQ(r.Bottom, 56);
}

TEST(KeepRatio, ReferenceWithoutAreaLeavesTheRectangle) {
    for (auto ref : {std::pair{0, 480}, std::pair{640, 0}, std::pair{-640, 480}}) {
        SizingRect r{10, 20, 300, 400};
        KeepRatio(sizingedge::kBottomRight, r, {300, 400}, kFrame, ref.first, ref.second);
        EXPECT_EQ(r, (SizingRect{10, 20, 300, 400}));
    }
}

TEST(KeepRatio, ExtremeCoordinatesDoNotOverflow) {
    SizingRect r{INT_MIN, INT_MIN, INT_MAX, INT_MAX};
    KeepRatio(sizingedge::kTopLeft, r, {INT_MIN, INT_MAX}, {INT_MAX, INT_MIN, INT_MAX, INT_MAX}, 3, 2);
    KeepRatio(sizingedge::kBottomRight, r, {INT_MAX, INT_MIN}, {INT_MIN, INT_MAX, INT_MAX, INT_MAX}, 3, 2);
    SUCCEED();  // the sanitizers report any signed overflow
}

}  // namespace
