#include "payload/payload_format.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

TEST(HeaderCheckValue, MultipliesByThreeAndAddsEachByte) {
    EXPECT_EQ(HeaderCheckValue("", 0), 0u);
    const uint8_t small[] = {1, 2, 3};
    EXPECT_EQ(HeaderCheckValue(small, 3), 18u);  // ((1) * 3 + 2) * 3 + 3
    EXPECT_EQ(HeaderCheckValue("Session1", 8), 296623u);
    std::vector<uint8_t> ones(21, 0xFF);  // wraps modulo 2^32
    EXPECT_EQ(HeaderCheckValue(ones.data(), ones.size()), 2255171495u);
}

SessionTrailer SealedTrailer() {
    SessionTrailer t;
    std::memset(&t, 0x5A, sizeof t);  // arbitrary bytes everywhere, as a packer may leave them
    WriteShortString(t.SessionName, "Session1");
    SealTrailer(t);
    return t;
}

TEST(BlockChecks, SealedBlocksAreValidAndCarryTheMarksAsBytes) {
    SessionTrailer t = SealedTrailer();
    EXPECT_EQ(CheckTrailer(t), BlockCheck::Valid);
    const uint8_t* bytes = reinterpret_cast<const uint8_t*>(&t);
    const uint8_t signature[] = {0xA3, 0x61, 0x4A, 0x6A};
    const uint8_t endMark[] = {0x0D, 0xBF, 0xF9, 0x8C};
    EXPECT_EQ(std::memcmp(bytes, signature, 4), 0);
    EXPECT_EQ(std::memcmp(bytes + 216, endMark, 4), 0);
    EXPECT_TRUE(IsValidTrailerAt(bytes));

    RecordHeader h;
    std::memset(&h, 0xC3, sizeof h);
    SealRecordHeader(h);
    EXPECT_EQ(CheckRecordHeader(h), BlockCheck::Valid);
    EXPECT_EQ(h.CheckValue, HeaderCheckValue(&h, 788));
}

TEST(BlockChecks, TestsEndMarkThenSignatureThenCheckValue) {
    SessionTrailer t = SealedTrailer();
    t.CheckValue ^= 1;
    EXPECT_EQ(CheckTrailer(t), BlockCheck::BadCheckValue);
    t.Signature ^= 1;
    EXPECT_EQ(CheckTrailer(t), BlockCheck::BadSignature);
    t.EndMark ^= 1;
    EXPECT_EQ(CheckTrailer(t), BlockCheck::BadEndMark);
    EXPECT_FALSE(IsValidTrailerAt(reinterpret_cast<const uint8_t*>(&t)));
}

TEST(BlockChecks, CheckValueCoversTheUndefinedBytesOfShortStrings) {
    RecordHeader h;
    std::memset(&h, 0, sizeof h);
    WriteShortString(h.FileName, "movie.swf");
    SealRecordHeader(h);
    h.FileName.Text[100] = 'x';  // beyond the text: the name reads the same
    EXPECT_EQ(ReadShortString(h.FileName), "movie.swf");
    EXPECT_EQ(CheckRecordHeader(h), BlockCheck::BadCheckValue);
}

TEST(ShortStrings, ReadOnlyTheCountedBytes) {
    ShortString<63> s;
    std::memset(&s, 'z', sizeof s);
    s.Length = 3;
    EXPECT_EQ(ReadShortString(s), "zzz");
    s.Length = 200;  // beyond the capacity: read as the capacity
    EXPECT_EQ(ReadShortString(s).size(), 63u);
    s.Length = 0;
    EXPECT_EQ(ReadShortString(s), "");
}

TEST(ShortStrings, WriteKeepsTheBytesAfterTheTextAndRefusesOverlongText) {
    ShortString<63> s;
    std::memset(&s, '#', sizeof s);
    EXPECT_TRUE(WriteShortString(s, "abc"));
    EXPECT_EQ(s.Length, 3);
    EXPECT_EQ(s.Text[3], '#');
    EXPECT_TRUE(WriteShortString(s, std::string(63, 'a')));
    EXPECT_FALSE(WriteShortString(s, std::string(64, 'b')));
    EXPECT_EQ(ReadShortString(s), std::string(63, 'a'));
}

TEST(RecordFields, LastWriteTimeSpansTwoWordsAndCompressionStartsAt109) {
    RecordHeader h{};
    SetRecordLastWriteTime(h, 0x0123456789ABCDEFull);
    EXPECT_EQ(h.LastWriteTimeLow, 0x89ABCDEFu);
    EXPECT_EQ(h.LastWriteTimeHigh, 0x01234567u);
    EXPECT_EQ(RecordLastWriteTime(h), 0x0123456789ABCDEFull);
    EXPECT_FALSE(IsCompressedRecord(108));
    EXPECT_TRUE(IsCompressedRecord(109));
    EXPECT_FALSE(IsCompressedRecord(0));
}

}  // namespace
