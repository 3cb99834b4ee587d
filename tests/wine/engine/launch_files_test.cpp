// File helpers of the projector start: the identical-copy comparison and the version check.
#include <gtest/gtest.h>

#include <windows.h>

#include "engine/win32/projector_launch.h"
#include "engine/win32/projector_version.h"
#include "support/test_files.h"

namespace {

using testsupport::TempDir;
using testsupport::WriteFileBytes;

TEST(SameFileContents, ComparesWholeFiles) {
    TempDir dir("same");
    const std::vector<uint8_t> content = {'M', 'Z', 0, 1, 2, 3, 0xFF};
    WriteFileBytes(dir.File("a.exe"), content);
    WriteFileBytes(dir.File("copy.exe"), content);
    WriteFileBytes(dir.File("longer.exe"), {'M', 'Z', 0, 1, 2, 3, 0xFF, 0});
    WriteFileBytes(dir.File("changed.exe"), {'M', 'Z', 0, 1, 2, 4, 0xFF});
    WriteFileBytes(dir.File("empty.exe"), {});

    const struct {
        const char* a;
        const char* b;
        bool expected;
    } cases[] = {
        {"a.exe", "copy.exe", true},     {"a.exe", "a.exe", true},         {"a.exe", "longer.exe", false},
        {"a.exe", "changed.exe", false}, {"a.exe", "missing.exe", false},  {"missing.exe", "other.exe", true},
        {"empty.exe", "missing.exe", true},  // a file that cannot be opened reads as empty
    };
    for (const auto& c : cases)
        EXPECT_EQ(SameFileContents(dir.File(c.a), dir.File(c.b)), c.expected) << c.a << " vs " << c.b;
}

TEST(SameFileContents, ReadsFilesOthersHoldOpenForWriting) {
    TempDir dir("same_open");
    WriteFileBytes(dir.File("a.exe"), {1, 2, 3});
    WriteFileBytes(dir.File("b.exe"), {1, 2, 3});
    HANDLE writer = CreateFileA(dir.File("b.exe").c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(SameFileContents(dir.File("a.exe"), dir.File("b.exe")));
    CloseHandle(writer);
}

TEST(ProjectorVersion, SixOrLaterFromTheProductVersion) {
    EXPECT_FALSE(ProjectorIsVersion6OrLater(testsupport::BinPath("standin_projector5.exe")));
    EXPECT_TRUE(ProjectorIsVersion6OrLater(testsupport::BinPath("standin_projector10.exe")));
}

TEST(ProjectorVersion, MissingOrUnversionedFilesCountAsOlder) {
    TempDir dir("version");
    WriteFileBytes(dir.File("plain.exe"), {'M', 'Z', 0, 0});
    EXPECT_FALSE(ProjectorIsVersion6OrLater(dir.File("plain.exe")));
    EXPECT_FALSE(ProjectorIsVersion6OrLater(dir.File("missing.exe")));
}

}  // namespace
