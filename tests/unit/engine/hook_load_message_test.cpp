#include "engine/hook_load_message.h"

#include <gtest/gtest.h>

namespace {

TEST(HookLoadMessage, NamesTheFixedLibraryNameAndSaysWhetherTheFileExists) {
    EXPECT_EQ(HookLibraryLoadFailureText(true, "Bad EXE format for %1.\r\n"),
              "quenbyrun.dll exists but have not loaded: Bad EXE format for %1");
    EXPECT_EQ(HookLibraryLoadFailureText(false, "File not found.\r\n"),
              "quenbyrun.dll not loaded: File not found");
}

TEST(HookLoadMessage, OnlyTrailingSpacesControlsAndFullStopsAreRemoved) {
    struct Case {
        const char* in;
        const char* out;
    } cases[] = {
        {"The file is damaged. . .  \r\n\t", "The file is damaged"},
        {"Line one.\r\nLine two.\r\n", "Line one.\r\nLine two"},
        {"v1.2 failed", "v1.2 failed"},
        {" .\r\n", ""},
        {"", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.in);
        EXPECT_EQ(TrimSystemErrorText(c.in), c.out);
    }
    EXPECT_EQ(HookLibraryLoadFailureText(false, ""), "quenbyrun.dll not loaded: ");
}

}  // namespace
