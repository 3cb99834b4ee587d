#include "payload/velexe_appender.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "payload/engine_error.h"
#include "payload_test_files.h"

namespace {

using namespace payload_test;

// A distributable on disk and a reader pointed at it, extracting into out/.
class ReaderTest : public ::testing::Test {
protected:
    void SetUp() override { std::filesystem::create_directory(OutDir()); }

    std::string Dist() const { return dir_.File("dist.exe"); }
    std::string OutDir() const { return dir_.File("out/"); }
    std::string Out(const std::string& name) const { return OutDir() + name; }

    void Write(const std::vector<uint8_t>& bytes) { WriteBytes(Dist(), bytes); }

    TVelExeAppender MakeReader() {
        TVelExeAppender reader;
        reader.SourceIsSelf = false;
        reader.SourcePath = Dist();
        reader.TargetDir = OutDir();
        return reader;
    }

    // The message of the error the extraction raises; empty when it succeeds.
    std::string ExtractError(TVelExeAppender& reader, const std::string& session = "Session1") {
        try {
            reader.ExtractSession(session);
        } catch (const EngineError& e) {
            return e.what();
        }
        return std::string();
    }
    std::string ExtractError(const std::string& session = "Session1") {
        TVelExeAppender reader = MakeReader();
        return ExtractError(reader, session);
    }

    std::vector<std::string> OutFiles() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(OutDir()))
            if (entry.is_regular_file())
                names.push_back(std::filesystem::relative(entry.path(), OutDir()).generic_string());
        std::sort(names.begin(), names.end());
        return names;
    }

    TempDir dir_;
};

std::vector<PackedFile> EightFiles() {
    return {File("movie.swf", TextBytes(50000)),       File("player.exe", RandomBytes(150000, 1)),
            File("quenbyrun.dll", RandomBytes(700, 2)), File("settings.ini", TextBytes(60)),
            File("music.mid", TextBytes(108), "", kSampleTime + 10000000),
            File("intro.swf", TextBytes(109)),           File("empty.txt", {}, "", kSampleTime - 20000000),
            File("Readme.TXT", RandomBytes(200, 3))};
}

TEST_F(ReaderTest, ExtractsEveryFileWithItsContentsAndLastWriteTime) {
    std::vector<PackedFile> files = EightFiles();
    Write(BuildDistributable(EngineImage(), files));
    TVelExeAppender reader = MakeReader();
    ASSERT_EQ(ExtractError(reader), "");
    for (const PackedFile& f : files) {
        SCOPED_TRACE(f.FileName);
        EXPECT_EQ(ReadBytes(Out(f.FileName)), f.Contents);
        EXPECT_EQ(FileTimeOf(Out(f.FileName)), f.LastWriteTime);
    }
    EXPECT_EQ(OutFiles().size(), 8u);
    EXPECT_EQ(reader.TotalBytes, 50000u + 150000 + 700 + 60 + 108 + 109 + 0 + 200);
    EXPECT_EQ(reader.BytesDone, reader.TotalBytes);
    EXPECT_EQ(reader.CurrentName, "Readme.TXT");
}

TEST_F(ReaderTest, ExtractingAgainReplacesTheFilesWithTheRecordsTimes) {
    Write(BuildDistributable(EngineImage(), {File("a.txt", TextBytes(300))}));
    WriteBytes(Out("a.txt"), RandomBytes(100000, 5));
    ASSERT_EQ(ExtractError(), "");
    ASSERT_EQ(ExtractError(), "");
    EXPECT_EQ(ReadBytes(Out("a.txt")), TextBytes(300));
    EXPECT_EQ(FileTimeOf(Out("a.txt")), kSampleTime);
}

TEST_F(ReaderTest, OnFileRenamesRedirectsAndSkips) {
    Write(BuildDistributable(EngineImage(), {File("Keep.SWF", TextBytes(400)), File("skip.ini", TextBytes(400)),
                                             File("sub.dat", TextBytes(50), "data")}));
    std::filesystem::create_directory(Out("data"));
    TVelExeAppender reader = MakeReader();
    std::vector<std::string> placements;
    reader.OnFile = [&](TVelExeAppender& sender, std::string& name, std::string& directory, bool& skip) {
        EXPECT_FALSE(skip);
        EXPECT_EQ(directory, OutDir());
        placements.push_back(sender.CurrentPlacement);
        std::transform(name.begin(), name.end(), name.begin(), ::tolower);
        if (name == "skip.ini") skip = true;
        if (!sender.CurrentPlacement.empty()) directory = sender.TargetDir + sender.CurrentPlacement;  // no "\"
    };
    ASSERT_EQ(ExtractError(reader), "");
    EXPECT_EQ(OutFiles(), (std::vector<std::string>{"data/sub.dat", "keep.swf"}));
    EXPECT_EQ(placements, (std::vector<std::string>{"", "", "data"}));
    EXPECT_EQ(reader.BytesDone, 850u);  // the skipped file counts too
}

