#include <gtest/gtest.h>

#include "window/host_placement.h"

namespace {

constexpr int32_t kScreenW = 1024, kScreenH = 768;

struct RectCase {
    const char* Name;
    bool FullScreen, CustomSize, NoBorder, NoTitle;
    int32_t X, Y, W, H;  // expected rectangle, also expected back in the option fields
    bool Maximise;
};

// Configured rectangle in every case: 30, 40, 500, 300.
const RectCase kRectCases[] = {
    {"windowed keeps the settings", false, false, false, false, 30, 40, 500, 300, false},
    {"windowed custom size keeps the settings", false, true, true, true, 30, 40, 500, 300, false},
    {"true full screen covers the screen", true, false, true, false, 0, 0, kScreenW, kScreenH, false},
    {"full screen custom, no border", true, true, true, false, 0, 0, kScreenW, kScreenH, false},
    {"full screen custom, no title", true, true, false, true, 0, 0, kScreenW, kScreenH, false},
    {"full screen custom, captioned: maximised", true, true, false, false, 30, 40, 500, 300, true},
};

TEST(InitialHostRect, FollowsTheFullScreenCases) {
    for (const auto& c : kRectCases) {
        SCOPED_TRACE(c.Name);
        Options opt;
        opt.FullScreen.Value = c.FullScreen;
        opt.CustomSize.Value = c.CustomSize;
        opt.NoBorder.Value = c.NoBorder;
        opt.NoTitle.Value = c.NoTitle;
        opt.Left = 30;
        opt.Top = 40;
        opt.Width = 500;
        opt.Height = 300;
        const InitialHostRect r = PlanInitialHostRect(opt, kScreenW, kScreenH);
        EXPECT_EQ(r.X, c.X);
        EXPECT_EQ(r.Y, c.Y);
        EXPECT_EQ(r.Width, c.W);
        EXPECT_EQ(r.Height, c.H);
        EXPECT_EQ(r.Maximise, c.Maximise);
        EXPECT_EQ(opt.Left, c.X);
        EXPECT_EQ(opt.Top, c.Y);
        EXPECT_EQ(opt.Width, c.W);
        EXPECT_EQ(opt.Height, c.H);
    }
}

struct AlignCase {
    const char* Name;
    int32_t AlignH, AlignV, Width, Height;
    int32_t Left, Top;  // expected; settings Left 17, Top 23
};

const AlignCase kAlignCases[] = {
    {"left/top", 1, 1, 640, 480, 0, 0},
    {"centred", 2, 2, 640, 480, 192, 144},
    {"centred odd remainder", 2, 2, 641, 479, 191, 144},
    {"right/bottom", 3, 3, 640, 480, 384, 288},
    {"zero keeps the settings", 0, 0, 640, 480, 17, 23},
    {"unknown values keep the settings", 4, -1, 640, 480, 17, 23},
    {"mixed", 3, 1, 100, 50, 924, 0},
    // Wider than the screen: the negative half truncates toward zero (-7 / 2 == -3).
    {"centred wider than the screen", 2, 2, kScreenW + 7, kScreenH + 9, -3, -4},
    {"right edge of a wider window", 3, 3, kScreenW + 7, kScreenH + 9, -7, -9},
};

TEST(ApplyAlignment, PlacesTheWindowedHost) {
    for (const auto& c : kAlignCases) {
        SCOPED_TRACE(c.Name);
        Options opt;
        opt.Left = 17;
        opt.Top = 23;
        opt.Width = c.Width;
        opt.Height = c.Height;
        opt.AlignmentH = c.AlignH;
        opt.AlignmentV = c.AlignV;
        ApplyAlignment(opt, kScreenW, kScreenH);
        EXPECT_EQ(opt.Left, c.Left);
        EXPECT_EQ(opt.Top, c.Top);
        EXPECT_EQ(opt.Width, c.Width);
        EXPECT_EQ(opt.Height, c.Height);
    }
}

TEST(ApplyAlignment, LeavesAFullScreenHostAlone) {
    for (bool custom : {false, true}) {
        Options opt;
        opt.FullScreen.Value = true;
        opt.CustomSize.Value = custom;
        opt.Left = 17;
        opt.Top = 23;
        opt.Width = 100;
        opt.Height = 100;
        opt.AlignmentH = 3;
        opt.AlignmentV = 3;
        ApplyAlignment(opt, kScreenW, kScreenH);
        EXPECT_EQ(opt.Left, 17);
        EXPECT_EQ(opt.Top, 23);
    }
}

}  // namespace
