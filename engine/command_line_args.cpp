#include "engine/command_line_args.h"

#include <cctype>

std::vector<std::string> SplitCommandLine(const std::string& commandLine) {
    std::vector<std::string> arguments;
    size_t i = 0;
    const size_t n = commandLine.size();
    for (;;) {
        while (i < n && static_cast<unsigned char>(commandLine[i]) <= ' ') ++i;
        if (i >= n) break;
        std::string argument;
        bool quoted = false;
        while (i < n && (quoted || static_cast<unsigned char>(commandLine[i]) > ' ')) {
            if (commandLine[i] == '"')
                quoted = !quoted;
            else
                argument += commandLine[i];
            ++i;
        }
        arguments.push_back(argument);
    }
    return arguments;
}

bool IsConfigurationModeArgument(const std::string& firstArgument) {
    std::string upper;
    for (char c : firstArgument) upper += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return upper == "/C";
}

std::string FileNamePart(const std::string& path) {
    const size_t slash = path.find_last_of("\\/:");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string DirectoryPart(const std::string& path) {
    const size_t slash = path.find_last_of("\\/:");
    if (slash == std::string::npos) return std::string();
    // Keep "C:" of a root path.
    if (path[slash] == ':') return path.substr(0, slash + 1);
    // A drive's root keeps its backslash: "C:" alone names the drive's current directory.
    if (slash == 2 && path[1] == ':') return path.substr(0, 3);
    return path.substr(0, slash);
}
