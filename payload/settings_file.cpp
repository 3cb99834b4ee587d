#include "payload/settings_file.h"

#include "payload/registry_section.h"

std::vector<std::string> SplitSettingsLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t position = 0;
    while (position < text.size()) {
        std::size_t end = text.find_first_of("\r\n", position);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(position, end - position));
        position = end;
        if (position < text.size()) {
            ++position;
            if (text[end] == '\r' && position < text.size() && text[position] == '\n') ++position;
        }
    }
    return lines;
}

std::vector<SettingsSection> ParseSettingsSections(const std::string& text) {
    std::vector<SettingsSection> sections;
    int lineNumber = 0;
    for (const std::string& line : SplitSettingsLines(text)) {
        ++lineNumber;
        if (line.empty() || line[0] == ';') continue;
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            SettingsSection section;
            section.LineNumber = lineNumber;
            section.Name = line.substr(1, line.size() - 2);
            sections.push_back(std::move(section));
            continue;
        }
        if (sections.empty()) continue;
        SettingsLine entry;
        entry.LineNumber = lineNumber;
        entry.Text = line;
        const std::size_t equals = line.find('=');
        if (equals != std::string::npos) {
            entry.HasEquals = true;
            entry.Key = line.substr(0, equals);
            entry.Value = line.substr(equals + 1);
        }
        sections.back().Lines.push_back(std::move(entry));
    }
    return sections;
}

SettingsFile::SettingsFile(const std::string& text) : sections_(ParseSettingsSections(text)) {}

std::optional<std::string> SettingsFile::Find(const std::string& section, const std::string& key) const {
    for (const SettingsSection& candidate : sections_) {
        if (!EqualsIgnoringCase(candidate.Name, section)) continue;
        for (const SettingsLine& line : candidate.Lines)
            if (line.HasEquals && EqualsIgnoringCase(line.Key, key)) return line.Value;
        return std::nullopt;  // only the first section of a name counts
    }
    return std::nullopt;
}

std::string SettingsFile::ReadString(const std::string& section, const std::string& key,
                                     const std::string& defaultValue) const {
    std::optional<std::string> value = Find(section, key);
    return value ? *value : defaultValue;
}

int32_t SettingsFile::ReadInteger(const std::string& section, const std::string& key, int32_t defaultValue) const {
    std::optional<std::string> value = Find(section, key);
    int32_t number = 0;
    return value && ParseSettingsNumber(*value, number) ? number : defaultValue;
}
