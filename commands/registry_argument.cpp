#include "commands/registry_argument.h"

#include <cstdint>

const char kRegistryAnswerFileName[] = "ReadReg.txt";

namespace {

std::string AsciiUpper(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return text;
}

struct RootName {
    const char* Name;
    RegistryRoot Root;
};

const RootName kRootNames[] = {
    {"HKEY_CURRENT_USER", RegistryRoot::CurrentUser},
    {"HKEY_LOCAL_MACHINE", RegistryRoot::LocalMachine},
    {"HKEY_CLASSES_ROOT", RegistryRoot::ClassesRoot},
};

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

RegistryArgument ParseRegistryArgument(const std::string& argument) {
    RegistryArgument parsed;
    std::string rest = argument;

    const std::size_t colon = rest.find(':');
    if (colon != std::string::npos) {
        const std::string prefix = AsciiUpper(rest.substr(0, colon));
        if (prefix == "STRING" || prefix == "INT" || prefix == "INTEGER") {
            parsed.Type = prefix == "STRING" ? RegistryValueType::String : RegistryValueType::Integer;
            rest.erase(0, colon + 1);
        }
    }

    const std::size_t firstSlash = rest.find('\\');
    if (firstSlash != std::string::npos) {
        const std::string prefix = AsciiUpper(rest.substr(0, firstSlash));
        for (const RootName& root : kRootNames) {
            if (prefix == root.Name) {
                parsed.Root = root.Root;
                rest.erase(0, firstSlash + 1);
                break;
            }
        }
    }

    std::string namePart;
    const std::size_t lastSlash = rest.rfind('\\');
    if (lastSlash != std::string::npos) {
        namePart = rest.substr(lastSlash + 1);
        rest.erase(lastSlash);
    }
    parsed.KeyPath = rest;

    const std::size_t equals = namePart.find('=');
    if (equals != std::string::npos) {
        parsed.ValueText = namePart.substr(equals + 1);
        namePart.erase(equals);
    }
    parsed.ValueName = namePart;

    // A key path written from the root ("\Software\...") means the same key.
    if (!parsed.KeyPath.empty() && parsed.KeyPath.front() == '\\') parsed.KeyPath.erase(0, 1);
    return parsed;
}

bool ParseRegistryInteger(const std::string& text, int32_t& value) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    if (i == text.size()) return false;

    if (text[i] == '$') {
        ++i;
        const std::size_t digits = text.size() - i;
        if (digits == 0 || digits > 8) return false;
        uint32_t pattern = 0;
        for (; i < text.size(); ++i) {
            const int digit = HexDigit(text[i]);
            if (digit < 0) return false;
            pattern = pattern << 4 | static_cast<uint32_t>(digit);
        }
        value = static_cast<int32_t>(pattern);
        return true;
    }

    bool negative = false;
    if (text[i] == '+' || text[i] == '-') {
        negative = text[i] == '-';
        ++i;
    }
    if (i == text.size()) return false;
    int64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        magnitude = magnitude * 10 + (text[i] - '0');
        if (magnitude > int64_t{INT32_MAX} + 1) return false;
    }
    const int64_t signedValue = negative ? -magnitude : magnitude;
    if (signedValue > INT32_MAX || signedValue < INT32_MIN) return false;
    value = static_cast<int32_t>(signedValue);
    return true;
}

std::string RegistryAnswerLine(RegistryReadStatus status, const std::string& valueText) {
    const char* word = status == RegistryReadStatus::Value ? "value" : status == RegistryReadStatus::Key ? "key" : "nothing";
    return std::string("RegFound=") + word + "&RegValue=" + valueText;
}
