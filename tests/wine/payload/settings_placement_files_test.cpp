// The Win32 file system of the placement policy and the settings loader, on real files.
#include <gtest/gtest.h>

#include <windows.h>

#include "engine/win32/handles.h"
#include "payload/engine_error.h"
#include "payload/file_placement.h"
#include "payload/payload_writer.h"
#include "payload/settings_loader.h"
#include "payload/velexe_appender.h"
#include "payload/win32/win32_payload_file_system.h"
#include "payload/win32/win32_placement_file_system.h"
#include "support/test_files.h"

namespace {

using testsupport::DirectoryExists;
using testsupport::FileExists;
using testsupport::TempDir;
using testsupport::WriteTextFile;

// A file held open the way a running program holds its image: no sharing at all.
UniqueFile HoldWithoutSharing(const std::string& path) {
    return UniqueFile(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
}

TEST(Win32PlacementFiles, AFileHeldOpenWithoutSharingIsLocked) {
    TempDir dir("plf");
    PlacementFileSystem& fs = Win32PlacementFileSystem();
    EXPECT_FALSE(fs.IsLockedFile(dir.File("missing.exe")));

    WriteTextFile(dir.File("free.exe"), "MZ");
    EXPECT_FALSE(fs.IsLockedFile(dir.File("free.exe")));
    EXPECT_FALSE(FileExists(dir.File("free.exe")));  // the test deletes what it can

    WriteTextFile(dir.File("held.exe"), "MZ");
    UniqueFile held = HoldWithoutSharing(dir.File("held.exe"));
    ASSERT_TRUE(held);
    EXPECT_TRUE(fs.IsLockedFile(dir.File("held.exe")));
    EXPECT_TRUE(FileExists(dir.File("held.exe")));
    held.reset();
    EXPECT_FALSE(fs.IsLockedFile(dir.File("held.exe")));
}

TEST(Win32PlacementFiles, ALockedProjectorAndHookLibraryGetNumberedNames) {
    TempDir dir("plf");
    WriteTextFile(dir.File("player.exe"), "MZ old");
    WriteTextFile(dir.File("quenbyrun2.dll"), "MZ old");
    WriteTextFile(dir.File("quenbyrun3.dll"), "MZ stale");
    UniqueFile projector = HoldWithoutSharing(dir.File("player.exe"));
    UniqueFile library = HoldWithoutSharing(dir.File("quenbyrun2.dll"));
    ASSERT_TRUE(projector && library);

    FilePlacement placement;
    placement.FileSystem = &Win32PlacementFileSystem();
    std::string name = "Player.EXE", directory = dir.Path();
    bool skip = false;
    placement.HandleExtractedFile(name, directory, skip, "", dir.Path(), 2, false);
    EXPECT_EQ(name, "player1.exe");
    EXPECT_EQ(placement.ProjectorFile, "player1.exe");

    name = "quenbyrun.dll";
    placement.HandleExtractedFile(name, directory, skip, "", dir.Path(), 2, false);
    EXPECT_EQ(name, "quenbyrun3.dll");
    EXPECT_FALSE(FileExists(dir.File("quenbyrun3.dll")));  // the stale copy made room
}

TEST(Win32PlacementFiles, CreatesDirectoryTrees) {
    TempDir dir("plf");
    PlacementFileSystem& fs = Win32PlacementFileSystem();
    EXPECT_TRUE(fs.CreateDirectoryTree(dir.File("movies\\intro\\")));
    EXPECT_TRUE(DirectoryExists(dir.File("movies\\intro")));
    EXPECT_TRUE(fs.CreateDirectoryTree(dir.File("movies\\intro")));  // already there
    EXPECT_TRUE(fs.CreateDirectoryTree(dir.File("a/b/c")));
    EXPECT_TRUE(DirectoryExists(dir.File("a\\b\\c")));
    WriteTextFile(dir.File("blocker"), "x");
    EXPECT_FALSE(fs.CreateDirectoryTree(dir.File("blocker\\sub")));

    fs.CreateSingleDirectory(dir.File("editor"));
    fs.CreateSingleDirectory(dir.File("editor"));  // the failure is ignored
    EXPECT_TRUE(DirectoryExists(dir.File("editor")));
}

TEST(Win32PlacementFiles, ReadsAndRemovesTheSettingsFile) {
    TempDir dir("plf");
    PlacementFileSystem& fs = Win32PlacementFileSystem();
    const std::string text = "[Settings]\r\nWidth=0x280\r\n";
    WriteTextFile(dir.File("settings.ini"), text);
    EXPECT_EQ(fs.ReadTextFile(dir.File("settings.ini")), text);
    fs.RemoveFile(dir.File("settings.ini"));
    EXPECT_FALSE(FileExists(dir.File("settings.ini")));
    try {
        fs.ReadTextFile(dir.File("settings.ini"));
        ADD_FAILURE() << "no error";
    } catch (const EngineError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot open file " + dir.File("settings.ini"));
    }
}

// The reader's Windows file system reading a test distributable as the running program.
class DistributableAsSelf : public PayloadFileSystem {
public:
    explicit DistributableAsSelf(std::string path) : path_(std::move(path)) {}
    std::string SelfPath() override { return path_; }
    std::unique_ptr<PayloadSource> OpenSource(const std::string& path) override {
        return Win32PayloadFileSystem().OpenSource(path);
    }
    std::unique_ptr<PayloadOutput> CreateOutput(const std::string& path) override {
        return Win32PayloadFileSystem().CreateOutput(path);
    }

private:
    std::string path_;
};

PackedFile Packed(const std::string& name, const std::string& placement, const std::string& text) {
    PackedFile file;
    file.FileName = name;
    file.Placement = placement;
    file.Contents.assign(text.begin(), text.end());
    return file;
}

TEST(Win32PlacementFiles, TheSettingsPassLeavesNothingInTheTemporaryDirectory) {
    TempDir dir("plf");
    const std::vector<uint8_t> engine(2048, 0x90);
    const std::vector<uint8_t> bytes =
        BuildDistributable(engine, {Packed("Player.exe", "", "MZ"), Packed("quenbyrun.dll", "", "MZ"),
                                    Packed("Show.ini", "", "[Settings]\r\nWidth=0x280\r\nSound=0\r\n"),
                                    Packed("intro.swf", "movies\\intro", "FWS")});
    testsupport::WriteFileBytes(dir.File("Demo.exe"), bytes);
    CreateDirectoryA(dir.File("temp").c_str(), nullptr);

    DistributableAsSelf self(dir.File("Demo.exe"));
    TVelExeAppender reader;
    reader.SetFileSystem(self);
    FilePlacement placement;
    Options o;
    LoadSettings(reader, placement, Win32PlacementFileSystem(), dir.File("temp"), "Demo", nullptr, o);
    EXPECT_EQ(o.Width, 640);
    EXPECT_FALSE(o.Sound.Value);
    EXPECT_FALSE(o.Sound.UserChoosable);
    EXPECT_EQ(placement.SettingsFileName, "show.ini");
    EXPECT_TRUE(testsupport::ListTree(dir.File("temp\\")).empty());
}

}  // namespace
