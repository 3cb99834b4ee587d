#include "tools/stagepack/pe_headers.h"

namespace {

constexpr uint64_t kNewHeaderPointer = 0x3C;  // e_lfanew in the DOS header
constexpr uint64_t kCoffHeaderSize = 20;
constexpr uint64_t kSizeOfOptionalHeaderInCoff = 16;
constexpr uint16_t kPe32Magic = 0x10B;
constexpr uint16_t kPe32PlusMagic = 0x20B;
// Offsets inside the optional header of NumberOfRvaAndSizes, then of the data directories.
constexpr uint64_t kPe32DirectoryCount = 92;
constexpr uint64_t kPe32PlusDirectoryCount = 108;
constexpr uint32_t kCertificateTableEntry = 4;
constexpr uint64_t kDirectoryEntrySize = 8;

// Little-endian reads that fail instead of running past the end.
class Bytes {
public:
    Bytes(const uint8_t* bytes, size_t size) : bytes_(bytes), size_(size) {}
    bool Has(uint64_t offset, uint64_t count) const { return offset <= size_ && count <= size_ - offset; }
    bool U16(uint64_t offset, uint16_t& value) const {
        if (!Has(offset, 2)) return false;
        value = static_cast<uint16_t>(bytes_[offset] | bytes_[offset + 1] << 8);
        return true;
    }
    bool U32(uint64_t offset, uint32_t& value) const {
        if (!Has(offset, 4)) return false;
        value = 0;
        for (int i = 3; i >= 0; --i) value = value << 8 | bytes_[offset + i];
        return true;
    }

private:
    const uint8_t* bytes_;
    size_t size_;
};

}  // namespace

PeCertificateTable ReadPeCertificateTable(const uint8_t* bytes, size_t size) {
    const Bytes file(bytes, size);
    PeCertificateTable none;
    uint16_t dosMagic;
    uint32_t peHeader;
    if (!file.U16(0, dosMagic) || dosMagic != 0x5A4D || !file.U32(kNewHeaderPointer, peHeader)) return none;
    uint32_t peSignature;
    if (!file.U32(peHeader, peSignature) || peSignature != 0x00004550) return none;  // "PE\0\0"
    const uint64_t coff = static_cast<uint64_t>(peHeader) + 4;
    uint16_t optionalSize, magic;
    if (!file.U16(coff + kSizeOfOptionalHeaderInCoff, optionalSize)) return none;
    const uint64_t optional = coff + kCoffHeaderSize;
    if (!file.U16(optional, magic)) return none;

    PeCertificateTable table;
    uint64_t countOffset;
    if (magic == kPe32Magic) {
        table.Kind = PeKind::Pe32;
        countOffset = kPe32DirectoryCount;
    } else if (magic == kPe32PlusMagic) {
        table.Kind = PeKind::Pe32Plus;
        countOffset = kPe32PlusDirectoryCount;
    } else {
        return none;
    }
    uint32_t directoryCount;
    if (countOffset + 4 > optionalSize || !file.U32(optional + countOffset, directoryCount)) return none;
    // An image with fewer directories simply has no certificate table.
    if (directoryCount <= kCertificateTableEntry) return table;
    const uint64_t entry = countOffset + 4 + kCertificateTableEntry * kDirectoryEntrySize;
    if (entry + kDirectoryEntrySize > optionalSize) return none;
    if (!file.U32(optional + entry, table.Offset) || !file.U32(optional + entry + 4, table.Size)) return none;
    return table;
}
