// Empty until the registry commands are written (their own file then replaces this one): the
// command channel already routes "writereg:" and "readreg:" here and answers 1 either way.
#include "commands/win32/registry_command_steps.h"

void WriteRegistryValue(const std::string&, bool) {}

void ReadRegistryValue(const std::string&, const std::string&, std::vector<std::string>&) {}
