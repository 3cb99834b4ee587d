// Tool folders in a real run: while the movie plays each tool directory holds its "vtools.ini",
// a copy of its tool's executable and of that tool's satellites; a tool name that would leave its
// directory is refused; at the end all of it is gone.
#include <windows.h>

#include <gtest/gtest.h>

#include "support/standin_report.h"

using namespace testsupport;

TEST(MovieToolFolders, ToolDirectoriesAreFilledWhileTheMovieRunsAndRemovedAfter) {
    std::vector<PackedFile> files = MovieFiles("CurrentDir=1\r\n");
    files.push_back(FileFromText("edit.vtools.ini", "[Edit]\r\nWindow=1\r\n"));
    files.push_back(FileFromText("notes.vtools.ini", "[Edit]\r\n"));  // a second directory for the same tool
    files.push_back(FileFromText("evil.vtools.ini", "[..\\..\\Evil]\r\n"));
    files.push_back(FileFromText("blank.vtools.ini", "[]\r\n"));
    files.push_back(FileFromText("vedit.exe", "the tool", "VTOOL.EXE"));
    files.push_back(FileFromText("edit.hlp", "its help", "VTOOL.SATELLITE:VEDIT.EXE"));
    files.push_back(FileFromText("wrongcase.txt", "not a satellite", "VTOOL.SATELLITE:VEdit.EXE"));
    Distributable app("toolfolders", files);
    TempDir work("report");
    MovieRun run = StartMovie(app, work.File("report.txt"));
    ASSERT_TRUE(CapturedAndShown(run.Report));

    // The projector starts in the working directory and lists it two levels deep; the engine's
    // claim on the directory is there too.
    const std::vector<std::string> expected = {
        "Obl_Rt.claim",      "blank\\vtools.ini", "edit.hlp",         "edit\\VEdit.EXE",  "edit\\edit.hlp",   "edit\\vtools.ini",
        "evil\\vtools.ini",  "movie.exe",        "notes\\VEdit.EXE", "notes\\edit.hlp",  "notes\\vtools.ini",
        "quenbyrun0.dll",    "vedit.exe",        "wrongcase.txt"};
    EXPECT_EQ(run.Report.Files(), expected);
    const std::string workDir = app.TempPath() + "Obl_Rt\\";
    const std::vector<uint8_t> copy = ReadFileBytes(workDir + "notes\\VEdit.EXE");
    EXPECT_EQ(std::string(copy.begin(), copy.end()), "the tool");
    EXPECT_FALSE(FileExists(app.TempPath() + "VEvil.EXE"));
    EXPECT_FALSE(FileExists(workDir + "VEvil.EXE"));

    PostMessageA(run.Report.Window(), WM_CLOSE, 0, 0);
    EXPECT_EQ(run.Engine->WaitForExit(30000), 0);
    EXPECT_TRUE(ListTree(app.TempPath()).empty()) << ::testing::PrintToString(ListTree(app.TempPath()));
}
