// Tool folders against an in-memory file system: what is copied where, what is listed, what is
// refused, and the order and patience of the removal.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <set>

#include "commands/tool_folders.h"

namespace {

const std::string kWork = "C:\\t\\Obl_Rt\\";

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// Paths compare without regard to case, as the system's do.
class FakeToolFileSystem : public ToolFolderFileSystem {
public:
    std::map<std::string, std::string> Files;  // lower-case path -> contents
    std::set<std::string> Unreadable;
    std::set<std::string> Stubborn;  // cannot be deleted
    std::vector<std::string> Copies, Deletions, RemovedDirs;
    std::vector<uint32_t> Pauses;

    void Put(const std::string& path, const std::string& contents) { Files[Lower(path)] = contents; }
    bool Has(const std::string& path) const { return Files.count(Lower(path)) != 0; }

    bool ReadFirstLine(const std::string& path, std::string& line) override {
        auto found = Files.find(Lower(path));
        if (found == Files.end() || Unreadable.count(Lower(path)) || found->second.empty()) return false;
        line = found->second.substr(0, found->second.find_first_of("\r\n"));
        return true;
    }
    bool CopyFileReplacing(const std::string& from, const std::string& to) override {
        Copies.push_back(from + " > " + to);
        auto found = Files.find(Lower(from));
        if (found == Files.end()) return false;
        Files[Lower(to)] = found->second;
        return true;
    }
    bool RemoveFile(const std::string& path) override {
        Deletions.push_back(path);
        if (Stubborn.count(Lower(path))) return false;
        return Files.erase(Lower(path)) != 0;
    }
    void RemoveEmptyDirectory(const std::string& path) override { RemovedDirs.push_back(path); }
    std::string UpperCase(const std::string& text) override {
        std::string upper = text;
        for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        return upper;
    }
    void Pause(uint32_t ms) override { Pauses.push_back(ms); }
};

// What the extraction leaves for a tool directory named dir with the given "vtools.ini" text.
void ExtractToolDir(FakeToolFileSystem& fs, std::vector<std::string>& toolDirs, const std::string& dir,
                    const std::string& ini) {
    toolDirs.push_back(kWork + dir + "\\");
    toolDirs.push_back(kWork + dir + "\\vtools.ini");
    fs.Put(kWork + dir + "\\vtools.ini", ini);
}

ToolFileEntry ExtractToolFile(FakeToolFileSystem& fs, const std::string& name, const std::string& placement) {
    fs.Put(kWork + name, "contents of " + name);
    return {kWork + name, placement};
}

}  // namespace

TEST(ToolFolders, ExecutableAndSatellitesAreCopiedIntoEveryDirectoryNamingTheTool) {
    FakeToolFileSystem fs;
    std::vector<std::string> toolDirs;
    ExtractToolDir(fs, toolDirs, "edit", "[Edit]\r\nmore=1\r\n");
    ExtractToolDir(fs, toolDirs, "edit2", "[Edit]");
    const std::vector<ToolFileEntry> toolFiles = {
        ExtractToolFile(fs, "vedit.exe", "VTOOL.EXE"),
        ExtractToolFile(fs, "edit.hlp", "VTOOL.SATELLITE:VEDIT.EXE"),
        ExtractToolFile(fs, "wrongcase.dat", "VTOOL.SATELLITE:VEdit.EXE"),  // the key is upper case
        ExtractToolFile(fs, "other.dll", "VTOOL.SATELLITE:VOTHER.EXE"),
    };
    PrepareToolDirs(fs, kWork, toolFiles, toolDirs);

    // The last directory first; every copy listed after the directory's own entries.
    const std::vector<std::string> expected = {
        kWork + "edit\\",          kWork + "edit\\vtools.ini",  kWork + "edit2\\",
        kWork + "edit2\\vtools.ini", kWork + "edit2\\VEdit.EXE", kWork + "edit2\\edit.hlp",
        kWork + "edit\\VEdit.EXE", kWork + "edit\\edit.hlp"};
    EXPECT_EQ(toolDirs, expected);
    EXPECT_TRUE(fs.Has(kWork + "edit\\VEdit.EXE"));
    EXPECT_EQ(fs.Files[Lower(kWork + "edit2\\edit.hlp")], "contents of edit.hlp");
    EXPECT_FALSE(fs.Has(kWork + "edit\\wrongcase.dat"));

    RemoveToolFiles(fs, toolFiles, toolDirs);
    // Each directory's files before the directory itself, then the tool files, last first.
    const std::vector<std::string> deletions = {
        kWork + "edit\\edit.hlp",  kWork + "edit\\VEdit.EXE", kWork + "edit2\\edit.hlp",
        kWork + "edit2\\VEdit.EXE", kWork + "edit2\\vtools.ini", kWork + "edit\\vtools.ini",
        kWork + "other.dll",       kWork + "wrongcase.dat",   kWork + "edit.hlp",
        kWork + "vedit.exe"};
    EXPECT_EQ(fs.Deletions, deletions);
    EXPECT_EQ(fs.RemovedDirs, (std::vector<std::string>{kWork + "edit2", kWork + "edit"}));
    EXPECT_TRUE(fs.Files.empty());
    EXPECT_TRUE(fs.Pauses.empty());
}

