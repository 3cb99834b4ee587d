// Tool folders on the real file system: the executable found whatever its case, copies made and
// replaced, everything removed again, and a file in use given its retries and left.
#include <windows.h>

#include <gtest/gtest.h>

#include "commands/win32/win32_tool_folder_files.h"
#include "support/test_files.h"

using namespace testsupport;

TEST(ToolFoldersWine, DirectoriesAreFilledAndEmptiedAgain) {
    TempDir work("tools");
    const std::string w = work.Path();
    CreateDirectoryA((w + "edit").c_str(), nullptr);
    WriteTextFile(w + "edit\\vtools.ini", "[Edit]\r\nOption=1\r\n");
    WriteTextFile(w + "edit\\VEdit.EXE", "stale copy");  // replaced
    WriteTextFile(w + "vedit.exe", "tool");
    WriteTextFile(w + "edit.hlp", "help");
    std::vector<ToolFileEntry> toolFiles = {{w + "vedit.exe", "VTOOL.EXE"},
                                            {w + "edit.hlp", "VTOOL.SATELLITE:VEDIT.EXE"}};
    std::vector<std::string> toolDirs = {w + "edit\\", w + "edit\\vtools.ini"};

    Win32ToolFolderFiles files;
    PrepareToolDirs(files, w, toolFiles, toolDirs);
    EXPECT_EQ(ListTree(w), (std::vector<std::string>{"edit", "edit.hlp", "edit\\VEdit.EXE", "edit\\edit.hlp",
                                                       "edit\\vtools.ini", "vedit.exe"}));
    const std::vector<uint8_t> copied = ReadFileBytes(w + "edit\\VEdit.EXE");
    EXPECT_EQ(std::string(copied.begin(), copied.end()), "tool");

    RemoveToolFiles(files, toolFiles, toolDirs);
    EXPECT_TRUE(ListTree(w).empty()) << ::testing::PrintToString(ListTree(w));
}

TEST(ToolFoldersWine, FileInUseIsTriedFor22TimesThenLeft) {
    TempDir work("tools");
    const std::string path = work.File("vedit.exe");
    WriteTextFile(path, "tool");
    HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    Win32ToolFolderFiles files;
    const DWORD start = GetTickCount();
    RemoveToolFiles(files, {{path, "VTOOL.EXE"}}, {});
    const DWORD elapsed = GetTickCount() - start;
    EXPECT_GE(elapsed, 22u * 111u - 50u);
    EXPECT_TRUE(FileExists(path));
    CloseHandle(held);
}

TEST(ToolFoldersWine, FirstLineIsReadWhateverTheLineEnd) {
    TempDir work("tools");
    Win32ToolFolderFiles files;
    const std::pair<const char*, const char*> cases[] = {
        {"[A]\r\nx", "[A]"}, {"[B]\nx", "[B]"}, {"[C]", "[C]"}, {"\r\n[D]", ""}};
    for (const auto& [text, first] : cases) {
        WriteTextFile(work.File("vtools.ini"), text);
        std::string line = "unset";
        EXPECT_TRUE(files.ReadFirstLine(work.File("vtools.ini"), line));
        EXPECT_EQ(line, first);
    }
    WriteTextFile(work.File("empty.ini"), "");
    std::string line;
    EXPECT_FALSE(files.ReadFirstLine(work.File("empty.ini"), line));
    EXPECT_FALSE(files.ReadFirstLine(work.File("missing.ini"), line));
    EXPECT_EQ(files.UpperCase("VEdit.exe"), "VEDIT.EXE");
}
