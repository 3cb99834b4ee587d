// The certificate table entry of PE32 and PE32+ headers, and files that are too short, damaged
// or no executable at all: answered from the bytes at hand, never read past their end.
#include "tools/stagepack/pe_headers.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

void Put16(std::vector<uint8_t>& b, size_t at, uint16_t v) {
    b[at] = static_cast<uint8_t>(v);
    b[at + 1] = static_cast<uint8_t>(v >> 8);
}
void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

struct Image {
    bool Plus = false;
    uint32_t Directories = 16;
    uint32_t CertOffset = 0;
    uint32_t CertSize = 0;
    uint32_t PeHeader = 0x80;
};

constexpr size_t kOptional = 4 + 20;  // after the PE signature and the COFF header

// Headers as a linker lays them out: DOS header, "PE\0\0", COFF header, optional header with its
// data directories; followed by some section bytes.
std::vector<uint8_t> MakeImage(const Image& image) {
    const size_t fixed = image.Plus ? 112 : 96;
    const size_t optionalSize = fixed + 8 * image.Directories;
    std::vector<uint8_t> b(image.PeHeader + kOptional + optionalSize + 512, 0xCC);
    b[0] = 'M';
    b[1] = 'Z';
    Put32(b, 0x3C, image.PeHeader);
    std::memcpy(&b[image.PeHeader], "PE\0\0", 4);
    Put16(b, image.PeHeader + 4 + 16, static_cast<uint16_t>(optionalSize));
    const size_t optional = image.PeHeader + kOptional;
    Put16(b, optional, image.Plus ? 0x20B : 0x10B);
    Put32(b, optional + fixed - 4, image.Directories);
    for (uint32_t i = 0; i < image.Directories; ++i) {
        Put32(b, optional + fixed + 8 * i, 0x1000 * (i + 1));  // other directories: RVAs and sizes
        Put32(b, optional + fixed + 8 * i + 4, 0x40);
    }
    if (image.Directories > 4) {
        Put32(b, optional + fixed + 32, image.CertOffset);
        Put32(b, optional + fixed + 36, image.CertSize);
    }
    return b;
}

struct HeaderCase {
    const char* Name;
    Image Layout;
    PeKind Kind;
    bool Signed;
};

TEST(PeCertificateTable, ReadsTheEntryOfPe32AndPe32PlusImages) {
    const HeaderCase cases[] = {
        {"unsigned PE32", {false, 16, 0, 0}, PeKind::Pe32, false},
        {"signed PE32", {false, 16, 0x20000, 0x5A8}, PeKind::Pe32, true},
        {"unsigned PE32+", {true, 16, 0, 0}, PeKind::Pe32Plus, false},
        {"signed PE32+", {true, 16, 0x31000, 0x7F0}, PeKind::Pe32Plus, true},
        {"signed, five directories", {false, 5, 0x9000, 0x10}, PeKind::Pe32, true},
        {"four directories: no certificate table", {true, 4, 0, 0}, PeKind::Pe32Plus, false},
        {"headers far into the file", {false, 16, 0x4000, 0x200, 0x1F00}, PeKind::Pe32, true},
    };
    for (const HeaderCase& c : cases) {
        const std::vector<uint8_t> bytes = MakeImage(c.Layout);
        const PeCertificateTable table = ReadPeCertificateTable(bytes.data(), bytes.size());
        EXPECT_EQ(table.Kind, c.Kind) << c.Name;
        EXPECT_EQ(IsSignedImage(table), c.Signed) << c.Name;
        if (c.Signed) {
            EXPECT_EQ(table.Offset, c.Layout.CertOffset) << c.Name;
            EXPECT_EQ(table.Size, c.Layout.CertSize) << c.Name;
        }
    }
}

// Every prefix that ends before the entry's last byte is not a complete header; the ones that
// hold it read the entry. Run under AddressSanitizer, each prefix is its own exact-size buffer.
TEST(PeCertificateTable, TruncatedHeadersAreNotReadPastTheirEnd) {
    for (bool plus : {false, true}) {
        const std::vector<uint8_t> whole = MakeImage({plus, 16, 0x8000, 0x300});
        const size_t entryEnd = 0x80 + kOptional + (plus ? 112 : 96) + 40;
        for (size_t length = 0; length <= entryEnd + 8; ++length) {
            std::vector<uint8_t> prefix(whole.begin(), whole.begin() + length);
            const PeCertificateTable table = ReadPeCertificateTable(prefix.data(), prefix.size());
            EXPECT_EQ(IsSignedImage(table), length >= entryEnd) << (plus ? "PE32+ " : "PE32 ") << length;
        }
    }
}

TEST(PeCertificateTable, DamagedOrForeignHeadersAreNoImage) {
    struct Damage {
        const char* Name;
        void (*Apply)(std::vector<uint8_t>&);
    };
    const Damage damages[] = {
        {"no MZ", [](std::vector<uint8_t>& b) { b[1] = 'Y'; }},
        {"no PE signature", [](std::vector<uint8_t>& b) { b[0x80 + 2] = 'X'; }},
        {"unknown optional header magic", [](std::vector<uint8_t>& b) { Put16(b, 0x80 + kOptional, 0x107); }},
        {"PE header pointer past the end", [](std::vector<uint8_t>& b) { Put32(b, 0x3C, 0xFFFFFFF0); }},
        {"optional header too small for the entry",
         [](std::vector<uint8_t>& b) { Put16(b, 0x80 + 4 + 16, 96 + 8 * 4); }},
        {"optional header too small for the directory count", [](std::vector<uint8_t>& b) { Put16(b, 0x80 + 4 + 16, 64); }},
    };
    for (const Damage& d : damages) {
        std::vector<uint8_t> bytes = MakeImage({false, 16, 0x8000, 0x300});
        d.Apply(bytes);
        const PeCertificateTable table = ReadPeCertificateTable(bytes.data(), bytes.size());
        EXPECT_EQ(table.Kind, PeKind::NotPe) << d.Name;
        EXPECT_FALSE(IsSignedImage(table)) << d.Name;
    }
    EXPECT_FALSE(IsSignedImage(ReadPeCertificateTable(nullptr, 0)));
}

}  // namespace