struct FirstLineCase {
    const char* Name;
    const char* Ini;  // nullptr: the file cannot be read
};

void PrintTo(const FirstLineCase& c, std::ostream* out) { *out << c.Name; }

class ToolWithoutName : public ::testing::TestWithParam<FirstLineCase> {};

TEST_P(ToolWithoutName, LeavesItsDirectoryAsExtracted) {
    FakeToolFileSystem fs;
    std::vector<std::string> toolDirs;
    ExtractToolDir(fs, toolDirs, "tool", GetParam().Ini ? GetParam().Ini : "");
    if (!GetParam().Ini) fs.Unreadable.insert(Lower(kWork + "tool\\vtools.ini"));
    const std::vector<ToolFileEntry> toolFiles = {ExtractToolFile(fs, "vedit.exe", "VTOOL.EXE")};
    const std::vector<std::string> before = toolDirs;
    PrepareToolDirs(fs, kWork, toolFiles, toolDirs);
    EXPECT_EQ(toolDirs, before);
    EXPECT_TRUE(fs.Copies.empty());
}

INSTANTIATE_TEST_SUITE_P(
    FirstLines, ToolWithoutName,
    ::testing::Values(FirstLineCase{"EmptyBrackets", "[]\r\n"}, FirstLineCase{"NoBrackets", "Edit\r\n"},
                      FirstLineCase{"OpenBracketOnly", "[Edit\r\n"}, FirstLineCase{"NoLine", ""},
                      FirstLineCase{"Unreadable", nullptr}, FirstLineCase{"NameOnSecondLine", "\r\n[Edit]"},
                      // Names that would place a copy outside the tool directory.
                      FirstLineCase{"Backslash", "[..\\..\\evil]"}, FirstLineCase{"Slash", "[x/y]"},
                      FirstLineCase{"Drive", "[C:x]"}, FirstLineCase{"Stream", "[Edit:stream]"},
                      FirstLineCase{"DotDot", "[..]"}, FirstLineCase{"DotDotInside", "[a..b]"}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(ToolFolders, MissingExecutableIsListedAndCostsTheFullRetriesAtRemoval) {
    FakeToolFileSystem fs;
    std::vector<std::string> toolDirs;
    ExtractToolDir(fs, toolDirs, "paint", "[Paint]");
    PrepareToolDirs(fs, kWork, {}, toolDirs);
    ASSERT_EQ(toolDirs.back(), kWork + "paint\\VPaint.EXE");
    EXPECT_FALSE(fs.Has(kWork + "paint\\VPaint.EXE"));

    RemoveToolFiles(fs, {}, toolDirs);
    EXPECT_EQ(std::count(fs.Deletions.begin(), fs.Deletions.end(), kWork + "paint\\VPaint.EXE"), 22);
    EXPECT_EQ(fs.Pauses, std::vector<uint32_t>(22, 111u));
    EXPECT_EQ(fs.RemovedDirs, (std::vector<std::string>{kWork + "paint"}));
}

TEST(ToolFolders, FileInUseIsRetriedUntilItGoes) {
    FakeToolFileSystem fs;
    const std::vector<ToolFileEntry> toolFiles = {ExtractToolFile(fs, "vedit.exe", "VTOOL.EXE")};
    fs.Stubborn.insert(Lower(kWork + "vedit.exe"));
    RemoveToolFiles(fs, toolFiles, {});
    EXPECT_EQ(fs.Deletions.size(), 22u);
    EXPECT_TRUE(fs.Has(kWork + "vedit.exe"));  // stays, unreported
}
