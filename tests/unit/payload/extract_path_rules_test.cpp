#include "payload/extract_path_rules.h"

#include <gtest/gtest.h>

namespace {

TEST(ExtractPathRules, FileNamesAreSinglePlainSteps) {
    for (const char* good : {"movie.swf", "quenbyrun.dll", "a b.txt", ".hidden", "editor.vtools.ini"})
        EXPECT_TRUE(IsPlainFileName(good)) << good;
    for (const char* bad : {"", ".", "..", "...", ". .", "..\\evil.dll", "sub/evil.dll", "C:evil.dll",
                            "file.txt:stream", "\\evil", "/etc/passwd"})
        EXPECT_FALSE(IsPlainFileName(bad)) << bad;
}

TEST(ExtractPathRules, RecordPlacementsStayInsideTheWorkingDirectory) {
    for (const char* good : {"", ".", "movies", "movies\\intro", "movies/intro\\", "a\\.\\b", "..x", "x..",
                             "VTOOL.EDIT", "VTOOL.SATELLITE:VEDIT.EXE"})
        EXPECT_TRUE(IsSafeRecordPlacement(good)) << good;
    for (const char* bad : {"..", "..\\up", "movies\\..\\..\\up", "a/../..", "\\abs", "/abs", "C:\\abs", "C:rel",
                            "\\\\server\\share", "movies:stream", "...", "a\\. .\\b", "vtool.x:y"})
        EXPECT_FALSE(IsSafeRecordPlacement(bad)) << bad;
}

TEST(ExtractPathRules, TargetsMustLieUnderTheTargetDirectory) {
    EXPECT_TRUE(IsInsideTargetDir("C:\\w\\", "C:\\w\\"));
    EXPECT_TRUE(IsInsideTargetDir("C:\\w\\movies\\intro\\", "C:\\w\\"));
    EXPECT_TRUE(IsInsideTargetDir("C:\\w\\", "C:\\w"));
    EXPECT_TRUE(IsInsideTargetDir("/tmp/x/sub\\", "/tmp/x/"));
    EXPECT_FALSE(IsInsideTargetDir("C:\\w2\\", "C:\\w"));
    EXPECT_FALSE(IsInsideTargetDir("C:\\other\\", "C:\\w\\"));
    EXPECT_FALSE(IsInsideTargetDir("C:\\w\\..\\", "C:\\w\\"));
    EXPECT_FALSE(IsInsideTargetDir("C:\\w\\a\\..\\..\\b\\", "C:\\w\\"));
    EXPECT_FALSE(IsInsideTargetDir("C:\\w\\D:\\", "C:\\w\\"));
}

}  // namespace
