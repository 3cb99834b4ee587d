#include "commands/movie_command.h"

#include <gtest/gtest.h>

namespace {

struct CommandCase {
    const char* Text;
    CommandForm Form;
    CommandAction Action;
    const char* Argument;
};

void PrintTo(const CommandCase& c, std::ostream* out) { *out << '"' << c.Text << '"'; }

class MovieCommandTable : public ::testing::TestWithParam<CommandCase> {};

TEST_P(MovieCommandTable, FormActionAndArgument) {
    const CommandCase& c = GetParam();
    const MovieCommand command = ParseMovieCommand(c.Text);
    EXPECT_EQ(command.Form, c.Form);
    if (command.Form == CommandForm::NotACommand) return;
    const CommandRoute route = RouteCommandBody(command.Body);
    EXPECT_EQ(route.Action, c.Action);
    EXPECT_EQ(route.Argument, c.Argument);
}

constexpr CommandForm kNo = CommandForm::NoWait;
constexpr CommandForm kWait = CommandForm::Wait;
constexpr CommandForm kNone = CommandForm::NotACommand;
using A = CommandAction;

INSTANTIATE_TEST_SUITE_P(
    Texts, MovieCommandTable,
    ::testing::Values(
        // Every case form of the prefix and key.
        CommandCase{"vcommand:setup", kNo, A::Setup, ""}, CommandCase{"VCOMMAND:SETUP", kNo, A::Setup, ""},
        CommandCase{"vCommand:Setup", kNo, A::Setup, ""}, CommandCase{"vcommandw:setup", kWait, A::Setup, ""},
        CommandCase{"VCOMMANDW:Minimize", kWait, A::Minimize, ""},
        CommandCase{"vcommand:FullScreen", kNo, A::EnterFullScreen, ""},
        CommandCase{"vcommandw:NOFULLSCREEN", kWait, A::LeaveFullScreen, ""},
        // A space after the prefix, a trailing space, an empty body: commands that ask for nothing.
        CommandCase{"vcommand: setup", kNo, A::None, ""}, CommandCase{"vcommand:setup ", kNo, A::None, ""},
        CommandCase{"vcommand:", kNo, A::None, ""}, CommandCase{"vcommandw:", kWait, A::None, ""},
        CommandCase{"vcommand:fullscreenx", kNo, A::None, ""},
        // Registry commands keep the argument's case; the key prefix is matched in any case.
        CommandCase{"vcommand:WriteReg:Software\\Demo\\Name=Value", kNo, A::WriteRegistry, "Software\\Demo\\Name=Value"},
        CommandCase{"vcommandw:writereg:", kWait, A::WriteRegistry, ""},
        CommandCase{"vcommandw:READREG:HKLM\\Key\\Value", kWait, A::ReadRegistry, "HKLM\\Key\\Value"},
        CommandCase{"vcommand:readreg", kNo, A::None, ""},
        // Shorter than the prefix, or not a command at all.
        CommandCase{"vcommand", kNone, A::None, ""}, CommandCase{"vcomman", kNone, A::None, ""},
        CommandCase{"", kNone, A::None, ""}, CommandCase{"Hello", kNone, A::None, ""},
        CommandCase{" vcommand:setup", kNone, A::None, ""},
        // Only ASCII letters fold: a byte of another code page never matches a letter.
        CommandCase{"vcommand:s\xC9tup", kNo, A::None, ""}, CommandCase{"vc\xD3mmand:setup", kNone, A::None, ""}));

TEST(MovieCommand, WaitPrefixIsTestedFirst) {
    // "vcommandw:" also begins with "vcommand": it must not be read as the no-wait form with the
    // body "w:setup".
    const MovieCommand command = ParseMovieCommand("vcommandw:setup");
    EXPECT_EQ(command.Form, CommandForm::Wait);
    EXPECT_EQ(command.Body, "setup");
}

TEST(MovieCommand, WindowCommandsMapToHostIds) {
    EXPECT_EQ(WindowCommandId(CommandAction::Setup), 130u);
    EXPECT_EQ(WindowCommandId(CommandAction::Minimize), 131u);
    EXPECT_EQ(WindowCommandId(CommandAction::EnterFullScreen), 132u);
    EXPECT_EQ(WindowCommandId(CommandAction::LeaveFullScreen), 133u);
    EXPECT_EQ(WindowCommandId(CommandAction::WriteRegistry), 0u);
    EXPECT_EQ(WindowCommandId(CommandAction::None), 0u);
}

}  // namespace