TEST_F(ReaderTest, FindsTheNamedSessionAmongStackedSessionsAndBehindTrailingBytes) {
    std::vector<uint8_t> bytes = BuildDistributable(EngineImage(), {File("first.txt", TextBytes(500))});
    AppendSession(bytes, {File("second.txt", TextBytes(20))}, "Session2");
    std::vector<uint8_t> signatureBlock = RandomBytes(10000, 11);
    bytes.insert(bytes.end(), signatureBlock.begin(), signatureBlock.end());
    Write(bytes);

    ASSERT_EQ(ExtractError("Session1"), "");
    EXPECT_EQ(OutFiles(), std::vector<std::string>{"first.txt"});
    ASSERT_EQ(ExtractError("Session2"), "");
    EXPECT_EQ(OutFiles(), (std::vector<std::string>{"first.txt", "second.txt"}));

    // Without the backward search only the window at the end of the file is tested.
    TVelExeAppender reader = MakeReader();
    reader.ScanForTrailer = false;
    EXPECT_EQ(ExtractError(reader), "Session not found on extract from " + Dist());
}

TEST_F(ReaderTest, WithoutBackwardSearchTheChainIsStillFollowed) {
    std::vector<uint8_t> bytes = BuildDistributable(EngineImage(), {File("first.txt", TextBytes(500))});
    AppendSession(bytes, {File("second.txt", TextBytes(20))}, "Session2");
    Write(bytes);
    TVelExeAppender reader = MakeReader();
    reader.ScanForTrailer = false;
    ASSERT_EQ(ExtractError(reader, "Session1"), "");
    EXPECT_EQ(OutFiles(), std::vector<std::string>{"first.txt"});
}

TEST_F(ReaderTest, SessionNamesAreComparedExactlyAndLimitedTo63Characters) {
    Write(BuildDistributable(EngineImage(), {File("a.txt", TextBytes(10))}, std::string(63, 'S')));
    EXPECT_EQ(ExtractError("session1"), "Session not found on extract from " + Dist());
    EXPECT_EQ(ExtractError(std::string(63, 'S')), "");

    TVelExeAppender reader = MakeReader();
    reader.SourcePath = dir_.File("missing.exe");  // refused before anything is opened
    EXPECT_EQ(ExtractError(reader, std::string(64, 'S')), "Session name too long");
}

TEST_F(ReaderTest, ReportsMissingSessionsAndFiles) {
    Write(EngineImage(70000));  // a bare engine: searched back to the window ending at 2048
    EXPECT_EQ(ExtractError(), "Session not found on extract from " + Dist());
    Write(EngineImage(1000));  // shorter than the search floor: only the last window
    EXPECT_EQ(ExtractError(), "Session not found on extract from " + Dist());
    Write(EngineImage(100));  // too short to hold a trailer
    EXPECT_EQ(ExtractError(), "Stream read error");

    TVelExeAppender reader = MakeReader();
    reader.SourcePath = dir_.File("missing.exe");
    EXPECT_EQ(ExtractError(reader), "Cannot open file " + dir_.File("missing.exe"));
}

TEST_F(ReaderTest, TrailerFoundOnlyWhenAllThreeTestsPass) {
    std::vector<uint8_t> good = BuildDistributable(EngineImage(), {File("a.txt", TextBytes(10))});
    const size_t at = good.size() - kTrailerSize;
    for (size_t field : {size_t{0}, size_t{100}, size_t{212}, size_t{216}}) {  // signature, name, check, end
        std::vector<uint8_t> bytes = good;
        bytes[at + field] ^= 0x40;
        Write(bytes);
        EXPECT_EQ(ExtractError(), "Session not found on extract from " + Dist()) << "byte " << field;
    }
}

