// The global close message between engines: an engine started from another engine's movie ends
// when that engine ends; a third program's close names one engine by its file name.
#include <windows.h>

#include <gtest/gtest.h>

#include <cctype>

#include "movie_control.h"
#include "support/standin_report.h"

using namespace testsupport;

namespace {

constexpr DWORD kEngineEndMs = 30000;
constexpr DWORD kStillRunningMs = 2000;

std::string Listing(const std::string& directory) { return ::testing::PrintToString(ListTree(directory)); }

std::string Upper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// Broadcast as another program would: wParam 0, an atom naming the program to close.
void BroadcastGlobalClose(const std::string& programPath) {
    const UINT message = RegisterWindowMessageA("VGlobalCloseMessage_s-z");
    const ATOM atom = GlobalAddAtomA(programPath.c_str());
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(HWND_BROADCAST, message, 0, atom, SMTO_NORMAL, ScaledTimeout(5000), &ignored);
    GlobalDeleteAtom(atom);
}

TEST(GlobalClose, AnEngineStartedFromAMovieEndsWithTheEngineThatStartedIt) {
    Distributable parent("gcparent", MovieFiles("FullScreen=0\r\nInteraction=1\r\n"));
    Distributable child("gcchild", MovieFiles("FullScreen=0\r\nInteraction=1\r\n"));
    TempDir work("report");
    const std::string childReport = work.File("child.txt");
    MovieRun run = StartMovie(parent, work.File("parent.txt"),
                              {{"STANDIN_START", "\"" + child.Path() + "\""}, {"STANDIN_START_REPORT", childReport}});
    ASSERT_NE(run.Host, nullptr);

    // The child engine runs in the parent's temporary directory (it inherits TEMP) in the next slot.
    const StandinReport shown = WaitForStandinReport(
        childReport, [](const StandinReport& r) { return CapturedAndShown(r) && r.BlockByte(0x060) == 1; }, 30000);
    ASSERT_TRUE(CapturedAndShown(shown)) << "the child engine did not show its movie";
    const DWORD childEngineId = std::stoul(shown.Env("OrbelinEngine_ID"));
    HANDLE childEngine = OpenProcess(SYNCHRONIZE, FALSE, childEngineId);
    ASSERT_NE(childEngine, nullptr);

    PostMessageA(run.Report.Window(), WM_CLOSE, 0, 0);
    EXPECT_EQ(run.Engine->WaitForExit(kEngineEndMs), 0);
    const bool childEnded = moviecontrol::ProcessEnds(childEngine, kEngineEndMs);
    EXPECT_TRUE(childEnded) << "the child engine went on";
    if (!childEnded) PostMessageA(shown.Window(), WM_CLOSE, 0, 0);
    moviecontrol::ProcessEnds(childEngine, kEngineEndMs);
    CloseHandle(childEngine);
    EXPECT_FALSE(IsWindow(shown.Window()));
    EXPECT_TRUE(ListTree(parent.TempPath()).empty()) << Listing(parent.TempPath());
}

TEST(GlobalClose, AThirdProgramClosesTheEngineItNamesAndNoneAfterwards) {
    Distributable named("gcnamed", MovieFiles("FullScreen=0\r\nInteraction=1\r\n"));
    Distributable other("gcother", MovieFiles("FullScreen=0\r\nInteraction=1\r\n"));
    other.ShareTempDirOf(named);
    TempDir work("report");
    MovieRun first = StartMovie(named, work.File("named.txt"));
    MovieRun second = StartMovie(other, work.File("other.txt"));
    ASSERT_NE(first.Host, nullptr);
    ASSERT_NE(second.Host, nullptr);

    // Directories are ignored and the case does not matter.
    BroadcastGlobalClose("C:\\SOME\\DIR\\" + Upper(named.ExeName()));
    EXPECT_EQ(first.Engine->WaitForExit(kEngineEndMs), 0);
    Sleep(ScaledTimeout(kStillRunningMs));
    EXPECT_TRUE(second.Engine->Running()) << "an engine that was not named ended";

    // The other engine saw a close from another program too: it recognises none any more.
    BroadcastGlobalClose("C:\\SOME\\DIR\\" + other.ExeName());
    Sleep(ScaledTimeout(kStillRunningMs));
    EXPECT_TRUE(second.Engine->Running()) << "a second global close was obeyed";

    PostMessageA(second.Report.Window(), WM_CLOSE, 0, 0);
    EXPECT_EQ(second.Engine->WaitForExit(kEngineEndMs), 0);
    EXPECT_TRUE(ListTree(named.TempPath()).empty()) << Listing(named.TempPath());
}

}  // namespace
