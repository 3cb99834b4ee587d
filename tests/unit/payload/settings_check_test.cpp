#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "payload/settings_check.h"

namespace {

// True when some warning starts with "line N: " and contains the fragment.
bool Warns(const std::vector<std::string>& warnings, int line, const std::string& fragment) {
    const std::string prefix = "line " + std::to_string(line) + ": ";
    for (const std::string& w : warnings)
        if (w.compare(0, prefix.size(), prefix) == 0 && w.find(fragment) != std::string::npos) return true;
    return false;
}

std::string Joined(const std::vector<std::string>& warnings) {
    std::string all;
    for (const std::string& w : warnings) all += w + "\n";
    return all;
}

TEST(SettingsCheck, AWellFormedFileHasNoWarnings) {
    const std::string ini =
        "; demo\r\n"
        "[Settings]\r\n"
        "FullScreen=1\r\nCustomSize=1\r\nStartInFullscreenMode=1\r\nWidth=0x280\r\nHeight=480\r\n"
        "Sound=2\r\nMidi=0\r\nMidiLoop=1\r\nQuenby Screen Name= Show \r\nPassword=0\r\nalignmentx=-12345\r\n"
        "\r\n"
        "[ProjectorVersion]\r\nMajor=0x00050000\r\n"
        "[EngineCommands]\r\nBeforeShow=tool.exe /q\r\n"
        "[RightMenuDeleteItems]\r\nCount=2\r\n0=1\r\n1=3\r\n";
    const auto warnings = CheckAuthorSettings(ini);
    EXPECT_TRUE(warnings.empty()) << Joined(warnings);
}

TEST(SettingsCheck, ReportsWhatTheEngineWillNotReadAsMeant) {
    const std::string ini =
        "Width=1\n"                          // 1 before any section
        "[Settings]\n"                       // 2
        " Height=600\n"                      // 3 blank before key
        "Left =5\n"                          // 4 blank before "="
        "Width=12px\n"                       // 5 not a number
        "FullScreen=2\n"                     // 6 switch out of range
        "Sound=3\n"                          // 7 choosable out of range
        "Sound=1\n"                          // 8 duplicate key
        "Colour=red\n"                       // 9 unknown key
        "Major=5\n"                          // 10 wrong section
        "just text\n"                        // 11 no "="
        "[Extra]\n"                          // 12 unknown section
        "[settings]\n"                       // 13 duplicate section
        "Width=800\n"                        // 14 (ignored with its section, no own warning)
        "[RightMenuDeleteItems]\n"           // 15
        "Count=60\n"                         // 16
        "3=x\n"                              // 17 not a number
        "55=1\n"                             // 18 past fifty
        "Top=1\n";                           // 19 unknown here
    const auto warnings = CheckAuthorSettings(ini);
    const std::string all = Joined(warnings);
    EXPECT_TRUE(Warns(warnings, 1, "before any section")) << all;
    EXPECT_TRUE(Warns(warnings, 3, "blanks")) << all;
    EXPECT_TRUE(Warns(warnings, 4, "blanks")) << all;
    EXPECT_TRUE(Warns(warnings, 5, "not a number")) << all;
    EXPECT_TRUE(Warns(warnings, 6, "neither 0 nor 1")) << all;
    EXPECT_TRUE(Warns(warnings, 7, "not 0, 1 or 2")) << all;
    EXPECT_TRUE(Warns(warnings, 8, "only the first")) << all;
    EXPECT_TRUE(Warns(warnings, 9, "unknown key")) << all;
    EXPECT_TRUE(Warns(warnings, 10, "[ProjectorVersion]")) << all;
    EXPECT_TRUE(Warns(warnings, 11, "neither a section header")) << all;
    EXPECT_TRUE(Warns(warnings, 12, "unknown section")) << all;
    EXPECT_TRUE(Warns(warnings, 13, "only the first one (line 2)")) << all;
    EXPECT_FALSE(Warns(warnings, 14, "")) << all;
    EXPECT_TRUE(Warns(warnings, 15, "only the first 50")) << all;
    EXPECT_TRUE(Warns(warnings, 17, "not a number")) << all;
    EXPECT_TRUE(Warns(warnings, 18, "beyond the 50")) << all;
    EXPECT_TRUE(Warns(warnings, 19, "belongs in section [Settings]")) << all;
    EXPECT_EQ(warnings.size(), 16u) << all;
    // In line order.
    EXPECT_EQ(warnings.front().compare(0, 7, "line 1:"), 0);
}

TEST(SettingsCheck, PointsOutIneffectiveCombinations) {
    const auto warnings = CheckAuthorSettings(
        "[Settings]\nFullScreen=1\nStartInFullscreenMode=1\n[RightMenuDeleteItems]\nCount=1\n0=4\n1=5\n");
    const std::string all = Joined(warnings);
    EXPECT_TRUE(Warns(warnings, 3, "no effect")) << all;
    EXPECT_TRUE(Warns(warnings, 7, "not below Count")) << all;
    EXPECT_EQ(warnings.size(), 2u) << all;
}

}  // namespace
