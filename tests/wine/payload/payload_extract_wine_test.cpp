// The payload reader over real files through the Win32 file system: names and directories chosen
// by OnFile, the records' last-write times, sharing of the source and exclusive outputs.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <random>

#include "payload/engine_error.h"
#include "payload/payload_writer.h"
#include "payload/velexe_appender.h"
#include "payload/win32/win32_payload_file_system.h"
#include "support/test_files.h"

namespace {

using testsupport::FileExists;
using testsupport::ReadFileBytes;
using testsupport::TempDir;
using testsupport::WriteFileBytes;

// Times of 2011 and 2003, with sub-second digits.
constexpr uint64_t kMovieTime = 129500000001234567ull;
constexpr uint64_t kPlayerTime = 127000000009876543ull;

std::vector<uint8_t> Random(size_t size, unsigned seed) {
    std::mt19937 generator(seed);
    std::vector<uint8_t> bytes(size);
    for (uint8_t& b : bytes) b = static_cast<uint8_t>(generator());
    return bytes;
}

std::vector<uint8_t> Text(size_t size) {
    std::vector<uint8_t> bytes(size);
    for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>("frame;\r\n"[i % 8]);
    return bytes;
}

PackedFile Packed(const std::string& name, std::vector<uint8_t> contents, uint64_t time,
                  const std::string& placement = "") {
    PackedFile f;
    f.FileName = name;
    f.SourceDir = "C:\\Authoring\\";
    f.Placement = placement;
    f.Contents = std::move(contents);
    f.LastWriteTime = time;
    return f;
}

uint64_t LastWriteTimeOf(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 0;
    FILETIME written{};
    GetFileTime(file, nullptr, nullptr, &written);
    CloseHandle(file);
    return (static_cast<uint64_t>(written.dwHighDateTime) << 32) | written.dwLowDateTime;
}

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

class Win32ExtractTest : public ::testing::Test {
protected:
    void SetUp() override {
        CreateDirectoryA(WorkDir().c_str(), nullptr);
        reader_.SetFileSystem(Win32PayloadFileSystem());
        reader_.SourceIsSelf = false;
        reader_.SourcePath = Dist();
        reader_.TargetDir = WorkDir();
    }
    std::string Dist() const { return temp_.File("dist.exe"); }
    std::string WorkDir() const { return temp_.File("work\\"); }

    std::string ExtractError() {
        try {
            reader_.ExtractSession("Session1");
        } catch (const EngineError& e) {
            return e.what();
        }
        return std::string();
    }

    TempDir temp_{"payload"};
    TVelExeAppender reader_;
};

TEST_F(Win32ExtractTest, WritesLowerCaseNamesIntoChosenDirectoriesWithTheRecordsTimes) {
    std::vector<PackedFile> files = {
        Packed("Movie.SWF", Text(300000), kMovieTime),
        Packed("Player.EXE", Random(200000, 1), kPlayerTime),
        Packed("Intro.swf", Text(5000), kMovieTime + 1, "movies\\intro"),
        Packed("TINY.txt", Text(50), kPlayerTime + 1),
        Packed("Empty.DAT", {}, kMovieTime + 2),
    };
    WriteFileBytes(Dist(), BuildDistributable(Random(8192, 9), files));

    // The test's own small policy: lower-case names, sub-directory placements made on demand.
    reader_.OnFile = [](TVelExeAppender& sender, std::string& name, std::string& directory, bool&) {
        name = Lower(name);
        if (!sender.CurrentPlacement.empty()) {
            directory = sender.TargetDir + "movies";
            CreateDirectoryA(directory.c_str(), nullptr);
            directory = sender.TargetDir + sender.CurrentPlacement;
            CreateDirectoryA(directory.c_str(), nullptr);
        }
    };
    ASSERT_EQ(ExtractError(), "");

    EXPECT_EQ(testsupport::ListTree(WorkDir()),
              (std::vector<std::string>{"empty.dat", "movie.swf", "movies", "movies\\intro", "movies\\intro\\intro.swf",
                                        "player.exe", "tiny.txt"}));
    const std::string paths[] = {"movie.swf", "player.exe", "movies\\intro\\intro.swf", "tiny.txt", "empty.dat"};
    for (size_t i = 0; i < files.size(); ++i) {
        SCOPED_TRACE(paths[i]);
        EXPECT_EQ(ReadFileBytes(WorkDir() + paths[i]), files[i].Contents);
        EXPECT_EQ(LastWriteTimeOf(WorkDir() + paths[i]), files[i].LastWriteTime);
    }
}

TEST_F(Win32ExtractTest, SourceStaysOpenForOthersAndLockedOutputsAreNotReplaced) {
    WriteFileBytes(Dist(), BuildDistributable(Random(8192, 9), {Packed("a.txt", Text(1000), kMovieTime)}));

    // Another process may hold the distributable open for writing meanwhile.
    HANDLE writer = CreateFileA(Dist().c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    EXPECT_EQ(ExtractError(), "");
    CloseHandle(writer);

    // An output file in use is not overwritten: the extraction fails naming it.
    const std::string target = WorkDir() + "a.txt";
    HANDLE locked = CreateFileA(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(locked, INVALID_HANDLE_VALUE);
    EXPECT_EQ(ExtractError(), "Cannot create file " + target);
    CloseHandle(locked);
}

TEST_F(Win32ExtractTest, FailedFileIsDeletedAndMissingSourceIsReported) {
    std::vector<uint8_t> bytes = BuildDistributable(Random(8192, 9), {Packed("ok.txt", Text(20), kMovieTime),
                                                                      Packed("bad.txt", Text(5000), kMovieTime)});
    // ok.txt's record is 796 + 20 bytes; damage bad.txt's compressed data after its zlib header.
    bytes[8192 + 796 + 20 + 796 + 2] = 0xFF;
    WriteFileBytes(Dist(), bytes);
    EXPECT_EQ(ExtractError(), "error");
    EXPECT_TRUE(FileExists(WorkDir() + "ok.txt"));
    EXPECT_FALSE(FileExists(WorkDir() + "bad.txt"));

    reader_.SourcePath = temp_.File("missing.exe");
    EXPECT_EQ(ExtractError(), "Cannot open file " + temp_.File("missing.exe"));
}

TEST_F(Win32ExtractTest, ReadsItsOwnExecutableWhenSourceIsSelf) {
    std::string self = Win32PayloadFileSystem().SelfPath();
    EXPECT_EQ(Lower(self.substr(self.size() - 22)), "payload_wine_tests.exe");
    reader_.SourceIsSelf = true;
    EXPECT_EQ(ExtractError(), "Session not found on extract from " + self);
}

}  // namespace
