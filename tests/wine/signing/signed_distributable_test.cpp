// A distributable signed after packing, as an author ships it. scripts/signed-distributable-test.sh
// runs these steps in order around the signing itself: PackForSigning writes the distributable,
// osslsigncode signs and verifies it, and the last step finds the payload behind the signature,
// reads it with stagepack and runs it with the movie shown, leaving nothing behind.
#include <windows.h>

#include <gtest/gtest.h>

#include "payload/payload_file_system.h"
#include "payload/trailer_search.h"
#include "support/standin_report.h"
#include "tools/stagepack/pe_headers.h"

using namespace testsupport;

namespace {

std::string SigningDir() { return DirFromEnvironment("STAGEHOST_SIGNING_DIR") + "\\"; }

std::vector<PackedFile> SignedMovieFiles() { return MovieFiles("FullScreen=0\r\n"); }

long RunStagepack(const std::string& arguments) {
    ChildProcess stagepack(BinPath("tools\\stagepack\\stagepack.exe"), arguments, {});
    return stagepack.WaitForExit(30000);
}

}  // namespace

TEST(SignedDistributable, PackForSigning) {
    WriteFileBytes(SigningDir() + "unsigned.exe", BuildDistributable(EngineImage(), SignedMovieFiles()));
}

TEST(SignedDistributable, FoundBehindTheSignatureReadAndRunWithNothingLeft) {
    const std::vector<uint8_t> unsignedBytes = ReadFileBytes(SigningDir() + "unsigned.exe");
    const std::vector<uint8_t> signedBytes = ReadFileBytes(SigningDir() + "signed.exe");
    ASSERT_GT(signedBytes.size(), unsignedBytes.size() + 1024);

    // The signature lies after the payload, and the payload is still where it was.
    const PeCertificateTable table = ReadPeCertificateTable(signedBytes.data(), signedBytes.size());
    ASSERT_TRUE(IsSignedImage(table));
    EXPECT_GE(table.Offset, unsignedBytes.size());
    EXPECT_EQ(static_cast<uint64_t>(table.Offset) + table.Size, signedBytes.size());
    Distributable app("signed", signedBytes);
    {
        auto source = PortablePayloadFileSystem().OpenSource(app.Path());
        FoundTrailer session;
        ASSERT_TRUE(FindSession(*source, "Session1", true, session));
        EXPECT_EQ(session.Offset, unsignedBytes.size() - kTrailerSize);
        EXPECT_EQ(session.Trailer.DataStart, EngineImage().size());
    }

    // The author's tool reads it as any other distributable.
    EXPECT_EQ(RunStagepack("list \"" + app.Path() + "\""), 0);
    EXPECT_EQ(RunStagepack("verify \"" + app.Path() + "\""), 0);
    TempDir extracted("extracted");
    const std::string target = extracted.Path().substr(0, extracted.Path().size() - 1);  // no "\" before a quote
    ASSERT_EQ(RunStagepack("extract \"" + app.Path() + "\" \"" + target + "\""), 0);
    for (const PackedFile& file : SignedMovieFiles())
        EXPECT_EQ(ReadFileBytes(extracted.File(file.FileName)), file.Contents) << file.FileName;

    TempDir work("report");
    MovieRun run = StartMovie(app, work.File("report.txt"));
    ASSERT_TRUE(CapturedAndShown(run.Report));
    EXPECT_TRUE(IsInsideWindow(run.Report.Window(), run.Host));
    PostMessageA(run.Report.Window(), WM_CLOSE, 0, 0);
    EXPECT_EQ(run.Engine->WaitForExit(30000), 0);
    EXPECT_TRUE(ListTree(app.TempPath()).empty()) << "left behind: " << ::testing::PrintToString(ListTree(app.TempPath()));
}
