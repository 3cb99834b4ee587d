// The appended payload container: session trailers and file record headers, byte for byte as they
// lie in a distributable, with the tests that tell a valid block from any other bytes.
// Portable: no <windows.h>.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#if !defined(__BYTE_ORDER__) || __BYTE_ORDER__ != __ORDER_LITTLE_ENDIAN__
#error "The payload structures map the little-endian file layout directly onto memory."
#endif

constexpr uint32_t kPayloadSignature = 0x6A4A61A3;
constexpr uint32_t kPayloadEndMark = 0x8CF9BF0D;
constexpr size_t kTrailerSize = 220;
constexpr size_t kTrailerCheckedBytes = 212;
constexpr size_t kRecordHeaderSize = 796;
constexpr size_t kRecordHeaderCheckedBytes = 788;
// Files of this size or more are stored as a zlib stream; smaller ones raw.
constexpr uint32_t kCompressedFromSize = 109;
constexpr size_t kSessionNameCapacity = 63;
// The backward search for a trailer tests no window that ends before this offset.
constexpr uint64_t kTrailerSearchFloor = 2048;

// One length byte, then Capacity bytes of which the first `Length` are the text. The bytes after
// the text are whatever the writer left there: never assume zeros.
template <size_t Capacity>
struct ShortString {
    uint8_t Length;
    char Text[Capacity];
};
static_assert(sizeof(ShortString<63>) == 64, "short string of capacity 63");
static_assert(sizeof(ShortString<255>) == 256, "short string of capacity 255");

struct SessionTrailer {
    uint32_t Signature;
    uint32_t DataStart;   // absolute offset of the session's first record
    uint32_t DataSize;    // bytes of records, from DataStart up to this trailer
    uint32_t FileCount;   // read as a signed count
    uint32_t WriterWord;  // free for the writer (ours: kWriterLayoutVersion)
    uint32_t TotalSize;   // sum of the original sizes; 0 means an empty session
    ShortString<63> PackerVersion;
    ShortString<63> SessionName;
    uint8_t Reserved[60];  // free for the writer (ours: zeros)
    uint32_t CheckValue;   // HeaderCheckValue of bytes 0..211
    uint32_t EndMark;
};
static_assert(offsetof(SessionTrailer, Signature) == 0, "trailer layout");
static_assert(offsetof(SessionTrailer, DataStart) == 4, "trailer layout");
static_assert(offsetof(SessionTrailer, DataSize) == 8, "trailer layout");
static_assert(offsetof(SessionTrailer, FileCount) == 12, "trailer layout");
static_assert(offsetof(SessionTrailer, WriterWord) == 16, "trailer layout");
static_assert(offsetof(SessionTrailer, TotalSize) == 20, "trailer layout");
static_assert(offsetof(SessionTrailer, PackerVersion) == 24, "trailer layout");
static_assert(offsetof(SessionTrailer, SessionName) == 88, "trailer layout");
static_assert(offsetof(SessionTrailer, Reserved) == 152, "trailer layout");
static_assert(offsetof(SessionTrailer, CheckValue) == 212, "trailer layout");
static_assert(offsetof(SessionTrailer, EndMark) == 216, "trailer layout");
static_assert(sizeof(SessionTrailer) == kTrailerSize, "trailer size");
static_assert(offsetof(SessionTrailer, CheckValue) == kTrailerCheckedBytes, "trailer checked bytes");

struct RecordHeader {
    uint32_t Signature;
    ShortString<255> FileName;   // name without directory
    ShortString<255> SourceDir;  // where the packer took the file from, ending in "\"
    ShortString<255> Placement;  // "." / empty / "VTOOL...." / a sub-directory path
    uint32_t OriginalSize;
    uint32_t StoredSize;         // data bytes following the header
    // FILETIME (100 ns since 1601-01-01 UTC); at offset 780, so held as two words to keep the
    // structure free of padding.
    uint32_t LastWriteTimeLow;
    uint32_t LastWriteTimeHigh;
    uint32_t CheckValue;         // HeaderCheckValue of bytes 0..787
    uint32_t EndMark;
};
static_assert(offsetof(RecordHeader, Signature) == 0, "record header layout");
static_assert(offsetof(RecordHeader, FileName) == 4, "record header layout");
static_assert(offsetof(RecordHeader, SourceDir) == 260, "record header layout");
static_assert(offsetof(RecordHeader, Placement) == 516, "record header layout");
static_assert(offsetof(RecordHeader, OriginalSize) == 772, "record header layout");
static_assert(offsetof(RecordHeader, StoredSize) == 776, "record header layout");
static_assert(offsetof(RecordHeader, LastWriteTimeLow) == 780, "record header layout");
static_assert(offsetof(RecordHeader, LastWriteTimeHigh) == 784, "record header layout");
static_assert(offsetof(RecordHeader, CheckValue) == 788, "record header layout");
static_assert(offsetof(RecordHeader, EndMark) == 792, "record header layout");
static_assert(sizeof(RecordHeader) == kRecordHeaderSize, "record header size");
static_assert(offsetof(RecordHeader, CheckValue) == kRecordHeaderCheckedBytes, "record checked bytes");

// r = r * 3 + b over the bytes as stored, modulo 2^32.
uint32_t HeaderCheckValue(const void* bytes, size_t count);

// Outcome of the validity tests, made in this order: end mark, signature, check value.
enum class BlockCheck { Valid, BadEndMark, BadSignature, BadCheckValue };

BlockCheck CheckTrailer(const SessionTrailer& trailer);
BlockCheck CheckRecordHeader(const RecordHeader& header);
// The same tests straight on kTrailerSize bytes of a buffer (the backward search).
bool IsValidTrailerAt(const uint8_t* bytes);

// The text of a short string; a length byte beyond the capacity is read as the capacity.
template <size_t Capacity>
std::string ReadShortString(const ShortString<Capacity>& s) {
    size_t length = s.Length <= Capacity ? s.Length : Capacity;
    return std::string(s.Text, length);
}

// Stores text with its length byte; the bytes after the text are left as they were. False when
// the text does not fit (nothing is changed then).
bool StoreShortString(uint8_t& length, char* textBytes, size_t capacity, const std::string& text);
template <size_t Capacity>
bool WriteShortString(ShortString<Capacity>& s, const std::string& text) {
    return StoreShortString(s.Length, s.Text, Capacity, text);
}

inline uint64_t RecordLastWriteTime(const RecordHeader& h) {
    return (static_cast<uint64_t>(h.LastWriteTimeHigh) << 32) | h.LastWriteTimeLow;
}
inline void SetRecordLastWriteTime(RecordHeader& h, uint64_t fileTime) {
    h.LastWriteTimeLow = static_cast<uint32_t>(fileTime);
    h.LastWriteTimeHigh = static_cast<uint32_t>(fileTime >> 32);
}
inline bool IsCompressedRecord(uint32_t originalSize) { return originalSize >= kCompressedFromSize; }

// Fill in the marks and the check value once every other field is final.
void SealTrailer(SessionTrailer& trailer);
void SealRecordHeader(RecordHeader& header);
