#include "payload/user_settings_values.h"

#include <cstdint>
#include <optional>

#include "payload/registry_section.h"
#include "payload/user_settings_store.h"

const char kTempDirectoryValue[] = "Quenby Temp Directory";
const char kMouseExitValue[] = "MouseExit";
const char kAnyKeyExitValue[] = "AnyKeyExit";
const char kMuteValue[] = "Mute";
const char kMidiMuteValue[] = "MidiMute";
const char kDisplayRightClickValue[] = "DisplayRightClickMenu";

bool ReadUserBoolean(UserSettingsStore* store, const std::string& valueName, bool defaultValue) {
    if (!store) return defaultValue;
    const std::optional<std::string> text = store->ReadString(valueName);
    int32_t number = 0;
    if (!text || !ParseSettingsNumber(*text, number)) return defaultValue;
    return number != 0;
}

void WriteUserBoolean(UserSettingsStore* store, const std::string& valueName, bool value) {
    if (store) store->WriteString(valueName, value ? "1" : "0");
}

std::string TemporaryBase(UserSettingsStore* store, const std::string& systemTempPath) {
    std::optional<std::string> chosen = store ? store->ReadString(kTempDirectoryValue) : std::nullopt;
    // An empty value would put the temporary files in the current directory: use the system's.
    std::string base = chosen && !chosen->empty() ? *chosen : systemTempPath;
    // No system path either (GetTempPathA failed or gave too long a path): the empty base stays
    // empty rather than becoming "\", the root of whatever drive is current.
    if (!base.empty() && base.back() != '\\') base += '\\';
    return base;
}
