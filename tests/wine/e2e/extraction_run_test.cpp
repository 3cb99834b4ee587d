// The real engine over real payloads: a run without a hook library extracts and removes everything
// quietly; a broken payload shows the error box and leaves nothing behind.
#include <gtest/gtest.h>

#include "support/distributable.h"

using namespace testsupport;

namespace {

// Incompressible bytes, so the movie's stored stream is long enough to corrupt in the middle.
std::vector<uint8_t> NoiseBytes(size_t size) {
    std::vector<uint8_t> bytes(size);
    uint32_t state = 12345;
    for (uint8_t& byte : bytes) {
        state = state * 1103515245u + 12345u;
        byte = static_cast<uint8_t>(state >> 16);
    }
    return bytes;
}

std::vector<PackedFile> FilesWithoutHookLibrary() {
    return {FileFromBytes("Movie.SWF", NoiseBytes(5000)), FileFromText("readme.txt", "short"),
            FileFromText("intro.swf", std::string(300, 'i'), "movies\\intro"),
            FileFromText("settings.ini", "[Settings]\nPassword=0\n")};
}

}  // namespace

TEST(ExtractionRun, SessionWithoutHookLibraryEndsQuietlyAndLeavesNothing) {
    Distributable app("nodll", FilesWithoutHookLibrary());
    auto engine = app.Start();
    EXPECT_EQ(engine->WaitForExit(30000), 0);
    EXPECT_TRUE(ListTree(app.TempPath()).empty()) << "left behind: " << ::testing::PrintToString(ListTree(app.TempPath()));
    EXPECT_TRUE(TopLevelWindowsOf(engine->Id()).empty());
}

struct BrokenPayloadCase {
    const char* Name;
    std::vector<uint8_t> (*Make)(const std::vector<uint8_t>& good);
    const char* ExpectedAfterPrefix;  // the path of the distributable follows when it ends in "from "
};

std::vector<uint8_t> BareEngine(const std::vector<uint8_t>&) { return EngineImage(); }

std::vector<uint8_t> CorruptFirstRecordHeader(const std::vector<uint8_t>& good) {
    std::vector<uint8_t> bytes = good;
    bytes[EngineImage().size() + 10] ^= 0x5A;  // inside the first record's file name
    return bytes;
}

std::vector<uint8_t> CorruptCompressedMovie(const std::vector<uint8_t>& good) {
    std::vector<uint8_t> bytes = good;
    // The first record is the movie; its zlib stream starts after the 796-byte header and 78 DA.
    const size_t data = EngineImage().size() + 796 + 2 + 1000;
    for (size_t i = 0; i < 40; ++i) bytes[data + i] = 0xFF;
    return bytes;
}

// Keeps the test names short in CTest's listing.
void PrintTo(const BrokenPayloadCase& broken, std::ostream* out) { *out << broken.Name; }

class BrokenPayload : public ::testing::TestWithParam<BrokenPayloadCase> {};

TEST_P(BrokenPayload, ShowsTheErrorBoxAndLeavesNothing) {
    const BrokenPayloadCase& broken = GetParam();
    const std::vector<uint8_t> good = BuildDistributable(EngineImage(), FilesWithoutHookLibrary());
    Distributable app("broken", broken.Make(good));

    auto engine = app.Start();
    MessageBoxContents box = ReadAndDismissMessageBox(engine->Id(), 20000);
    ASSERT_TRUE(box.Found);
    EXPECT_EQ(box.Caption, "Error");
    std::string expected = std::string("Exception occured: ") + broken.ExpectedAfterPrefix;
    if (expected.back() == ' ') expected += app.Path();
    EXPECT_EQ(box.Text, expected);
    EXPECT_EQ(engine->WaitForExit(20000), 0);
    EXPECT_TRUE(ListTree(app.TempPath()).empty()) << "left behind: " << ::testing::PrintToString(ListTree(app.TempPath()));
}

INSTANTIATE_TEST_SUITE_P(
    Payloads, BrokenPayload,
    ::testing::Values(BrokenPayloadCase{"BareEngine", BareEngine, "Session not found on extract from "},
                      BrokenPayloadCase{"BadHeader", CorruptFirstRecordHeader, "File prefix format error on extract from "},
                      BrokenPayloadCase{"CorruptStream", CorruptCompressedMovie, "error"}),
    [](const auto& info) { return std::string(info.param.Name); });