TEST_F(ReaderTest, BadRecordHeaderStopsAfterTheEarlierFiles) {
    std::vector<uint8_t> bytes = BuildDistributable(
        EngineImage(), {File("one.txt", TextBytes(10)), File("two.txt", TextBytes(300)), File("three.txt", {})});
    std::vector<size_t> offsets = RecordOffsets(bytes);
    // A byte after the name's text: the name reads the same, the check value does not match.
    bytes[offsets[1] + 4 + 1 + 200] ^= 0x01;
    Write(bytes);
    EXPECT_EQ(ExtractError(), "File prefix format error on extract from " + Dist());
    EXPECT_EQ(OutFiles(), std::vector<std::string>{"one.txt"});

    for (size_t field : {size_t{0}, size_t{792}}) {  // signature, end mark
        std::vector<uint8_t> broken = BuildDistributable(EngineImage(), {File("one.txt", TextBytes(10))});
        broken[RecordOffsets(broken)[0] + field] ^= 0x01;
        Write(broken);
        EXPECT_EQ(ExtractError(), "File prefix format error on extract from " + Dist());
    }
}

TEST_F(ReaderTest, EmptySessionReadsNoRecord) {
    std::vector<uint8_t> bytes = BuildDistributable(EngineImage(), {File("a.txt", {}), File("b.txt", {})});
    // TotalSize 0: even a broken first header is never read.
    bytes[RecordOffsets(bytes)[0]] ^= 0xFF;
    Write(bytes);
    TVelExeAppender reader = MakeReader();
    EXPECT_EQ(ExtractError(reader), "");
    EXPECT_EQ(reader.TotalBytes, 0u);
    EXPECT_TRUE(OutFiles().empty());
}

// A trailer that lies before its records, so that the records really end at the end of the file.
std::vector<uint8_t> RecordsAfterTrailer(const std::vector<PackedFile>& files, size_t cutBytes) {
    std::vector<uint8_t> image = EngineImage();
    std::vector<uint8_t> session = BuildDistributable(image, files);
    SessionTrailer t = TrailerAt(session, session.size() - kTrailerSize);
    std::vector<uint8_t> records(session.begin() + image.size(), session.end() - kTrailerSize);
    records.resize(records.size() - cutBytes);
    t.DataStart = static_cast<uint32_t>(image.size() + kTrailerSize);
    SealTrailer(t);
    std::vector<uint8_t> bytes = image;
    bytes.resize(bytes.size() + kTrailerSize);
    PutTrailer(bytes, image.size(), t);
    bytes.insert(bytes.end(), records.begin(), records.end());
    return bytes;
}

TEST_F(ReaderTest, TruncatedDataFailsThatFileOnly) {
    Write(RecordsAfterTrailer({File("whole.txt", TextBytes(40)), File("raw.txt", TextBytes(100))}, 30));
    EXPECT_EQ(ExtractError(), "Stream read error");
    EXPECT_EQ(OutFiles(), std::vector<std::string>{"whole.txt"});

    Write(RecordsAfterTrailer({File("packed.bin", RandomBytes(5000, 4))}, 2000));
    EXPECT_EQ(ExtractError(), "Extract error on " + Out("packed.bin"));
    EXPECT_TRUE(OutFiles().empty() || OutFiles() == std::vector<std::string>{"whole.txt"});
    EXPECT_FALSE(Exists(Out("packed.bin")));

    // More records announced than stored: the next header runs past the end.
    std::vector<uint8_t> bytes = RecordsAfterTrailer({File("a.txt", TextBytes(40))}, 0);
    SessionTrailer t = TrailerAt(bytes, EngineImage().size());
    t.FileCount = 2;
    SealTrailer(t);
    PutTrailer(bytes, EngineImage().size(), t);
    Write(bytes);
    EXPECT_EQ(ExtractError(), "Stream read error");
}

TEST_F(ReaderTest, CorruptOrShortCompressedStreamsAreErrors) {
    std::vector<uint8_t> bytes = BuildDistributable(EngineImage(), {File("bad.txt", TextBytes(5000))});
    size_t data = RecordOffsets(bytes)[0] + kRecordHeaderSize;
    bytes[data + 2] = 0xFF;  // a reserved block type
    Write(bytes);
    EXPECT_EQ(ExtractError(), "error");
    EXPECT_FALSE(Exists(Out("bad.txt")));

    // A stream that ends before the announced size.
    bytes = BuildDistributable(EngineImage(), {File("short.txt", TextBytes(5000))});
    size_t header = RecordOffsets(bytes)[0];
    RecordHeader h = HeaderAt(bytes, header);
    h.OriginalSize = 6000;
    SealRecordHeader(h);
    PutHeader(bytes, header, h);
    Write(bytes);
    EXPECT_EQ(ExtractError(), "Extract error on " + Out("short.txt"));
    EXPECT_FALSE(Exists(Out("short.txt")));
}

