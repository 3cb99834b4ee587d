#include "window/global_close_rule.h"

#include <gtest/gtest.h>

namespace {

TEST(GlobalCloseRule, NamesTheProgramByFileNameInAnyCase) {
    struct Case {
        const char* AtomText;
        bool Expected;
    } cases[] = {
        {"C:\\SOME\\DIR\\DEMO.EXE", true}, {"demo.exe", true},       {"D:demo.exe", true},
        {"C:\\dir\\Demo.Exe", true},       {"C:\\dir\\demo.ex", false}, {"C:\\dir\\xdemo.exe", false},
        {"C:\\demo.exe\\", false},         {"", false},               {"C:/dir/demo.exe", false},
    };
    for (const Case& c : cases) EXPECT_EQ(GlobalCloseNamesProgram(c.AtomText, "demo.exe"), c.Expected) << c.AtomText;
}

TEST(GlobalCloseRule, HandleValues) {
    struct Case {
        const char* Text;
        bool Parsed;
        int64_t Value;
    } cases[] = {
        {"65698", true, 65698}, {"-5", true, -5},        {"+7", true, 7},        {"$1A", true, 26},
        {"0x1a", true, 26},     {"", false, 0},          {"-", false, 0},        {"0x", false, 0},
        {" 12", false, 0},      {"12 ", false, 0},       {"12a", false, 0},      {"4294967295", true, 4294967295},
        {"4294967296", false, 0}, {"99999999999999999999999", false, 0},
    };
    for (const Case& c : cases) {
        int64_t value = 0;
        EXPECT_EQ(ParseHandleValue(c.Text, value), c.Parsed) << c.Text;
        if (c.Parsed) {
            EXPECT_EQ(value, c.Value) << c.Text;
        }
    }
}

TEST(GlobalCloseRule, HandleValueMatchesEitherSignedness) {
    EXPECT_TRUE(HandleValueMatches(65698, 65698u));
    EXPECT_TRUE(HandleValueMatches(4294967295, 0xFFFFFFFFu));
    EXPECT_TRUE(HandleValueMatches(-1, 0xFFFFFFFFu));
    EXPECT_FALSE(HandleValueMatches(65699, 65698u));
}

}  // namespace
