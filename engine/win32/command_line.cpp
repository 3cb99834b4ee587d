#include "engine/win32/command_line.h"

#include <windows.h>

#include <vector>

#include "engine/command_line_args.h"

CommandLine ReadCommandLine() {
    CommandLine result;
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        DWORD length = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length < buffer.size()) {
            result.ProgramPath.assign(buffer.data(), length);
            break;
        }
        buffer.resize(buffer.size() * 2);
    }
    const std::vector<std::string> arguments = SplitCommandLine(GetCommandLineA());
    if (arguments.size() > 1) result.FirstArgument = arguments[1];
    return result;
}
