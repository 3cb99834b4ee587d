#include <gtest/gtest.h>

#include "window/host_style.h"

namespace {

struct StyleCase {
    const char* Name;
    bool FullScreen, CustomSize, NoBorder, NoTitle, AllowResize, AlwaysOnTop;
    OsFlags Os;
    uint32_t Style, ExStyle;
};

constexpr OsFlags kNt5{false, false, false, true};
constexpr OsFlags kMe{false, false, true, false};
constexpr OsFlags k98{false, true, false, false};
constexpr OsFlags k95{true, false, false, false};
constexpr OsFlags kNewer{};  // NT 4 or NT 6 and later: no flag set

constexpr uint32_t kApp = 0x00040000u, kTop = 0x00000008u, kClip = 0x02000000u;

const StyleCase kCases[] = {
    // True full screen: the windowed options are not consulted; topmost only on Me and NT 5.
    {"true full screen NT5", true, false, false, false, false, false, kNt5, 0x80080000u | kClip, kApp | kTop},
    {"true full screen Me", true, false, true, true, true, true, kMe, 0x80080000u | kClip, kApp | kTop},
    {"true full screen 98", true, false, false, false, true, true, k98, 0x80080000u | kClip, kApp},
    {"true full screen 95", true, false, false, true, false, false, k95, 0x80080000u | kClip, kApp},
    {"true full screen newer NT", true, false, false, false, false, true, kNewer, 0x80080000u | kClip, kApp},
    // Windowed rows of the style table.
    {"no border", false, false, true, false, false, false, kNt5, 0x80080000u | kClip, kApp},
    {"no border ignores title and resize", false, false, true, true, true, false, kNt5, 0x80080000u | kClip, kApp},
    {"no title, resizable", false, false, false, true, true, false, kNt5, 0x800C0000u | kClip, kApp},
    {"no title, fixed", false, false, false, true, false, false, kNt5, 0x80880000u | kClip, kApp},
    {"caption, resizable", false, false, false, false, true, false, kNt5, 0x80CF0000u | kClip, kApp},
    {"caption, fixed", false, false, false, false, false, false, kNt5, 0x80CB0000u | kClip, kApp},
    // Topmost when AlwaysOnTop or FullScreen (with a custom size), whatever the system.
    {"always on top", false, false, false, false, false, true, k95, 0x80CB0000u | kClip, kApp | kTop},
    {"full screen custom size", true, true, false, false, true, false, k98, 0x80CF0000u | kClip, kApp | kTop},
    {"full screen custom no border", true, true, true, false, false, false, kNewer, 0x80080000u | kClip, kApp | kTop},
};

TEST(HostStyle, MatchesTable) {
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.Name);
        Options opt;
        opt.FullScreen.Value = c.FullScreen;
        opt.CustomSize.Value = c.CustomSize;
        opt.NoBorder.Value = c.NoBorder;
        opt.NoTitle.Value = c.NoTitle;
        opt.AllowResize.Value = c.AllowResize;
        opt.AlwaysOnTop.Value = c.AlwaysOnTop;
        const HostStyle s = ComputeHostStyle(opt, c.Os);
        EXPECT_EQ(s.Style, c.Style);
        EXPECT_EQ(s.ExStyle, c.ExStyle);
        EXPECT_EQ(s.Style & hoststyle::kVisible, 0u) << "the host is created hidden";
    }
}

}  // namespace
