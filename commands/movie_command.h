// The movie's commands as the host receives them in WM_SETTEXT: which form a text is, and what its
// body asks for. Portable.
#pragma once

#include <cstdint>
#include <string>

// The no-wait form releases the sender before the command runs; the wait form after it.
enum class CommandForm { NotACommand, NoWait, Wait };

constexpr char kWaitCommandPrefix[] = "vcommandw:";
constexpr char kNoWaitCommandPrefix[] = "vcommand:";

struct MovieCommand {
    CommandForm Form = CommandForm::NotACommand;
    std::string Body;  // the text after the prefix, as sent
};

// The wait form's prefix is tested first; prefixes match without regard to the case of A to Z.
MovieCommand ParseMovieCommand(const std::string& text);

enum class CommandAction { None, Setup, Minimize, EnterFullScreen, LeaveFullScreen, WriteRegistry, ReadRegistry };

struct CommandRoute {
    CommandAction Action = CommandAction::None;
    std::string Argument;  // for the registry commands: the rest of the body, as sent
};

// What a command body asks for: whole-key matches for the window commands, "writereg:" and
// "readreg:" as prefixes of the key. Anything else asks for nothing.
CommandRoute RouteCommandBody(const std::string& body);

// The host command id a window command is posted as; 0 for the others.
uint32_t WindowCommandId(CommandAction action);
