#include "commands/registry_command.h"

namespace {

bool StartsWithAsciiCaseless(const std::string& text, const char* prefix) {
    std::size_t i = 0;
    for (; prefix[i] != '\0'; ++i) {
        if (i >= text.size()) return false;
        char c = text[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != prefix[i]) return false;
    }
    return true;
}

const char kWritePrefix[] = "writereg:";
const char kReadPrefix[] = "readreg:";

}  // namespace

RegistryCommand ClassifyRegistryCommand(const std::string& body) {
    RegistryCommand command;
    if (StartsWithAsciiCaseless(body, kWritePrefix)) {
        command.Kind = RegistryCommandKind::Write;
        command.Argument = body.substr(sizeof kWritePrefix - 1);
    } else if (StartsWithAsciiCaseless(body, kReadPrefix)) {
        command.Kind = RegistryCommandKind::Read;
        command.Argument = body.substr(sizeof kReadPrefix - 1);
    }
    return command;
}
