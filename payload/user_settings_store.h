// The per-user values of one distributable (its section of the per-user registry key). Portable:
// the engine uses RegistryUserSettings (payload/win32/registry_user_settings.h).
#pragma once

#include <optional>
#include <string>

class UserSettingsStore {
public:
    virtual ~UserSettingsStore() = default;
    // nullopt when the value is missing or the section cannot be opened.
    virtual std::optional<std::string> ReadString(const std::string& valueName) = 0;
    // Failures are ignored: per-user values are a convenience, never a reason to stop.
    virtual void WriteString(const std::string& valueName, const std::string& value) = 0;
};