TEST_F(ReaderTest, NextRecordFollowsTheStoredSizeNotWhatTheInflaterRead) {
    // Several compressed records smaller than the inflater's 64 KiB read-ahead, then a raw one.
    std::vector<PackedFile> files = {File("a.txt", TextBytes(3000)), File("b.bin", RandomBytes(4000, 8)),
                                     File("c.txt", TextBytes(200000)), File("d.txt", TextBytes(7))};
    Write(BuildDistributable(EngineImage(), files));
    ASSERT_EQ(ExtractError(), "");
    for (const PackedFile& f : files) EXPECT_EQ(ReadBytes(Out(f.FileName)), f.Contents) << f.FileName;
}

TEST_F(ReaderTest, ChainThatDoesNotMoveBackwardsEndsTheSearch) {
    for (int64_t shift : {0, 100, 1000}) {
        std::vector<uint8_t> bytes = BuildDistributable(EngineImage(), {File("a.txt", TextBytes(10))}, "Other");
        const size_t at = bytes.size() - kTrailerSize;
        SessionTrailer t = TrailerAt(bytes, at);
        t.DataStart = static_cast<uint32_t>(at + kTrailerSize + shift);  // at or beyond its own end
        SealTrailer(t);
        PutTrailer(bytes, at, t);
        Write(bytes);
        EXPECT_EQ(ExtractError(), "Session not found on extract from " + Dist()) << shift;
    }
}

TEST_F(ReaderTest, RefusesRecordsThatWouldEscapeTheTargetDirectory) {
    struct Case {
        const char* name;
        const char* placement;
        const char* expected;
    };
    const Case cases[] = {
        {"..", "", "Unsafe file name \"..\""},
        {"..\\evil.dll", "", "Unsafe file name \"..\\evil.dll\""},
        {"sub/evil.dll", "", "Unsafe file name \"sub/evil.dll\""},
        {"C:evil.dll", "", "Unsafe file name \"C:evil.dll\""},
        {"movie.swf:hidden", "", "Unsafe file name \"movie.swf:hidden\""},
        {"ok.txt", "..\\up", "Unsafe placement \"..\\up\" of file \"ok.txt\""},
        {"ok.txt", "a\\..\\..", "Unsafe placement \"a\\..\\..\" of file \"ok.txt\""},
        {"ok.txt", "\\\\server\\share", "Unsafe placement \"\\\\server\\share\" of file \"ok.txt\""},
        {"ok.txt", "C:\\Windows", "Unsafe placement \"C:\\Windows\" of file \"ok.txt\""},
        {"ok.txt", "/etc", "Unsafe placement \"/etc\" of file \"ok.txt\""},
    };
    for (const Case& c : cases) {
        Write(BuildDistributable(EngineImage(), {File("first.txt", TextBytes(10)), File(c.name, TextBytes(10), c.placement)}));
        EXPECT_EQ(ExtractError(), std::string(c.expected) + " on extract from " + Dist()) << c.name << " " << c.placement;
    }
    // Nothing landed beside the target directory.
    std::vector<std::string> beside;
    for (const auto& entry : std::filesystem::directory_iterator(dir_.Path()))
        beside.push_back(entry.path().filename().string());
    std::sort(beside.begin(), beside.end());
    EXPECT_EQ(beside, (std::vector<std::string>{"dist.exe", "out"}));
}

TEST_F(ReaderTest, RefusesAnOnFileAnswerOutsideTheTargetDirectory) {
    Write(BuildDistributable(EngineImage(), {File("a.txt", TextBytes(10))}));
    for (const char* target : {"..", "../", "sub/../.."}) {
        TVelExeAppender reader = MakeReader();
        reader.OnFile = [&](TVelExeAppender& sender, std::string&, std::string& directory, bool&) {
            directory = sender.TargetDir + target;
        };
        EXPECT_EQ(ExtractError(reader).rfind("Unsafe target", 0), 0u) << target;
    }
    TVelExeAppender reader = MakeReader();
    reader.OnFile = [&](TVelExeAppender&, std::string& name, std::string&, bool&) { name = "../a.txt"; };
    EXPECT_EQ(ExtractError(reader).rfind("Unsafe target", 0), 0u);
    EXPECT_FALSE(Exists(dir_.File("a.txt")));

    // Placements that stay inside are fine, tool labels included.
    Write(BuildDistributable(EngineImage(), {File("a.txt", TextBytes(10), "."),
                                             File("b.txt", TextBytes(10), "movies\\intro"),
                                             File("c.exe", TextBytes(10), "VTOOL.SATELLITE:VEDIT.EXE")}));
    EXPECT_EQ(ExtractError(), "");
}

