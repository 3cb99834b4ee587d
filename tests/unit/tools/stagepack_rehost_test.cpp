// stagepack rehost over distributables written by another packer: the records come across byte
// for byte behind the new engine (streams not recompressed, undefined bytes, names, placements and
// times kept) and verify; a payload that does not read cleanly is refused and nothing is written.
#include <zlib.h>

#include <cstring>

#include "payload/payload_format.h"
#include "payload/payload_writer.h"
#include "stagepack_fixture.h"

namespace {

using namespace stagepack_test;

struct OldFile {
    std::string Name, Placement, Contents;
    uint64_t Time;
    int Level;  // zlib level of the stored stream (another packer's choice)
};

// A record as another packer writes it: leftover bytes after every short string, its own
// compression level.
std::string OldRecord(const OldFile& file) {
    RecordHeader header;
    std::memset(&header, 0xA5, sizeof header);
    header.Signature = kPayloadSignature;
    WriteShortString(header.FileName, file.Name);
    WriteShortString(header.SourceDir, "D:\\PROJECTS\\OLD\\");
    WriteShortString(header.Placement, file.Placement);
    header.OriginalSize = static_cast<uint32_t>(file.Contents.size());
    SetRecordLastWriteTime(header, file.Time);
    std::string data = file.Contents;
    if (IsCompressedRecord(header.OriginalSize)) {
        uLongf size = compressBound(file.Contents.size());
        data.assign(size, '\0');
        compress2(reinterpret_cast<Bytef*>(&data[0]), &size, reinterpret_cast<const Bytef*>(file.Contents.data()),
                  file.Contents.size(), file.Level);
        data.resize(size);
    }
    header.StoredSize = static_cast<uint32_t>(data.size());
    SealRecordHeader(header);
    return std::string(reinterpret_cast<const char*>(&header), sizeof header) + data;
}

std::string OldTrailer(uint64_t dataStart, uint64_t dataSize, uint32_t count, uint32_t total) {
    SessionTrailer trailer;
    std::memset(&trailer, 0x5A, sizeof trailer);
    trailer.Signature = kPayloadSignature;
    trailer.DataStart = static_cast<uint32_t>(dataStart);
    trailer.DataSize = static_cast<uint32_t>(dataSize);
    trailer.FileCount = count;
    trailer.TotalSize = total;
    WriteShortString(trailer.PackerVersion, "OldPack 2.3");
    WriteShortString(trailer.SessionName, "Session1");
    SealTrailer(trailer);
    return std::string(reinterpret_cast<const char*>(&trailer), sizeof trailer);
}

class RehostTest : public StagepackTest {
protected:
    void SetUp() override {
        StagepackTest::SetUp();
        oldEngine_ = Random(30000, 9);
        records_.clear();
        uint32_t total = 0;
        for (const OldFile& file : OldFiles()) {
            records_ += OldRecord(file);
            total += static_cast<uint32_t>(file.Contents.size());
        }
        trailer_ = OldTrailer(oldEngine_.size(), records_.size(), 5, total);
        // Bytes after the trailer, as a signature block leaves them.
        WriteFile("old.exe", oldEngine_ + records_ + trailer_ + Random(3000, 10));
    }
    std::vector<OldFile> OldFiles() const {
        return {{"movie.swf", "", Text(300000), 131000000000000000ULL, 1},
                {"empty.txt", ".", "", 131000000010000000ULL, 9},
                {"settings.ini", "", "[Settings]\r\nFullScreen=0\r\n", 131000000020000000ULL, 9},
                {"intro.swf", "movies\\intro", Text(5000), 131000000030000000ULL, 6},
                {"vedit.exe", "VTOOL.EDIT", Random(4000, 11), 131000000040000000ULL, 0}};
    }
    std::string oldEngine_, records_, trailer_;
};

TEST_F(RehostTest, RecordsComeAcrossAsStoredBehindTheNewEngine) {
    RunResult rehost = Run("rehost old.exe -e engine.exe -o new.exe");
    ASSERT_EQ(rehost.exitCode, 0) << rehost.err;
    EXPECT_EQ(rehost.err, "");
    const std::string engine = ReadFile(Path("engine.exe"));
    const std::string rehosted = ReadFile(Path("new.exe"));
    ASSERT_EQ(rehosted.size(), engine.size() + records_.size() + kTrailerSize);
    EXPECT_EQ(rehosted.compare(0, engine.size(), engine), 0);
    EXPECT_TRUE(rehosted.compare(engine.size(), records_.size(), records_) == 0) << "records changed";

    SessionTrailer trailer;
    std::memcpy(&trailer, rehosted.data() + rehosted.size() - kTrailerSize, kTrailerSize);
    EXPECT_EQ(CheckTrailer(trailer), BlockCheck::Valid);
    EXPECT_EQ(trailer.DataStart, engine.size());
    EXPECT_EQ(trailer.DataSize, records_.size());
    EXPECT_EQ(trailer.FileCount, 5u);
    EXPECT_EQ(ReadShortString(trailer.SessionName), "Session1");

    RunResult verify = Run("verify new.exe");
    EXPECT_EQ(verify.exitCode, 0) << verify.out;
    ASSERT_EQ(Run("extract new.exe out").exitCode, 0);
    for (const OldFile& file : OldFiles()) {
        const bool inSubdirectory = file.Placement == "movies\\intro";
        const std::string path = Path(inSubdirectory ? "out/movies/intro/" + file.Name : "out/" + file.Name);
        EXPECT_EQ(ReadFile(path), file.Contents) << file.Name;
        struct stat info;
        ASSERT_EQ(stat(path.c_str(), &info), 0) << file.Name;
        EXPECT_EQ(static_cast<uint64_t>(info.st_mtim.tv_sec), file.Time / 10000000 - 11644473600ULL) << file.Name;
    }
}

TEST_F(RehostTest, StackedSessionsAllComeAcrossInTheirOrder) {
    std::vector<uint8_t> stacked;
    const std::string old = ReadFile(Path("old.exe"));
    stacked.assign(old.begin(), old.begin() + oldEngine_.size() + records_.size() + kTrailerSize);
    PackedFile extra{"extra.txt", "C:\\x\\", "", std::vector<uint8_t>(200, 'e'), 132000000000000000ULL};
    AppendSession(stacked, {extra}, "Extra");
    WriteFile("stacked.exe", std::string(stacked.begin(), stacked.end()));

    ASSERT_EQ(Run("rehost stacked.exe -o new.exe -e engine.exe").exitCode, 0);
    RunResult list = Run("list new.exe");
    ASSERT_EQ(list.exitCode, 0) << list.out;
    const size_t first = list.out.find("session \"Session1\" at ");
    const size_t second = list.out.find("session \"Extra\" at ");
    ASSERT_NE(first, std::string::npos) << list.out;
    ASSERT_NE(second, std::string::npos) << list.out;
    EXPECT_LT(first, second);
    EXPECT_EQ(Run("verify new.exe").exitCode, 0);
    ASSERT_EQ(Run("extract -s Extra new.exe out").exitCode, 0);
    EXPECT_EQ(ReadFile(Path("out/extra.txt")), std::string(200, 'e'));
}

TEST_F(RehostTest, APayloadThatDoesNotReadCleanlyIsRefusedAndNothingWritten) {
    const std::string old = ReadFile(Path("old.exe"));
    const size_t records = oldEngine_.size();
    const size_t secondHeader = records + OldRecord(OldFiles()[0]).size();
    struct Case {
        const char* Name;
        std::string Bytes;
        std::string Message;  // after "stagepack: error: "; FILE stands for the old file's name
    };
    auto patched = [&](size_t at, char value) {
        std::string bytes = old;
        bytes[at] = value;
        return bytes;
    };
    std::string unsafe = oldEngine_;
    unsafe += OldRecord({"evil.txt", "..\\up", "x", 0, 9});
    unsafe += OldTrailer(oldEngine_.size(), unsafe.size() - oldEngine_.size(), 1, 1);
    std::string wrongTotal = oldEngine_ + records_ + OldTrailer(oldEngine_.size(), records_.size(), 5, 12345);
    const Case cases[] = {
        {"header", patched(secondHeader + 4 + 1 + 100, 0x11),  // an undefined byte of the second name
         "File prefix format error on extract from FILE (record 2)"},
        {"stream", patched(records + kRecordHeaderSize + 2 + 500, 0x7F), "(record 1, \"movie.swf\")"},
        {"truncated", old.substr(0, old.size() - 4000), "Session not found on extract from FILE"},
        {"bare engine", oldEngine_, "Session not found on extract from FILE"},
        {"unsafe placement", unsafe, "Unsafe placement \"..\\up\" of file \"evil.txt\" on extract from FILE"},
        {"total size", wrongTotal, "Total size of session Session1 does not match its files in FILE"},
    };
    for (const Case& c : cases) {
        const std::string name = std::string("bad-") + c.Name + ".exe";
        WriteFile(name, c.Bytes);
        const std::vector<std::string> before = Files();
        RunResult r = Run("rehost '" + name + "' -e engine.exe -o new.exe");
        EXPECT_NE(r.exitCode, 0) << c.Name;
        std::string message = c.Message;
        const size_t file = message.find("FILE");
        if (file != std::string::npos) message.replace(file, 4, name);
        EXPECT_NE(r.err.find("stagepack: error: "), std::string::npos) << c.Name << "\n" << r.err;
        EXPECT_NE(r.err.find(message), std::string::npos) << c.Name << "\n" << r.err;
        EXPECT_EQ(Files(), before) << c.Name;  // neither new.exe nor a temporary file
    }
    RunResult noEngine = Run("rehost old.exe -e missing.exe -o new.exe");
    EXPECT_NE(noEngine.err.find("cannot read engine missing.exe"), std::string::npos) << noEngine.err;
    EXPECT_FALSE(fs::exists(Path("new.exe")));
    EXPECT_NE(Run("rehost old.exe -o new.exe").err.find("-e ENGINE"), std::string::npos);
}

}  // namespace
