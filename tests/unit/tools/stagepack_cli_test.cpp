// stagepack as an author runs it: build, list, verify and extract round trips, and bad input that
// must fail with a message, a non-zero exit and no output file.
#include "stagepack_fixture.h"

namespace {

using namespace stagepack_test;

TEST_F(StagepackTest, BuildListVerifyExtractRoundTrip) {
    RunResult build = Run(kBuild);
    ASSERT_EQ(build.exitCode, 0) << build.err;
    std::string demo = ReadFile(Path("demo.exe"));
    EXPECT_EQ(demo.compare(0, 40000, ReadFile(Path("engine.exe"))), 0);

    RunResult list = Run("list demo.exe");
    ASSERT_EQ(list.exitCode, 0) << list.err;
    EXPECT_NE(list.out.find("session \"Session1\" at " + std::to_string(demo.size() - 220) + ": data 40000.."), std::string::npos)
        << list.out;
    EXPECT_NE(list.out.find("6 file(s)"), std::string::npos) << list.out;
    for (const char* name : {"movie.swf", "player.exe", "quenbyrun.dll", "settings.ini", "vedit.exe", "intro.swf",
                             "placement VTOOL.EDIT", "placement movies\\intro"})
        EXPECT_NE(list.out.find(name), std::string::npos) << name;

    RunResult verify = Run("verify demo.exe");
    EXPECT_EQ(verify.exitCode, 0) << verify.out << verify.err;

    RunResult extract = Run("extract demo.exe out");
    ASSERT_EQ(extract.exitCode, 0) << extract.err;
    for (const char* name : {"movie.swf", "player.exe", "quenbyrun.dll", "settings.ini"})
        EXPECT_EQ(ReadFile(Path(std::string("out/") + name)), ReadFile(Path(name))) << name;
    EXPECT_EQ(ReadFile(Path("out/vedit.exe")), ReadFile(Path("tools/vedit.exe")));
    EXPECT_EQ(ReadFile(Path("out/movies/intro/intro.swf")), ReadFile(Path("intro.swf")));
    struct stat original, extracted;
    ASSERT_EQ(stat(Path("movie.swf").c_str(), &original), 0);
    ASSERT_EQ(stat(Path("out/movie.swf").c_str(), &extracted), 0);
    EXPECT_EQ(original.st_mtim.tv_sec, extracted.st_mtim.tv_sec);
    EXPECT_EQ(original.st_mtim.tv_nsec / 100, extracted.st_mtim.tv_nsec / 100);
}

TEST_F(StagepackTest, StackedSessionsAreBuiltOnAnExistingDistributable) {
    ASSERT_EQ(Run("build -e engine.exe -o one.exe movie.swf").exitCode, 0);
    ASSERT_EQ(Run("build -e one.exe -o two.exe -s Extra intro.swf").exitCode, 0);
    RunResult list = Run("list two.exe");
    ASSERT_EQ(list.exitCode, 0);
    size_t first = list.out.find("session \"Session1\"");
    size_t second = list.out.find("session \"Extra\"");
    EXPECT_NE(first, std::string::npos);
    EXPECT_NE(second, std::string::npos);
    EXPECT_LT(first, second);
    EXPECT_EQ(Run("verify two.exe").exitCode, 0);
    ASSERT_EQ(Run("extract -s Session1 two.exe out").exitCode, 0);
    EXPECT_TRUE(fs::exists(Path("out/movie.swf")));
    EXPECT_FALSE(fs::exists(Path("out/intro.swf")));
}

TEST_F(StagepackTest, VerifyAndListFindDamage) {
    ASSERT_EQ(Run(kBuild).exitCode, 0);
    std::string demo = ReadFile(Path("demo.exe"));
    // The first record (movie.swf) starts at the engine's end; damage its compressed data.
    std::string damaged = demo;
    damaged[40000 + 796 + 100] ^= 0x55;
    WriteFile("damaged.exe", damaged);
    RunResult verify = Run("verify damaged.exe");
    EXPECT_NE(verify.exitCode, 0);
    EXPECT_NE(verify.out.find("movie.swf"), std::string::npos) << verify.out;

    std::string badHeader = demo;
    badHeader[40000 + 4 + 1 + 100] ^= 0x01;  // an undefined byte of the first file name
    WriteFile("badheader.exe", badHeader);
    RunResult list = Run("list badheader.exe");
    EXPECT_NE(list.exitCode, 0);
    EXPECT_NE(list.out.find("BAD CHECK VALUE"), std::string::npos) << list.out;
    EXPECT_NE(Run("verify badheader.exe").exitCode, 0);
    RunResult extract = Run("extract badheader.exe out");
    EXPECT_NE(extract.exitCode, 0);
    EXPECT_NE(extract.err.find("File prefix format error on extract from "), std::string::npos) << extract.err;
}

TEST_F(StagepackTest, BadInputFailsClearlyAndLeavesNoOutput) {
    struct Case {
        std::string args;
        std::string message;
    };
    const Case cases[] = {
        {"", "Usage:"},
        {"frobnicate", "unknown command 'frobnicate'"},
        {"build -o out.exe movie.swf", "-e ENGINE"},
        {"build -e engine.exe movie.swf", "-o OUTPUT"},
        {"build -e engine.exe -o out.exe", "at least one file"},
        {"build -e engine.exe -o out.exe -x movie.swf", "unknown option -x"},
        {"build -e engine.exe -o out.exe missing.swf", "cannot read missing.swf"},
        {"build -e missing.exe -o out.exe movie.swf", "cannot read engine missing.exe"},
        {"build -e engine.exe -o out.exe tools", "tools is not a regular file"},
        {"build -e engine.exe -o out.exe 'movie.swf=..\\up'", "leaves the working directory"},
        {"build -e engine.exe -o out.exe 'movie.swf=C:\\abs'", "leaves the working directory"},
        {"build -e engine.exe -o out.exe movie.swf=" + std::string(256, 'p'), "longer than 255"},
        {"build -e engine.exe -o out.exe -s " + std::string(64, 's') + " movie.swf", "1 to 63"},
        {"build -e engine.exe -o nodir/out.exe movie.swf", "nodir/out.exe"},
        {"list engine.exe", "no payload session found in engine.exe"},
        {"verify missing.exe", "Cannot open file missing.exe"},
        {"extract engine.exe out", "Session not found on extract from engine.exe"},
        {"extract demo.exe", "extract takes a file and a directory"},
        {"check-settings", "check-settings takes one file"},
    };
    const std::vector<std::string> before = Files();
    for (const Case& c : cases) {
        RunResult r = Run(c.args);
        EXPECT_NE(r.exitCode, 0) << c.args;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << c.args << "\n" << r.err;
        EXPECT_EQ(Files(), before) << c.args;  // no output file, no temporary file
    }
}

// A PE32 engine image of 40,000 bytes whose certificate table entry has the given size.
std::string PeEngine(uint32_t certificateTableSize) {
    std::string image(40000, '\0');
    auto put = [&](size_t at, uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) image[at + i] = static_cast<char>(value >> (8 * i));
    };
    image[0] = 'M';
    image[1] = 'Z';
    put(0x3C, 0x80, 4);
    image.replace(0x80, 4, std::string("PE\0\0", 4));
    put(0x80 + 4 + 16, 96 + 16 * 8, 2);  // SizeOfOptionalHeader
    const size_t optional = 0x80 + 24;
    put(optional, 0x10B, 2);
    put(optional + 92, 16, 4);  // NumberOfRvaAndSizes
    put(optional + 96 + 4 * 8, certificateTableSize ? 39000 : 0, 4);
    put(optional + 96 + 4 * 8 + 4, certificateTableSize, 4);
    return image;
}

