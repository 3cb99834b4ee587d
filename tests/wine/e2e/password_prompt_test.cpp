// The password gate of the real engine: the prompt is typed into as a user would, and a refused
// password leaves nothing started and nothing behind.
#include <gtest/gtest.h>

#include "engine_dialogs.h"
#include "settings_movie_run.h"

using namespace testsupport;
using namespace settingse2e;
using namespace enginedialogs;

namespace {

// "AlignmentX" holds the hash of "secret".
const char kLockedSettings[] =
    "[Settings]\nPassword=1\nAlignmentX=345795872\nSound=1\nQuenby Screen Name=Locked Tour\n"
    "PWEditLabel=Code please:\nPWrong=Nope, not that one.\n";

// After a refusal: the engine has ended by itself (no message box left waiting), the projector
// never ran, and the temporary directory is as empty as before.
void ExpectNothingStartedAndNothingLeft(SettingsRun& run) {
    EXPECT_EQ(run.Engine().WaitForExit(20000), 0);
    EXPECT_FALSE(FileExists(run.ReportPath()));
    EXPECT_TRUE(ListTree(run.App().TempPath()).empty());
}

enum class Accept { Enter, OkButton };

struct RightCase {
    const char* Name;
    const char* Typed;
    Accept How;
};

// Test names stay the same from build to build (CTest finds them by name).
void PrintTo(const RightCase& row, std::ostream* out) { *out << row.Name; }

class PasswordRight : public ::testing::TestWithParam<RightCase> {};

TEST_P(PasswordRight, StartsTheMovie) {
    SettingsRun run("pwright", kLockedSettings);
    run.Start();
    const HWND dialog = WaitForPasswordDialog(run.Engine().Id());
    ASSERT_NE(dialog, nullptr) << "no password dialog";
    EXPECT_FALSE(FileExists(run.ReportPath())) << "the projector started before the password";

    EXPECT_EQ(WindowTextOf(dialog), "Locked Tour");
    EXPECT_EQ(WindowTextOf(GetDlgItem(dialog, kPasswordLabel)), "Code please:");
    const HWND edit = GetDlgItem(dialog, kPasswordEdit);
    EXPECT_TRUE(GetWindowLongA(edit, GWL_STYLE) & ES_PASSWORD);
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), HostWindowOf(run.Engine().Id()));
    // Centred on the work area.
    RECT outer{}, work{};
    GetWindowRect(dialog, &outer);
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_NEAR(outer.left, (work.right - work.left) / 2 - (outer.right - outer.left) / 2, 1);
    EXPECT_NEAR(outer.top, (work.bottom - work.top) / 2 - (outer.bottom - outer.top) / 2, 1);

    TypeText(edit, GetParam().Typed);
    if (GetParam().How == Accept::Enter)
        PressEnter(edit);
    else
        Click(GetDlgItem(dialog, kPasswordOk));
    EXPECT_TRUE(WaitUntilGone(dialog));
    const StandinReport report = run.WaitUntilShown();
    EXPECT_NE(report.Parent(), nullptr) << "the movie was not shown";
    EXPECT_EQ(run.CloseAndWait(), 0);
}

INSTANTIATE_TEST_SUITE_P(Rows, PasswordRight,
                         ::testing::Values(RightCase{"Enter", "secret", Accept::Enter},
                                           RightCase{"BlanksAroundAndOk", "  secret ", Accept::OkButton}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(PasswordWrong, ThreeTimesShowsTheMessageThriceThenStartsNothing) {
    SettingsRun run("pwwrong", kLockedSettings);
    run.Start();
    for (int attempt = 1; attempt <= 3; ++attempt) {
        SCOPED_TRACE("attempt " + std::to_string(attempt));
        const HWND dialog = WaitForPasswordDialog(run.Engine().Id());
        ASSERT_NE(dialog, nullptr);
        const HWND edit = GetDlgItem(dialog, kPasswordEdit);
        TypeText(edit, attempt == 2 ? "Secret" : "wrong");
        PressEnter(edit);
        const MessageBoxContents box = ReadAndDismissMessageBox(run.Engine().Id(), 20000);
        ASSERT_TRUE(box.Found);
        EXPECT_EQ(box.Caption, "Error");
        EXPECT_EQ(box.Text, "Nope, not that one.");
    }
    ExpectNothingStartedAndNothingLeft(run);
}

enum class GiveUp { CancelButton, CloseBox };

void PrintTo(GiveUp how, std::ostream* out) { *out << (how == GiveUp::CancelButton ? "Cancel" : "CloseBox"); }

class PasswordGiveUp : public ::testing::TestWithParam<GiveUp> {};

TEST_P(PasswordGiveUp, EndsAtOnceWithoutAMessage) {
    SettingsRun run("pwcancel", kLockedSettings);
    run.Start();
    const HWND dialog = WaitForPasswordDialog(run.Engine().Id());
    ASSERT_NE(dialog, nullptr);
    // Whatever was typed does not count.
    TypeText(GetDlgItem(dialog, kPasswordEdit), "secret");
    if (GetParam() == GiveUp::CancelButton)
        Click(GetDlgItem(dialog, kPasswordCancel));
    else
        PressCloseBox(dialog);
    ExpectNothingStartedAndNothingLeft(run);
}

INSTANTIATE_TEST_SUITE_P(Rows, PasswordGiveUp, ::testing::Values(GiveUp::CancelButton, GiveUp::CloseBox),
                         [](const auto& info) {
                             return std::string(info.param == GiveUp::CancelButton ? "Cancel" : "CloseBox");
                         });

}  // namespace
