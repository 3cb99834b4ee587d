#include "payload/win32/registry_user_settings.h"

#include <vector>

const char kPerUserKeyPath[] = "Software\\Pellux";

RegistryUserSettings::RegistryUserSettings(const std::string& section, const std::string& rootKeyPath)
    : section_(section) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, rootKeyPath.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_READ | KEY_WRITE, nullptr, &key, nullptr) == ERROR_SUCCESS)
        root_.reset(key);
}

std::optional<std::string> RegistryUserSettings::ReadString(const std::string& valueName) {
    if (!root_) return std::nullopt;
    HKEY opened = nullptr;
    if (RegOpenKeyExA(root_.get(), section_.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return std::nullopt;
    UniqueRegistryKey key(opened);
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(key.get(), valueName.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return std::nullopt;
    if (type != REG_SZ && type != REG_EXPAND_SZ) return std::nullopt;
    std::vector<char> data(size + 1, '\0');
    if (RegQueryValueExA(key.get(), valueName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size) !=
        ERROR_SUCCESS)
        return std::nullopt;
    // The stored data need not end with a zero.
    std::string text(data.data(), size);
    const std::size_t end = text.find('\0');
    if (end != std::string::npos) text.resize(end);
    return text;
}

void RegistryUserSettings::WriteString(const std::string& valueName, const std::string& value) {
    if (!root_) return;
    HKEY created = nullptr;
    if (RegCreateKeyExA(root_.get(), section_.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr,
                        &created, nullptr) != ERROR_SUCCESS)
        return;
    UniqueRegistryKey key(created);
    RegSetValueExA(key.get(), valueName.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
}
