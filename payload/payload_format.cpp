#include "payload/payload_format.h"

#include <cstring>

uint32_t HeaderCheckValue(const void* bytes, size_t count) {
    const uint8_t* p = static_cast<const uint8_t*>(bytes);
    uint32_t r = 0;
    for (size_t i = 0; i < count; ++i) r = r * 3u + p[i];
    return r;
}

namespace {

uint32_t LoadWord(const uint8_t* p) {
    uint32_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

BlockCheck CheckBlock(const uint8_t* block, size_t checkedBytes) {
    if (LoadWord(block + checkedBytes + 4) != kPayloadEndMark) return BlockCheck::BadEndMark;
    if (LoadWord(block) != kPayloadSignature) return BlockCheck::BadSignature;
    if (LoadWord(block + checkedBytes) != HeaderCheckValue(block, checkedBytes)) return BlockCheck::BadCheckValue;
    return BlockCheck::Valid;
}

}  // namespace

BlockCheck CheckTrailer(const SessionTrailer& trailer) {
    return CheckBlock(reinterpret_cast<const uint8_t*>(&trailer), kTrailerCheckedBytes);
}

BlockCheck CheckRecordHeader(const RecordHeader& header) {
    return CheckBlock(reinterpret_cast<const uint8_t*>(&header), kRecordHeaderCheckedBytes);
}

bool IsValidTrailerAt(const uint8_t* bytes) {
    return CheckBlock(bytes, kTrailerCheckedBytes) == BlockCheck::Valid;
}

void SealTrailer(SessionTrailer& trailer) {
    trailer.Signature = kPayloadSignature;
    trailer.EndMark = kPayloadEndMark;
    trailer.CheckValue = HeaderCheckValue(&trailer, kTrailerCheckedBytes);
}

void SealRecordHeader(RecordHeader& header) {
    header.Signature = kPayloadSignature;
    header.EndMark = kPayloadEndMark;
    header.CheckValue = HeaderCheckValue(&header, kRecordHeaderCheckedBytes);
}

bool StoreShortString(uint8_t& length, char* textBytes, size_t capacity, const std::string& text) {
    if (text.size() > capacity) return false;
    length = static_cast<uint8_t>(text.size());
    if (!text.empty()) std::memcpy(textBytes, text.data(), text.size());
    return true;
}
