#include "payload/payload_writer.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include "payload/engine_error.h"
#include "payload_test_files.h"

namespace {

using namespace payload_test;

std::vector<PackedFile> EightFiles() {
    return {File("movie.swf", TextBytes(5000)),        File("player.exe", RandomBytes(3000, 1)),
            File("quenbyrun.dll", RandomBytes(700, 2)), File("settings.ini", TextBytes(60)),
            File("music.mid", TextBytes(108)),          File("intro.swf", TextBytes(109), "movies\\intro"),
            File("empty.txt", {}),                       File("vedit.exe", RandomBytes(200, 3), "VTOOL.EDIT")};
}

std::vector<uint8_t> Inflate(const uint8_t* data, size_t size, size_t expected) {
    std::vector<uint8_t> out(expected);
    uLongf length = static_cast<uLongf>(expected);
    EXPECT_EQ(uncompress(out.data(), &length, data, static_cast<uLong>(size)), Z_OK);
    out.resize(length);
    return out;
}

TEST(PayloadWriter, OneSessionOfEightFilesFollowsTheLayout) {
    std::vector<uint8_t> image = EngineImage();
    std::vector<PackedFile> files = EightFiles();
    std::vector<uint8_t> bytes = BuildDistributable(image, files);

    ASSERT_TRUE(std::equal(image.begin(), image.end(), bytes.begin()));
    const size_t trailerOffset = bytes.size() - kTrailerSize;
    SessionTrailer t = TrailerAt(bytes, trailerOffset);
    EXPECT_EQ(CheckTrailer(t), BlockCheck::Valid);
    EXPECT_EQ(t.DataStart, image.size());
    EXPECT_EQ(t.DataStart + t.DataSize, trailerOffset);
    EXPECT_EQ(t.FileCount, 8u);
    uint32_t total = 0;
    for (const PackedFile& f : files) total += static_cast<uint32_t>(f.Contents.size());
    EXPECT_EQ(t.TotalSize, total);
    EXPECT_EQ(ReadShortString(t.SessionName), "Session1");
    EXPECT_EQ(ReadShortString(t.PackerVersion), kPackerVersionText);
    EXPECT_EQ(t.WriterWord, kWriterLayoutVersion);

    std::vector<size_t> offsets = RecordOffsets(bytes);
    ASSERT_EQ(offsets.size(), 8u);
    for (size_t i = 0; i < files.size(); ++i) {
        RecordHeader h = HeaderAt(bytes, offsets[i]);
        SCOPED_TRACE(files[i].FileName);
        EXPECT_EQ(CheckRecordHeader(h), BlockCheck::Valid);
        EXPECT_EQ(ReadShortString(h.FileName), files[i].FileName);
        EXPECT_EQ(ReadShortString(h.SourceDir), "C:\\Authoring\\");
        EXPECT_EQ(ReadShortString(h.Placement), files[i].Placement);
        EXPECT_EQ(h.OriginalSize, files[i].Contents.size());
        EXPECT_EQ(RecordLastWriteTime(h), kSampleTime);
        const uint8_t* data = bytes.data() + offsets[i] + kRecordHeaderSize;
        if (IsCompressedRecord(h.OriginalSize)) {
            EXPECT_EQ(data[0], 0x78);
            EXPECT_EQ(data[1], 0xDA);
            EXPECT_EQ(Inflate(data, h.StoredSize, h.OriginalSize), files[i].Contents);
        } else {
            EXPECT_EQ(h.StoredSize, h.OriginalSize);
            EXPECT_TRUE(std::equal(files[i].Contents.begin(), files[i].Contents.end(), data));
        }
    }
}

TEST(PayloadWriter, CompressionDependsOnTheOriginalSizeAlone) {
    std::vector<uint8_t> bytes = BuildDistributable(
        EngineImage(), {File("a", TextBytes(108)), File("b", TextBytes(109)), File("c", RandomBytes(500, 9)),
                        File("d", {})});
    std::vector<size_t> offsets = RecordOffsets(bytes);
    EXPECT_EQ(HeaderAt(bytes, offsets[0]).StoredSize, 108u);
    EXPECT_LT(HeaderAt(bytes, offsets[1]).StoredSize, 109u);
    // Incompressible data is still stored as a zlib stream, larger than the file.
    EXPECT_GT(HeaderAt(bytes, offsets[2]).StoredSize, 500u);
    EXPECT_EQ(bytes[offsets[2] + kRecordHeaderSize], 0x78);
    EXPECT_EQ(HeaderAt(bytes, offsets[3]).StoredSize, 0u);
    EXPECT_EQ(offsets[3] + kRecordHeaderSize, bytes.size() - kTrailerSize);
}

TEST(PayloadWriter, OutputIsDeterministicAndTheFileSinkWritesTheSameBytes) {
    std::vector<PackedFile> files = EightFiles();
    files.push_back(File("big.bin", RandomBytes(300000, 4)));  // several compression chunks
    std::vector<uint8_t> first = BuildDistributable(EngineImage(), files);
    EXPECT_EQ(first, BuildDistributable(EngineImage(), files));

    TempDir dir;
    {
        FileSink sink(dir.File("out.exe"));
        std::vector<uint8_t> image = EngineImage();
        sink.Append(image.data(), image.size());
        SessionWriter writer(sink);
        for (const PackedFile& f : files) {
            struct Reader : ContentReader {
                const std::vector<uint8_t>& bytes;
                size_t position = 0;
                explicit Reader(const std::vector<uint8_t>& b) : bytes(b) {}
                size_t Read(void* buffer, size_t count) override {  // small pieces on purpose
                    size_t n = std::min({count, bytes.size() - position, size_t{1000}});
                    if (n) std::memcpy(buffer, bytes.data() + position, n);
                    position += n;
                    return n;
                }
            } reader(f.Contents);
            writer.AddFile({f.FileName, f.SourceDir, f.Placement, static_cast<uint32_t>(f.Contents.size()),
                            f.LastWriteTime},
                           reader);
        }
        writer.Finish("Session1");
        sink.Close();
    }
    EXPECT_EQ(ReadBytes(dir.File("out.exe")), first);
}

TEST(PayloadWriter, StackedSessionsChainBackToTheEarlierTrailer) {
    std::vector<uint8_t> bytes = BuildDistributable(EngineImage(), {File("a.txt", TextBytes(300))});
    const size_t firstEnd = bytes.size();
    AppendSession(bytes, {File("b.txt", TextBytes(50))}, "Session2");
    SessionTrailer second = TrailerAt(bytes, bytes.size() - kTrailerSize);
    EXPECT_EQ(second.DataStart, firstEnd);
    EXPECT_EQ(ReadShortString(second.SessionName), "Session2");
    EXPECT_EQ(CheckTrailer(TrailerAt(bytes, second.DataStart - kTrailerSize)), BlockCheck::Valid);
}

TEST(PayloadWriter, RefusesTextsThatDoNotFitTheirFields) {
    std::vector<uint8_t> image = EngineImage();
    EXPECT_THROW(BuildDistributable(image, {File(std::string(256, 'n'), {})}), EngineError);
    EXPECT_THROW(BuildDistributable(image, {File("a", {}, std::string(256, 'p'))}), EngineError);
    EXPECT_THROW(BuildDistributable(image, {File("a", {})}, std::string(64, 's')), EngineError);
    EXPECT_NO_THROW(BuildDistributable(image, {File(std::string(255, 'n'), {})}, std::string(63, 's')));
}

TEST(PayloadWriter, ContentsMustMatchTheAnnouncedSize) {
    std::vector<uint8_t> sinkBytes;
    VectorSink sink(sinkBytes);
    SessionWriter writer(sink);
    struct Fixed : ContentReader {
        size_t left;
        explicit Fixed(size_t n) : left(n) {}
        size_t Read(void* buffer, size_t count) override {
            size_t n = std::min(count, left);
            std::memset(buffer, 'x', n);
            left -= n;
            return n;
        }
    };
    Fixed shorter(100), longer(500);
    EXPECT_THROW(writer.AddFile({"short", "", "", 200, 0}, shorter), EngineError);
    EXPECT_THROW(writer.AddFile({"long", "", "", 200, 0}, longer), EngineError);
}

}  // namespace
