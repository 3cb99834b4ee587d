// The argument of the movie's registry commands ("writereg:" and "readreg:"):
//   [STRING: | INT: | INTEGER:] [HKEY_CURRENT_USER\ | HKEY_LOCAL_MACHINE\ | HKEY_CLASSES_ROOT\]
//   key path \ value name [= value text]
// and the text of the read answer. Portable.
#pragma once

#include <cstdint>
#include <string>

enum class RegistryValueType { String, Integer };
enum class RegistryRoot { CurrentUser, LocalMachine, ClassesRoot };

struct RegistryArgument {
    RegistryValueType Type = RegistryValueType::String;
    RegistryRoot Root = RegistryRoot::CurrentUser;
    std::string KeyPath;    // below the root, without a leading "\"; may be empty (the root itself)
    std::string ValueName;  // empty: the key's default value
    std::string ValueText;  // write: the data; read: the answer when nothing can be read
};

RegistryArgument ParseRegistryArgument(const std::string& argument);

// The integer form's number: leading spaces, an optional "+" or "-" and decimal digits within the
// signed 32-bit range, or "$" and up to eight hexadecimal digits (taken as the 32-bit pattern).
// False for anything else, the empty text included.
bool ParseRegistryInteger(const std::string& text, int32_t& value);

// How far a read came.
enum class RegistryReadStatus { Nothing, Key, Value };

// The one line of the answer file: "RegFound=" + status + "&RegValue=" + value text, unescaped.
std::string RegistryAnswerLine(RegistryReadStatus status, const std::string& valueText);

// The answer file's name, in the projector's directory.
extern const char kRegistryAnswerFileName[];  // "ReadReg.txt"