// A signed engine still packs, with a warning that its signature cannot cover the payload; the
// distributable reads as any other.
TEST_F(StagepackTest, ASignedEngineIsPackedWithAWarning) {
    struct Case {
        const char* Name;
        uint32_t CertificateTableSize;
        bool Warned;
    };
    for (const Case& c : {Case{"unsigned", 0, false}, Case{"signed", 1000, true}}) {
        WriteFile("pe-engine.exe", PeEngine(c.CertificateTableSize));
        RunResult build = Run("build -e pe-engine.exe -o demo.exe movie.swf settings.ini");
        ASSERT_EQ(build.exitCode, 0) << c.Name << build.err;
        const bool warned = build.err.find("stagepack: warning: engine pe-engine.exe is signed: its signature will "
                                           "not cover the payload") != std::string::npos &&
                            build.err.find("sign the distributable after packing") != std::string::npos;
        EXPECT_EQ(warned, c.Warned) << c.Name << "\n" << build.err;
        EXPECT_EQ(Run("verify demo.exe").exitCode, 0) << c.Name;

        RunResult rehost = Run("rehost demo.exe -e pe-engine.exe -o again.exe");
        ASSERT_EQ(rehost.exitCode, 0) << c.Name << rehost.err;
        EXPECT_EQ(rehost.err.find("is signed") != std::string::npos, c.Warned) << c.Name << "\n" << rehost.err;
    }
}

