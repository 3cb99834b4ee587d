#include "commands/win32/registry_commands.h"

#include <windows.h>

#include <cstring>

#include "commands/registry_argument.h"
#include "commands/movie_command.h"
#include "engine/win32/handles.h"

namespace {

HKEY RootKey(RegistryRoot root) {
    switch (root) {
        case RegistryRoot::LocalMachine:
            return HKEY_LOCAL_MACHINE;
        case RegistryRoot::ClassesRoot:
            return HKEY_CLASSES_ROOT;
        case RegistryRoot::CurrentUser:
            break;
    }
    return HKEY_CURRENT_USER;
}

// An empty key path names the root itself, which exists and is opened rather than created.
UniqueRegistryKey OpenForWriting(const RegistryArgument& parsed) {
    HKEY key = nullptr;
    const LONG result =
        parsed.KeyPath.empty()
            ? RegOpenKeyExA(RootKey(parsed.Root), nullptr, 0, KEY_ALL_ACCESS, &key)
            : RegCreateKeyExA(RootKey(parsed.Root), parsed.KeyPath.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                              KEY_ALL_ACCESS, nullptr, &key, nullptr);
    return UniqueRegistryKey(result == ERROR_SUCCESS ? key : nullptr);
}

void StoreValue(HKEY key, const RegistryArgument& parsed) {
    if (parsed.Type == RegistryValueType::String) {
        RegSetValueExA(key, parsed.ValueName.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(parsed.ValueText.c_str()),
                       static_cast<DWORD>(parsed.ValueText.size()));
        return;
    }
    int32_t number = 0;
    if (!ParseRegistryInteger(parsed.ValueText, number)) return;
    DWORD data = static_cast<DWORD>(number);
    RegSetValueExA(key, parsed.ValueName.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof data);
}

// The value's text, or false when it is missing or of another kind than asked for.
bool ReadValue(HKEY key, const RegistryArgument& parsed, std::string& text) {
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(key, parsed.ValueName.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return false;
    if (parsed.Type == RegistryValueType::Integer) {
        if (type != REG_DWORD || size != sizeof(DWORD)) return false;
        DWORD data = 0;
        if (RegQueryValueExA(key, parsed.ValueName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&data), &size) !=
            ERROR_SUCCESS)
            return false;
        text = std::to_string(static_cast<int32_t>(data));
        return true;
    }
    if (type != REG_SZ && type != REG_EXPAND_SZ) return false;
    // One spare zero: stored data need not end with one.
    std::string data(size + 1, '\0');
    if (RegQueryValueExA(key, parsed.ValueName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&data[0]), &size) !=
        ERROR_SUCCESS)
        return false;
    text.assign(data.c_str());  // up to the first zero
    return true;
}

bool SameFileName(const std::string& a, const std::string& b) { return _stricmp(a.c_str(), b.c_str()) == 0; }

}  // namespace

void WriteRegistryValue(const std::string& argument, bool lazy) {
    const RegistryArgument parsed = ParseRegistryArgument(argument);
    UniqueRegistryKey key = OpenForWriting(parsed);
    if (!key) return;
    StoreValue(key.get(), parsed);
    if (!lazy) RegFlushKey(key.get());
}

void ReadRegistryValue(const std::string& argument, const std::string& answerFile,
                       std::vector<std::string>& extractedFiles) {
    const RegistryArgument parsed = ParseRegistryArgument(argument);
    std::string valueText = parsed.ValueText;
    RegistryReadStatus status = RegistryReadStatus::Nothing;
    {
        HKEY opened = nullptr;
        if (RegOpenKeyExA(RootKey(parsed.Root), parsed.KeyPath.empty() ? nullptr : parsed.KeyPath.c_str(), 0, KEY_READ,
                          &opened) == ERROR_SUCCESS) {
            UniqueRegistryKey key(opened);
            status = RegistryReadStatus::Key;
            std::string read;
            if (ReadValue(key.get(), parsed, read)) {
                valueText = read;
                status = RegistryReadStatus::Value;
            }
        }
    }

    UniqueFile file(CreateFileA(answerFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return;
    bool listed = false;
    for (const std::string& name : extractedFiles)
        if (SameFileName(name, answerFile)) listed = true;
    if (!listed) extractedFiles.push_back(answerFile);
    const std::string line = RegistryAnswerLine(status, valueText);
    DWORD written = 0;
    WriteFile(file.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

std::string RegistryAnswerFile(const std::string& projectorPath) {
    // The directory with its final separator ("" when the path names none).
    const std::size_t separator = projectorPath.find_last_of("\\/:");
    const std::string directory = separator == std::string::npos ? std::string() : projectorPath.substr(0, separator + 1);
    return directory + kRegistryAnswerFileName;
}

bool RunRegistryCommand(const std::string& commandBody, bool waitForm, const std::string& projectorPath,
                        std::vector<std::string>& extractedFiles) {
    const CommandRoute route = RouteCommandBody(commandBody);
    switch (route.Action) {
        case CommandAction::WriteRegistry:
            WriteRegistryValue(route.Argument, !waitForm);
            return true;
        case CommandAction::ReadRegistry:
            ReadRegistryValue(route.Argument, RegistryAnswerFile(projectorPath), extractedFiles);
            return true;
        default:
            return false;
    }
}
