#include <gtest/gtest.h>

#include "payload/registry_section.h"

namespace {

struct NumberCase {
    const char* Text;
    bool Readable;
    int32_t Value;
};

TEST(SettingsNumber, ReadsDecimalAndHexAndRefusesEverythingElse) {
    const NumberCase cases[] = {
        {"0", true, 0},
        {"640", true, 640},
        {"-17", true, -17},
        {"+5", true, 5},
        {"0x280", true, 640},
        {"0X280", true, 640},
        {"0x00050000", true, 327680},
        {"0xffffffff", true, -1},
        {"0x80000000", true, INT32_MIN},
        {"2147483647", true, INT32_MAX},
        {"-2147483648", true, INT32_MIN},
        {"007", true, 7},
        {"2147483648", false, 0},
        {"0x100000000", false, 0},
        {"", false, 0},
        {"-", false, 0},
        {"0x", false, 0},
        {"0xg1", false, 0},
        {" 1", false, 0},
        {"1 ", false, 0},
        {"1.5", false, 0},
        {"abc", false, 0},
        {"$10", false, 0},
        {"-0x10", false, 0},
    };
    for (const NumberCase& c : cases) {
        int32_t value = 12345;
        EXPECT_EQ(ParseSettingsNumber(c.Text, value), c.Readable) << '"' << c.Text << '"';
        EXPECT_EQ(value, c.Readable ? c.Value : 12345) << '"' << c.Text << '"';
    }
}

TEST(RegistrySection, CutsBeforeTheFirstExeOfTheLowerCaseName) {
    const std::pair<const char*, const char*> cases[] = {
        {"C:\\Games\\Demo.EXE", "Demo"},
        {"Demo.exe", "Demo"},
        {"C:\\dir.exe\\MyShow.Exe", "MyShow"},
        {"Show.exe.backup.exe", "Show"},
        {"show.exe2", "show"},
        {"C:\\Games\\demo.bin", ""},
        {"Z:/unix/like/Path.exe", "Path"},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(RegistrySectionName(c.first), c.second) << c.first;
}

}  // namespace
