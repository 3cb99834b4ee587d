// The per-user values of one distributable in the registry: HKEY_CURRENT_USER\<root>\<section>,
// strings read and written as they are.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "engine/win32/handles.h"
#include "payload/user_settings_store.h"

extern const char kPerUserKeyPath[];  // "Software\Pellux"

class RegistryUserSettings : public UserSettingsStore {
public:
    // Opens the root key, creating it when missing; without it every value reads as missing and
    // writes are dropped.
    explicit RegistryUserSettings(const std::string& section, const std::string& rootKeyPath = kPerUserKeyPath);

    std::optional<std::string> ReadString(const std::string& valueName) override;
    void WriteString(const std::string& valueName, const std::string& value) override;

    const std::string& Section() const { return section_; }

private:
    std::string section_;
    UniqueRegistryKey root_;
};
