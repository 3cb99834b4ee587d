#include "commands/movie_command.h"

#include "commands/ascii_case.h"
#include "window/host_commands.h"

namespace {

bool HasPrefix(const std::string& text, const char* prefix) {
    const std::string p = prefix;
    return text.size() >= p.size() && AsciiLower(text.substr(0, p.size())) == p;
}

struct WholeKeyRoute {
    const char* Key;
    CommandAction Action;
};

const WholeKeyRoute kWholeKeyRoutes[] = {
    {"setup", CommandAction::Setup},
    {"minimize", CommandAction::Minimize},
    {"fullscreen", CommandAction::EnterFullScreen},
    {"nofullscreen", CommandAction::LeaveFullScreen},
};

constexpr char kWriteRegistryKey[] = "writereg:";
constexpr char kReadRegistryKey[] = "readreg:";

}  // namespace

MovieCommand ParseMovieCommand(const std::string& text) {
    MovieCommand command;
    if (HasPrefix(text, kWaitCommandPrefix)) {
        command.Form = CommandForm::Wait;
        command.Body = text.substr(sizeof(kWaitCommandPrefix) - 1);
    } else if (HasPrefix(text, kNoWaitCommandPrefix)) {
        command.Form = CommandForm::NoWait;
        command.Body = text.substr(sizeof(kNoWaitCommandPrefix) - 1);
    }
    return command;
}

CommandRoute RouteCommandBody(const std::string& body) {
    const std::string key = AsciiLower(body);
    for (const WholeKeyRoute& route : kWholeKeyRoutes) {
        if (key == route.Key) return {route.Action, {}};
    }
    if (HasPrefix(body, kWriteRegistryKey))
        return {CommandAction::WriteRegistry, body.substr(sizeof(kWriteRegistryKey) - 1)};
    if (HasPrefix(body, kReadRegistryKey))
        return {CommandAction::ReadRegistry, body.substr(sizeof(kReadRegistryKey) - 1)};
    return {};
}

uint32_t WindowCommandId(CommandAction action) {
    switch (action) {
        case CommandAction::Setup: return host_commands::kSetup;
        case CommandAction::Minimize: return host_commands::kMinimize;
        case CommandAction::EnterFullScreen: return host_commands::kEnterFullScreenMode;
        case CommandAction::LeaveFullScreen: return host_commands::kLeaveFullScreenMode;
        default: return 0;
    }
}
