// The settings file (an INI text) as the loader reads it: sections of "key=value" lines, keys
// compared without regard to case and nothing trimmed, the first section of a name counting.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct SettingsLine {
    int LineNumber = 0;        // 1-based
    std::string Text;          // the whole line, without its line break
    bool HasEquals = false;
    std::string Key;           // text before the first "=", unchanged
    std::string Value;         // text after it
};

struct SettingsSection {
    int LineNumber = 0;
    std::string Name;
    std::vector<SettingsLine> Lines;  // neither empty nor comment lines
};

// The lines of a text, without their breaks; lines end at CR, LF or CR LF.
std::vector<std::string> SplitSettingsLines(const std::string& text);

// Every section in file order, duplicates included; lines before the first section are dropped.
std::vector<SettingsSection> ParseSettingsSections(const std::string& text);

class SettingsFile {
public:
    explicit SettingsFile(const std::string& text);

    // The raw value of the first line whose key matches, in the first section of that name.
    std::optional<std::string> Find(const std::string& section, const std::string& key) const;
    std::string ReadString(const std::string& section, const std::string& key, const std::string& defaultValue) const;
    // Missing or unreadable values give the default.
    int32_t ReadInteger(const std::string& section, const std::string& key, int32_t defaultValue) const;

private:
    std::vector<SettingsSection> sections_;
};