TEST_F(ReaderTest, MissingOutputDirectoryIsCannotCreateFile) {
    Write(BuildDistributable(EngineImage(), {File("a.txt", TextBytes(10))}));
    TVelExeAppender reader = MakeReader();
    reader.TargetDir = OutDir() + "missing/";
    EXPECT_EQ(ExtractError(reader), "Cannot create file " + OutDir() + "missing/a.txt");
}

// The portable file system, with outputs that stop accepting bytes after a limit (a full disk).
class FullDiskFileSystem : public PayloadFileSystem {
public:
    explicit FullDiskFileSystem(size_t limit) : limit_(limit) {}
    std::string SelfPath() override { return PortablePayloadFileSystem().SelfPath(); }
    std::unique_ptr<PayloadSource> OpenSource(const std::string& path) override {
        return PortablePayloadFileSystem().OpenSource(path);
    }
    std::unique_ptr<PayloadOutput> CreateOutput(const std::string& path) override {
        struct Output : PayloadOutput {
            std::unique_ptr<PayloadOutput> inner;
            size_t room;
            bool Write(const void* data, size_t count) override {
                if (count > room) return false;
                room -= count;
                return inner->Write(data, count);
            }
            bool Finish(uint64_t time) override { return inner->Finish(time); }
        };
        auto output = std::make_unique<Output>();
        output->inner = PortablePayloadFileSystem().CreateOutput(path);
        output->room = limit_;
        return output;
    }

private:
    size_t limit_;
};

TEST_F(ReaderTest, FailedWriteFailsThatFileAndDeletesIt) {
    Write(BuildDistributable(EngineImage(), {File("small.txt", TextBytes(1000)), File("big.txt", TextBytes(200000))}));
    FullDiskFileSystem fullDisk(100000);
    TVelExeAppender reader = MakeReader();
    reader.SetFileSystem(fullDisk);
    EXPECT_EQ(ExtractError(reader), "Extract error on " + Out("big.txt"));
    EXPECT_EQ(OutFiles(), std::vector<std::string>{"small.txt"});
}

TEST_F(ReaderTest, ProgressIsReportedAndAnAbortEndsQuietly) {
    Write(BuildDistributable(EngineImage(), {File("a.txt", TextBytes(100)), File("b.txt", TextBytes(200000)),
                                             File("c.txt", TextBytes(100))}));
    TVelExeAppender reader = MakeReader();
    std::vector<int> overall;
    reader.OnProgress = [&](TVelExeAppender&, const std::string&, int percent, bool&) { overall.push_back(percent); };
    int fileReports = 0;
    reader.OnFileProgress = [&](TVelExeAppender& sender, const std::string& name, int percent, bool& abort) {
        ++fileReports;
        EXPECT_EQ(name, sender.CurrentName);
        if (name == "b.txt" && percent > 0) abort = true;  // after its first chunk
    };
    EXPECT_EQ(ExtractError(reader), "");
    // Before and after a.txt, then before b.txt; the abort ends everything.
    EXPECT_EQ(overall, (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(OutFiles(), std::vector<std::string>{"a.txt"});  // the incomplete b.txt is deleted
    EXPECT_EQ(reader.FileBytesDone, 65536u);
    EXPECT_EQ(fileReports, 2 + 1 + 1);  // a.txt: start and one chunk; b.txt: start and one chunk

    TVelExeAppender full = MakeReader();
    std::vector<int> percents;
    full.OnProgress = [&](TVelExeAppender&, const std::string&, int percent, bool&) { percents.push_back(percent); };
    ASSERT_EQ(ExtractError(full), "");
    EXPECT_EQ(percents, (std::vector<int>{0, 0, 0, 100, 100, 100}));
}

TEST(TVelExeAppenderDefaults, StartsReadingItselfWithTheBackwardSearch) {
    TVelExeAppender reader;
    EXPECT_TRUE(reader.SourceIsSelf);
    EXPECT_TRUE(reader.ScanForTrailer);
    EXPECT_TRUE(reader.SourcePath.empty());
    EXPECT_TRUE(reader.TargetDir.empty());
    EXPECT_EQ(reader.TotalBytes + reader.BytesDone + reader.FileSize + reader.FileBytesDone, 0u);
    EXPECT_FALSE(reader.ReportProgress());
    EXPECT_FALSE(reader.ReportFileProgress());
    EXPECT_EQ(&reader.FileSystem(), &PortablePayloadFileSystem());
    // This test program carries no payload.
    EXPECT_THROW(reader.ExtractSession("Session1"), EngineError);
}

}  // namespace
