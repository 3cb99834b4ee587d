// The program's own path and first argument.
#pragma once

#include <string>

struct CommandLine {
    std::string ProgramPath;    // full path of the running program
    std::string FirstArgument;  // "" when there is none
};

CommandLine ReadCommandLine();
