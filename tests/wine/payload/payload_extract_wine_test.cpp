// The payload reader over real files through the Win32 file system: names and directories chosen
// by OnFile, the records' last-write times, sharing of the source and exclusive outputs.
#include <windows.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <random>
#include <set>

#include "payload/engine_error.h"
#include "payload/payload_format.h"
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

// Ids of this process's threads.
std::set<DWORD> ThreadIds() {
    std::set<DWORD> ids;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return ids;
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        if (entry.th32OwnerProcessID == GetCurrentProcessId()) ids.insert(entry.th32ThreadID);
    CloseHandle(snapshot);
    return ids;
}

// The thread has ended (Wine may still list an ended thread for a moment).
bool ThreadEnded(DWORD id) {
    HANDLE thread = OpenThread(SYNCHRONIZE, FALSE, id);
    if (!thread) return true;
    const bool ended = WaitForSingleObject(thread, 0) == WAIT_OBJECT_0;
    CloseHandle(thread);
    return ended;
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

// Records above 1 MiB are written on a thread of the reader's own, which ends with the
// extraction however it ends; the Win32 outputs still get their times, and lose their files on
// an abort or a failure.
TEST_F(Win32ExtractTest, LargeRecordsAreWrittenByAThreadThatEndsWithTheExtraction) {
    std::vector<PackedFile> files = {Packed("small.txt", Text(2000), kPlayerTime),
                                     Packed("video.bin", Random(3u << 20, 4), kMovieTime),
                                     Packed("movie.swf", Text((1u << 20) + 7), kMovieTime + 3)};
    std::vector<uint8_t> bytes = BuildDistributable(Random(8192, 9), files);
    WriteFileBytes(Dist(), bytes);
    const std::set<DWORD> threadsBefore = ThreadIds();
    std::set<DWORD> started;  // threads seen during an extraction that were not there before
    uint64_t abortAt = UINT64_MAX;
    reader_.OnFileProgress = [&](TVelExeAppender& sender, const std::string& name, int, bool& abort) {
        for (DWORD id : ThreadIds())
            if (!threadsBefore.count(id)) started.insert(id);
        abort = name == "video.bin" && sender.FileBytesDone == abortAt;
    };
    // Wine starts threads of its own now and then (after a deletion, say): with every, at least
    // one thread started during the extraction must have ended by its end.
    auto startedThreadsEnded = [&](bool every) {
        std::string report = std::to_string(started.size()) + " started:";
        size_t ended = 0;
        for (DWORD id : started) {
            ended += ThreadEnded(id);
            report += " " + std::to_string(id) + (ThreadEnded(id) ? " ended" : " running");
        }
        const bool met = ended > 0 && (!every || ended == started.size());
        started.clear();
        return met ? ::testing::AssertionSuccess() : ::testing::AssertionFailure() << report;
    };

    ASSERT_EQ(ExtractError(), "");
    EXPECT_TRUE(startedThreadsEnded(true));
    for (const PackedFile& f : files) {
        SCOPED_TRACE(f.FileName);
        EXPECT_EQ(ReadFileBytes(WorkDir() + f.FileName), f.Contents);
        EXPECT_EQ(LastWriteTimeOf(WorkDir() + f.FileName), f.LastWriteTime);
    }

    // An abort after five chunks: the file goes, the thread too.
    DeleteFileA((WorkDir() + "video.bin").c_str());
    abortAt = 5 * 65536;
    EXPECT_EQ(ExtractError(), "");
    EXPECT_FALSE(FileExists(WorkDir() + "video.bin"));
    EXPECT_TRUE(startedThreadsEnded(false));

    // A stream that ends short of its announced size fails at its last chunk, after every
    // earlier chunk was written by the thread.
    abortAt = UINT64_MAX;
    RecordHeader h;
    memcpy(&h, bytes.data() + 8192, sizeof h);  // small.txt's, the first
    const size_t header = 8192 + kRecordHeaderSize + h.StoredSize;
    memcpy(&h, bytes.data() + header, sizeof h);
    ASSERT_EQ(h.OriginalSize, 3u << 20);
    h.OriginalSize += 100000;
    SealRecordHeader(h);
    memcpy(bytes.data() + header, &h, sizeof h);
    WriteFileBytes(Dist(), bytes);
    EXPECT_EQ(ExtractError(), "Extract error on " + WorkDir() + "video.bin");
    EXPECT_FALSE(FileExists(WorkDir() + "video.bin"));
    EXPECT_TRUE(FileExists(WorkDir() + "small.txt"));
    EXPECT_TRUE(startedThreadsEnded(false));
}

TEST_F(Win32ExtractTest, ReadsItsOwnExecutableWhenSourceIsSelf) {
    std::string self = Win32PayloadFileSystem().SelfPath();
    EXPECT_EQ(Lower(self.substr(self.size() - 22)), "payload_wine_tests.exe");
    reader_.SourceIsSelf = true;
    EXPECT_EQ(ExtractError(), "Session not found on extract from " + self);
}

}  // namespace