TEST_F(StagepackTest, HelpAndSettingsCheck) {
    RunResult help = Run("--help");
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("stagepack build -e ENGINE -o OUTPUT"), std::string::npos);

    WriteFile("odd.ini", "[Settings]\r\nNoSuchKey=1\r\n");
    RunResult check = Run("check-settings odd.ini");
    EXPECT_EQ(check.exitCode, 0) << check.err;
    EXPECT_NE(check.out.find("odd.ini: line 2: "), std::string::npos) << check.out;
    // build prints the same warnings for a packed settings file and still builds.
    RunResult build = Run("build -e engine.exe -o demo.exe odd.ini movie.swf");
    EXPECT_EQ(build.exitCode, 0);
    EXPECT_NE(build.err.find("warning: odd.ini: line 2: "), std::string::npos) << build.err;
}

// A password given in a file: only its hash reaches the packed settings file, the files on disk
// stay as they were, and nothing prints the password.
TEST_F(StagepackTest, PasswordFromAFileGoesInAsItsHashOnly) {
    WriteFile("pw.txt", "  open sesame\r\nsecond line\r\n");
    WriteFile("locked.ini", "[Settings]\r\nPassword=0\r\nFullScreen=1\r\n");
    RunResult build = Run("build -e engine.exe -o demo.exe --password-file pw.txt locked.ini movie.swf");
    ASSERT_EQ(build.exitCode, 0) << build.err;
    EXPECT_EQ(build.out.find("sesame"), std::string::npos);
    EXPECT_EQ(build.err.find("sesame"), std::string::npos);
    EXPECT_EQ(build.err.find("warning"), std::string::npos) << build.err;
    EXPECT_EQ(ReadFile(Path("locked.ini")), "[Settings]\r\nPassword=0\r\nFullScreen=1\r\n");

    ASSERT_EQ(Run("extract demo.exe out").exitCode, 0);
    // 276737813 is the hash of "open sesame" (blanks around it do not count).
    EXPECT_EQ(ReadFile(Path("out/locked.ini")), "[Settings]\r\nAlignmentX=276737813\r\nPassword=1\r\nFullScreen=1\r\n");
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(dir_))
        if (entry.is_regular_file() && entry.path().filename() != "pw.txt") {
            EXPECT_EQ(ReadFile(entry.path().string()).find("sesame"), std::string::npos) << entry.path();
        }

    // A password without a settings file to carry it, or from a terminal that is none, builds nothing.
    EXPECT_NE(Run("build -e engine.exe -o none.exe --password-file pw.txt movie.swf").exitCode, 0);
    EXPECT_NE(Run("build -e engine.exe -o none.exe --password-prompt settings.ini </dev/null").exitCode, 0);
    EXPECT_FALSE(fs::exists(Path("none.exe")));

    WriteFile("nohash.ini", "[Settings]\r\nPassword=1\r\n");
    RunResult check = Run("check-settings nohash.ini");
    EXPECT_NE(check.out.find("nohash.ini: line 2: Password=1 asks for a password"), std::string::npos) << check.out;
}

}  // namespace
