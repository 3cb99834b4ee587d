#include "movie_commands.h"

#include <cstdlib>

#include "engine/engine_names.h"
#include "engine/shared_control_block.h"
#include "projector_report.h"
#include "test_controls.h"

namespace standin {
namespace {

struct KeyCommand {
    WPARAM Key;
    const char* Body;
};

const KeyCommand kKeyCommands[] = {
    {'F', "fullscreen"},
    {'N', "nofullscreen"},
    {'M', "minimize"},
    {'S', "setup"},
    {'W', "writereg:Software\\stagehost demo\\Greeting=hello"},
    {'R', "readreg:Software\\stagehost demo\\Greeting=none"},
};

HWND HostWindow() {
    const std::string value = EnvironmentText(engine_names::kEnvEngineWindow);
    if (value.empty()) return nullptr;
    return static_cast<HWND>(FieldToHandle(static_cast<uint32_t>(std::strtoul(value.c_str(), nullptr, 10))));
}

}  // namespace

LRESULT SendMovieCommand(ProjectorView& view, WPARAM wParam, const std::string& text) {
    const HWND host = HostWindow();
    if (!host) return 0;
    const LRESULT answer = SendMessageA(host, WM_SETTEXT, wParam, reinterpret_cast<LPARAM>(text.c_str()));
    ++view.sentCount;
    view.lastSent = text;
    view.lastAnswer = static_cast<long long>(answer);
    return answer;
}

std::string CommandForKey(WPARAM key, bool shift) {
    for (const KeyCommand& command : kKeyCommands) {
        if (command.Key == key) return std::string(shift ? "vcommandw:" : "vcommand:") + command.Body;
    }
    return {};
}

std::string CopyDataText(const COPYDATASTRUCT& data) {
    std::string text(static_cast<const char*>(data.lpData), data.lpData ? data.cbData : 0);
    if (!text.empty() && text.back() == '\0') text.pop_back();
    return text;
}

}  // namespace standin
