// Telling the movie's registry commands apart: the command body (what follows "vcommand:" or
// "vcommandw:") begins "writereg:" or "readreg:", in any case of its ASCII letters. Portable.
#pragma once

#include <string>

enum class RegistryCommandKind { None, Write, Read };

struct RegistryCommand {
    RegistryCommandKind Kind = RegistryCommandKind::None;
    std::string Argument;  // the body after the prefix, case as sent
};

RegistryCommand ClassifyRegistryCommand(const std::string& body);
