#include "window/drag_rule.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct DragCase {
    const char* Name;
    std::vector<DragPoint> Cursor;  // successive timer steps, the press at (100, 100)
    DragPoint ExpectedOffset;       // where the host ends, relative to where it began
};

void PrintTo(const DragCase& c, std::ostream* out) { *out << c.Name; }

class DragThresholdTable : public ::testing::TestWithParam<DragCase> {};

TEST_P(DragThresholdTable, HostOffset) {
    DragState state;
    state.Last = {100, 100};
    DragPoint host{0, 0};
    for (const DragPoint& p : GetParam().Cursor) {
        const DragMove move = StepDrag(state, p);
        if (move.Move) host = {host.X + move.Dx, host.Y + move.Dy};
    }
    EXPECT_EQ(host.X, GetParam().ExpectedOffset.X);
    EXPECT_EQ(host.Y, GetParam().ExpectedOffset.Y);
}

INSTANTIATE_TEST_SUITE_P(
    Drags, DragThresholdTable,
    ::testing::Values(DragCase{"SevenBothWays", {{107, 107}}, {0, 0}},
                      DragCase{"SevenLeftAndUp", {{93, 93}}, {0, 0}},
                      DragCase{"EightRight", {{108, 100}}, {8, 0}},
                      DragCase{"EightUpTakesTheWholeOffset", {{103, 92}}, {3, -8}},
                      DragCase{"CreepingBelowTheThresholdNeverMoves", {{103, 103}, {105, 105}, {107, 107}}, {0, 0}},
                      DragCase{"OnceMovedFollowsEveryPixel", {{110, 100}, {111, 100}, {111, 99}}, {11, -1}},
                      DragCase{"BackToTheStartAfterMoving", {{120, 100}, {100, 100}}, {0, 0}}),
    [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
