#include <gtest/gtest.h>

#include "engine/command_line_args.h"

TEST(CommandLineArgs, SplitsOnBlanksAndDropsQuotes) {
    const std::vector<std::string> expected = {"C:\\Program Files\\demo.exe", "/c", "a b"};
    EXPECT_EQ(SplitCommandLine("\"C:\\Program Files\\demo.exe\"  /c \"a b\""), expected);
    EXPECT_TRUE(SplitCommandLine("   ").empty());
}

TEST(CommandLineArgs, ConfigurationModeIsSlashCInAnyCase) {
    EXPECT_TRUE(IsConfigurationModeArgument("/C"));
    EXPECT_TRUE(IsConfigurationModeArgument("/c"));
    EXPECT_FALSE(IsConfigurationModeArgument("/C1"));
    EXPECT_FALSE(IsConfigurationModeArgument(""));
}

TEST(CommandLineArgs, PathParts) {
    struct Case {
        const char* Path;
        const char* Directory;
        const char* FileName;
    };
    const Case cases[] = {
        {"C:\\dir\\demo.exe", "C:\\dir", "demo.exe"},
        {"C:\\demo.exe", "C:\\", "demo.exe"},  // a drive root keeps its backslash
        {"C:demo.exe", "C:", "demo.exe"},
        {"demo.exe", "", "demo.exe"},
        {"\\\\server\\share\\demo.exe", "\\\\server\\share", "demo.exe"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DirectoryPart(c.Path), c.Directory) << c.Path;
        EXPECT_EQ(FileNamePart(c.Path), c.FileName) << c.Path;
    }
}
