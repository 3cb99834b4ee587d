// The movie's commands reach the real engine through the stand-in movie (WM_SETTEXT to the host,
// as the hook library passes them): both forms, their effects, the sender's answers, and texts
// that are no command becoming the caption.
#include <windows.h>

#include <gtest/gtest.h>

#include "movie_control.h"
#include "support/standin_report.h"

using namespace testsupport;
using moviecontrol::SendThroughMovie;

namespace {

constexpr DWORD kEffectMs = 10000;

RECT WindowRectOf(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

RECT ClientRectOnScreen(HWND window) {
    RECT r{};
    GetClientRect(window, &r);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::string RectText(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

class CommandChannel : public ::testing::Test {
protected:
    void SetUp() override {
        run_ = StartMovie(app_, work_.File("report.txt"));
        ASSERT_NE(run_.Host, nullptr);
        projector_ = run_.Report.Window();
        ASSERT_NE(projector_, nullptr);
    }
    void TearDown() override {
        if (projector_) PostMessageA(projector_, WM_CLOSE, 0, 0);
        if (run_.Engine) {
            EXPECT_EQ(run_.Engine->WaitForExit(30000), 0);
        }
        EXPECT_TRUE(ListTree(app_.TempPath()).empty()) << ::testing::PrintToString(ListTree(app_.TempPath()));
    }
    std::string Caption() const { return WindowTextOf(run_.Host); }

    Distributable app_{"commands", MovieFiles("FullScreen=0\r\nInteraction=1\r\n")};
    TempDir work_{"report"};
    MovieRun run_;
    HWND projector_ = nullptr;
};

TEST_F(CommandChannel, WindowCommandsInBothFormsAndTheirEffects) {
    const RECT windowed = WindowRectOf(run_.Host);
    RECT screen{};
    GetWindowRect(GetDesktopWindow(), &screen);

    EXPECT_EQ(SendThroughMovie(projector_, "vCommand:FullScreen"), 1);
    // Full-screen mode: the client area is the whole screen.
    EXPECT_TRUE(WaitUntil([&] { return SameRect(ClientRectOnScreen(run_.Host), screen); }, kEffectMs))
        << "client " << RectText(ClientRectOnScreen(run_.Host)) << " screen " << RectText(screen);
    // The projector keeps filling the client area.
    EXPECT_TRUE(WaitUntil(
        [&] {
            RECT client{}, movie{};
            GetClientRect(run_.Host, &client);
            GetClientRect(projector_, &movie);
            return movie.right == client.right && movie.bottom == client.bottom;
        },
        kEffectMs));

    EXPECT_EQ(SendThroughMovie(projector_, "VCOMMANDW:nofullscreen"), 1);
    EXPECT_TRUE(WaitUntil([&] { return SameRect(WindowRectOf(run_.Host), windowed); }, kEffectMs))
        << RectText(WindowRectOf(run_.Host)) << " expected " << RectText(windowed);

    // The report of the movie holds its last answer.
    const StandinReport report = WaitForStandinReport(
        work_.File("report.txt"), [](const StandinReport& r) { return r.Value("sent") == "2"; }, kEffectMs);
    EXPECT_EQ(report.Value("last_sent"), "VCOMMANDW:nofullscreen");
    EXPECT_EQ(report.Value("last_answer"), "1");

    EXPECT_EQ(SendThroughMovie(projector_, "vcommandw:minimize"), 1);
    EXPECT_TRUE(WaitUntil([&] { return IsIconic(run_.Host) != FALSE; }, kEffectMs)) << "the host was not minimized";
}

// Commands that ask for nothing, the registry commands, and accepted "dde:" requests are
// answered 1 and leave the caption alone; every other text becomes the caption.
TEST_F(CommandChannel, AnswersAndCaption) {
    struct Case {
        const char* Text;
        WPARAM WParam;
        bool BecomesCaption;
    } cases[] = {
        {"Hello", 0, true},
        // ("setup" itself opens the Setup dialog, whose own tests drive it.)
        {"VCOMMAND:NOTHING", 0, false},
        {"vcommandw:nothing", 0, false},
        {"vcommand: setup", 0, false},
        {"vcommand:setup ", 0, false},
        {"vcommand:", 0, false},
        {"vcommand:WriteReg:Software\\stagehost test\\Name=Value", 0, false},
        {"vcommandw:readreg:Software\\stagehost test\\Name=none", 0, false},
        // A command sent with wParam 1 is no command.
        {"vcommand:fullscreen", 1, true},
        {"vcommand:minimize", 2, true},
    };
    const RECT before = WindowRectOf(run_.Host);
    std::string caption = Caption();
    for (const Case& c : cases) {
        EXPECT_EQ(SendThroughMovie(projector_, c.Text, c.WParam), 1) << c.Text;
        if (c.BecomesCaption) caption = c.Text;
        EXPECT_EQ(Caption(), caption) << c.Text;
    }

    // "dde:" requests name the web-page handler's DDE application and topic as the engine found
    // them (empty when the system has none).
    const std::string application = run_.Report.BlockShortString(0x274);
    const std::string topic = run_.Report.BlockShortString(0x374);
    const std::string names = "dde:" + application + ":" + topic + ":";
    struct DdeCase {
        std::string Text;
        WPARAM WParam;
        bool BecomesCaption;
    } ddeCases[] = {
        {names + "\"http://example.test/page.htm\",,-1", 0, false},
        {names + "page.htm", 1, false},
        {names + "\"page.htm\"", 0, true},
        {"dde:" + application + "x:" + topic + ":page.htm", 0, true},
        {names + "page.htm", 2, true},
    };
    for (const DdeCase& c : ddeCases) {
        EXPECT_EQ(SendThroughMovie(projector_, c.Text, c.WParam), 1) << c.Text;
        if (c.BecomesCaption) caption = c.Text;
        EXPECT_EQ(Caption(), caption) << c.Text;
    }
    Sleep(ScaledTimeout(500));  // a wrongly posted window command would have acted by now
    EXPECT_TRUE(SameRect(WindowRectOf(run_.Host), before)) << RectText(WindowRectOf(run_.Host));
    EXPECT_FALSE(IsIconic(run_.Host));

}

}  // namespace
