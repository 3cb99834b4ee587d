// The settings loader over the real payload reader and a real distributable on disk.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "payload/engine_error.h"
#include "payload/settings_loader.h"
#include "payload/velexe_appender.h"
#include "payload_test_files.h"
#include "placement_fakes.h"

namespace {

std::string Posix(std::string path) {
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

// The portable reader's file system, reading the test's distributable as its own program.
class DistributableAsSelf : public PayloadFileSystem {
public:
    explicit DistributableAsSelf(std::string path) : path_(std::move(path)) {}
    std::string SelfPath() override { return path_; }
    std::unique_ptr<PayloadSource> OpenSource(const std::string& path) override {
        return PortablePayloadFileSystem().OpenSource(path);
    }
    std::unique_ptr<PayloadOutput> CreateOutput(const std::string& path) override {
        return PortablePayloadFileSystem().CreateOutput(path);
    }

private:
    std::string path_;
};

// Real files for reading and deleting; directories are not needed in the settings pass.
class DiskPlacementFiles : public FakePlacementFileSystem {
public:
    std::string ReadTextFile(const std::string& path) override {
        std::ifstream in(Posix(path), std::ios::binary);
        if (!in) throw EngineError("Cannot open file " + path);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    void RemoveFile(const std::string& path) override {
        FakePlacementFileSystem::RemoveFile(path);
        std::filesystem::remove(Posix(path));
    }
};

PackedFile File(const std::string& name, const std::string& placement, const std::string& text) {
    PackedFile file;
    file.FileName = name;
    file.Placement = placement;
    file.Contents.assign(text.begin(), text.end());
    return file;
}

class SettingsReaderPass : public ::testing::Test {
protected:
    payload_test::TempDir dir;
    DiskPlacementFiles fs;
    FilePlacement placement;
    TVelExeAppender reader;
    std::unique_ptr<DistributableAsSelf> self;

    void Pack(const std::vector<PackedFile>& files) {
        const std::vector<uint8_t> engine(4096, 0x90);
        payload_test::WriteBytes(dir.File("Demo.exe"), BuildDistributable(engine, files));
        self = std::make_unique<DistributableAsSelf>(dir.File("Demo.exe"));
        reader.SetFileSystem(*self);
        std::filesystem::create_directory(dir.File("temp"));
    }
};

TEST_F(SettingsReaderPass, WritesOnlyTheSettingsFileReadsItAndDeletesIt) {
    std::string big = "[Settings]\r\nWidth=0x280\r\nHeight=300\r\nQuenby Screen Name=Big Show\r\n";
    big += "; " + std::string(300, 'x') + "\r\n";  // compressed record
    Pack({File("install.EXE", ".", "MZ installer"), File("Player.exe", "", "MZ"), File("quenbyrun.dll", "", "MZ"),
          File("Show.INI", "", big), File("movie.swf", "", "FWS")});
    Options o;
    LoadSettings(reader, placement, fs, dir.File("temp"), "Demo", nullptr, o);
    EXPECT_EQ(o.Width, 640);
    EXPECT_EQ(o.Height, 300);
    EXPECT_EQ(o.ScreenName, "Big Show");
    EXPECT_EQ(placement.SettingsFileName, "show.ini");
    EXPECT_FALSE(placement.SettingsPass);
    EXPECT_TRUE(std::filesystem::is_empty(dir.File("temp")));  // nothing else written, the settings deleted
    EXPECT_EQ(fs.Removed.size(), 1u);
    EXPECT_EQ(placement.FileSystem, &fs);
    EXPECT_TRUE(static_cast<bool>(reader.OnFile));
}

TEST_F(SettingsReaderPass, EverySettingsFileWrittenIsDeletedAndTheLastOneIsRead) {
    Pack({File("first.ini", "", "[Settings]\nWidth=11\n"), File("movie.swf", "", "FWS"),
          File("second.ini", "movies", "[Settings]\nWidth=22\n")});
    Options o;
    LoadSettings(reader, placement, fs, dir.File("temp"), "Demo", nullptr, o);
    EXPECT_EQ(o.Width, 22);
    EXPECT_EQ(placement.SettingsFileName, "second.ini");
    EXPECT_TRUE(std::filesystem::is_empty(dir.File("temp")));
}

TEST_F(SettingsReaderPass, AMissingSessionIsReportedAfterTheRegistryStep) {
    Pack({});
    // Replace the distributable by a plain program without payload.
    payload_test::WriteBytes(dir.File("Demo.exe"), std::vector<uint8_t>(4096, 0x90));
    FakeUserSettingsStore store;
    store.Values["MidiMute"] = "1";
    Options o;
    o.Midi.UserChoosable = true;
    try {
        LoadSettings(reader, placement, fs, dir.File("temp"), "Demo", &store, o);
        ADD_FAILURE() << "no error";
    } catch (const EngineError& e) {
        EXPECT_EQ(std::string(e.what()).rfind("Session not found on extract from ", 0), 0u) << e.what();
    }
    EXPECT_TRUE(o.Midi.Value);
    EXPECT_FALSE(placement.SettingsPass);
}

TEST_F(SettingsReaderPass, AnOwnerHandlerIsKeptForTheLaterPasses) {
    Pack({File("a.ini", "", "[Settings]\nWidth=5\n")});
    int calls = 0;
    reader.OnFile = [&](TVelExeAppender& sender, std::string& name, std::string& directory, bool& skip) {
        ++calls;
        placement.HandleExtractedFile(name, directory, skip, sender.CurrentPlacement, sender.TargetDir, 7, true);
    };
    Options o;
    LoadSettings(reader, placement, fs, dir.File("temp"), "Demo", nullptr, o);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(o.Width, 5);
}

}  // namespace
