// Sound muting and MIDI music in real runs. The stand-in hook library records the engine's calls
// of the multimedia library (STANDIN_WINMM_LOG, standins/hooklib/winmm_call_log.h) while it is
// loaded, which spans the muting at the projector's start and the restore in the cleanup. With
// the null-sink sound server of scripts/sound-server.sh, Wine shows mixers whose switches the
// walk finds (their values do not stick under Wine: the fake tables of the unit tests prove the
// values, this proves the real calls).
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/mixer_switches.h"
#include "support/standin_report.h"

using namespace testsupport;

namespace {

constexpr DWORD kEngineEndMs = 30000;
const char kMusicName[] = "music.mid";

std::vector<std::string> LogLines(const std::string& path) {
    std::vector<std::string> lines;
    if (!FileExists(path)) return lines;
    const std::vector<uint8_t> bytes = ReadFileBytes(path);
    const std::string text(bytes.begin(), bytes.end());
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find("\r\n", start);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

bool StartsWith(const std::string& text, const std::string& prefix) { return text.compare(0, prefix.size(), prefix) == 0; }

std::vector<std::string> LinesStarting(const std::vector<std::string>& lines, const std::string& prefix) {
    std::vector<std::string> found;
    for (const std::string& line : lines)
        if (StartsWith(line, prefix)) found.push_back(line);
    return found;
}

// The text after "-> " of a line: the call's result and what it reported.
std::string Outcome(const std::string& line) {
    const size_t arrow = line.find("-> ");
    return arrow == std::string::npos ? std::string() : line.substr(arrow + 3);
}

bool HasFile(const StandinReport& report, const std::string& name) {
    for (const std::string& file : report.Files())
        if (file == name) return true;
    return false;
}

// One walk of the mixers as the log shows it: the calls from one "mixerGetNumDevs" to the next.
struct Walk {
    int Opens = 0, Closes = 0;
    std::vector<std::string> ReadValues, WrittenValues;
};

std::vector<Walk> MixerWalks(const std::vector<std::string>& lines) {
    std::vector<Walk> walks;
    for (const std::string& line : lines) {
        if (StartsWith(line, "mixerGetNumDevs")) walks.emplace_back();
        if (walks.empty()) continue;
        Walk& walk = walks.back();
        if (StartsWith(line, "mixerOpen") && StartsWith(Outcome(line), "0x0 ")) ++walk.Opens;
        if (StartsWith(line, "mixerClose")) ++walk.Closes;
        if (StartsWith(line, "mixerGetControlDetailsA"))
            walk.ReadValues.push_back(Outcome(line).substr(Outcome(line).find(' ') + 1));
        if (StartsWith(line, "mixerSetControlDetails")) {
            const size_t equals = line.find('=');
            walk.WrittenValues.push_back(line.substr(equals + 1, line.find(' ', equals) - equals - 1));
        }
    }
    return walks;
}

std::vector<PackedFile> MovieWithMusic(const std::string& settingsLines) {
    std::vector<PackedFile> files = MovieFiles("CurrentDir=1\r\n" + settingsLines);
    files.push_back(FileFromBuild("standin_music.mid", kMusicName));
    return files;
}

struct EndedRun {
    std::vector<std::string> Log;
    StandinReport Report;  // while the movie was shown
};

// Runs the distributable until the movie is shown (and, when waitForMusic, until the music has
// been started), closes the movie and waits for the engine to end with everything removed.
EndedRun RunAndClose(const Distributable& app, bool waitForMusic) {
    TempDir work("sound");
    const std::string log = work.File("winmm.log");
    MovieRun run = StartMovie(app, work.File("report.txt"), {{"STANDIN_WINMM_LOG", log}});
    EndedRun ended;
    if (waitForMusic) {
        EXPECT_TRUE(WaitUntil([&] { return !LinesStarting(LogLines(log), "mciSendCommandA 0x806").empty(); }, 15000))
            << "the music was not started";
    }
    ended.Report = ReadStandinReport(work.File("report.txt"));
    PostMessageA(run.Report.Window(), WM_CLOSE, 0, 0);
    EXPECT_EQ(run.Engine->WaitForExit(kEngineEndMs), 0);
    EXPECT_TRUE(TopLevelWindowsOf(run.Engine->Id()).empty());
    EXPECT_TRUE(ListTree(app.TempPath()).empty()) << ::testing::PrintToString(ListTree(app.TempPath()));
    ended.Log = LogLines(log);
    return ended;
}

}  // namespace

// Muted: the whole walk at the start (every switch on) and again at the end (every switch back
// to the value read at the start), each device closed after each walk, and the wave mapper's
// volume asked for; then the run ends as any other.
TEST(MovieSound, MutedRunWalksTheMixersAtTheStartAndGivesEverySwitchBackAtTheEnd) {
    Distributable app("soundmuted", MovieFiles("Sound=0\r\n"));
    const EndedRun ended = RunAndClose(app, false);
    const std::vector<Walk> walks = MixerWalks(ended.Log);
    ASSERT_EQ(walks.size(), 2u) << ::testing::PrintToString(ended.Log);
    const size_t switches = CountWaveMuteSwitches();
    for (const Walk& walk : walks) {
        EXPECT_EQ(walk.Opens, walk.Closes);
        EXPECT_EQ(walk.ReadValues.size(), switches);
        EXPECT_EQ(walk.WrittenValues.size(), switches);
    }
    EXPECT_EQ(walks[0].WrittenValues, std::vector<std::string>(switches, "1"));
    EXPECT_EQ(walks[1].WrittenValues, walks[0].ReadValues);
    EXPECT_FALSE(LinesStarting(ended.Log, "waveOut").empty() && switches == 0)
        << "neither the wave volume nor any mixer was looked at";
    if (switches == 0) std::printf("note: no mixer devices; run scripts/wine-prefix.sh to start the sound server\n");
}

// Audible, with music: the mixers and the wave volume are never touched; the MIDI file is
// extracted, opened and played with a notification once the movie shows, and at the end stopped,
// closed and deleted, all without a message.
TEST(MovieSound, AudibleRunWithMusicPlaysItAndTouchesNoMixer) {
    Distributable app("soundmusic", MovieWithMusic("Sound=1\r\nMidi=0\r\n"));
    const EndedRun ended = RunAndClose(app, true);
    EXPECT_TRUE(HasFile(ended.Report, kMusicName)) << ::testing::PrintToString(ended.Report.Files());
    EXPECT_TRUE(LinesStarting(ended.Log, "mixer").empty()) << ::testing::PrintToString(ended.Log);
    EXPECT_TRUE(LinesStarting(ended.Log, "waveOut").empty()) << ::testing::PrintToString(ended.Log);

    const std::vector<std::string> mci = LinesStarting(ended.Log, "mciSendCommandA");
    ASSERT_FALSE(mci.empty());
    EXPECT_EQ(mci.front(), "mciSendCommandA 0x803 0x202 -> 0x0 music.mid");  // open the element, waiting
    const std::vector<std::string> plays = LinesStarting(ended.Log, "mciSendCommandA 0x806 ");
    ASSERT_EQ(plays.size(), 1u);
    EXPECT_EQ(plays[0], "mciSendCommandA 0x806 0x1 -> 0x0");  // notifying, not waiting
    // The shutdown: a playing device is stopped, then closed.
    const std::vector<std::string> closes = LinesStarting(ended.Log, "mciSendCommandA 0x804 ");
    ASSERT_EQ(closes.size(), 1u);
    EXPECT_EQ(closes[0], "mciSendCommandA 0x804 0x2 -> 0x0");
    EXPECT_EQ(mci.back(), closes[0]);
    const auto status = std::find(mci.begin(), mci.end(), "mciSendCommandA 0x814 0x102 -> 0x0 526");  // playing
    if (status != mci.end()) {
        ASSERT_NE(status + 1, mci.end());
        EXPECT_EQ(*(status + 1), "mciSendCommandA 0x808 0x2 -> 0x0");  // stop, waiting
    }
}

// MIDI muted: the file is never extracted and nothing is opened.
TEST(MovieSound, MutedMidiIsNeitherExtractedNorOpened) {
    Distributable app("midimuted", MovieWithMusic("Midi=1\r\n"));
    const EndedRun ended = RunAndClose(app, false);
    EXPECT_FALSE(ended.Report.Files().empty());
    EXPECT_FALSE(HasFile(ended.Report, kMusicName)) << ::testing::PrintToString(ended.Report.Files());
    EXPECT_TRUE(LinesStarting(ended.Log, "mciSendCommandA").empty()) << ::testing::PrintToString(ended.Log);
}

// A MIDI file the system cannot open: no music, no message, and the run goes on and ends as usual
// with the file deleted.
TEST(MovieSound, UnplayableMidiFileMeansNoMusicAndNoMessage) {
    std::vector<PackedFile> files = MovieFiles("CurrentDir=1\r\nMidi=0\r\n");
    files.push_back(FileFromText(kMusicName, "these bytes are no music"));
    Distributable app("badmusic", files);
    TempDir work("sound");
    const std::string log = work.File("winmm.log");
    MovieRun run = StartMovie(app, work.File("report.txt"), {{"STANDIN_WINMM_LOG", log}});
    ASSERT_TRUE(WaitUntil([&] { return !LinesStarting(LogLines(log), "mciSendCommandA 0x803").empty(); }, 15000))
        << "the music was not tried";
    Sleep(500);  // a message box would show now
    for (HWND window : TopLevelWindowsOf(run.Engine->Id()))
        EXPECT_NE(ClassNameOf(window), "#32770") << "a message: " << WindowTextOf(window);
    EXPECT_TRUE(CapturedAndShown(ReadStandinReport(work.File("report.txt"))));
    PostMessageA(run.Report.Window(), WM_CLOSE, 0, 0);
    EXPECT_EQ(run.Engine->WaitForExit(kEngineEndMs), 0);
    EXPECT_TRUE(ListTree(app.TempPath()).empty()) << ::testing::PrintToString(ListTree(app.TempPath()));
    const std::vector<std::string> mci = LinesStarting(LogLines(log), "mciSendCommandA");
    ASSERT_FALSE(mci.empty());
    EXPECT_NE(Outcome(mci.front()).substr(0, 4), "0x0 ") << mci.front();
    EXPECT_TRUE(LinesStarting(mci, "mciSendCommandA 0x806").empty()) << ::testing::PrintToString(mci);
}
