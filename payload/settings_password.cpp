#include "payload/settings_password.h"

#include <vector>

#include "payload/registry_section.h"
#include "payload/settings_file.h"
#include "payload/settings_keys.h"

std::string WithPasswordHash(const std::string& iniText, int32_t passwordHash) {
    const std::string lineBreak = iniText.find("\r\n") != std::string::npos ? "\r\n" : "\n";
    const std::string passwordLine = std::string(kPasswordKey) + "=1";
    const std::string hashLine = std::string(kAlignmentXKey) + "=" + std::to_string(passwordHash);

    std::vector<std::string> lines = SplitSettingsLines(iniText);
    const SettingsSection* settings = nullptr;
    const std::vector<SettingsSection> sections = ParseSettingsSections(iniText);
    for (const SettingsSection& section : sections)
        if (EqualsIgnoringCase(section.Name, kSettingsSection)) {
            settings = &section;
            break;
        }

    if (!settings) {
        lines.push_back(std::string("[") + kSettingsSection + "]");
        lines.push_back(passwordLine);
        lines.push_back(hashLine);
    } else {
        std::vector<std::string> missing;
        for (const auto& [key, text] : {std::make_pair(kPasswordKey, &passwordLine), std::make_pair(kAlignmentXKey, &hashLine)}) {
            bool replaced = false;
            for (const SettingsLine& line : settings->Lines)
                if (line.HasEquals && EqualsIgnoringCase(line.Key, key)) {
                    lines[static_cast<std::size_t>(line.LineNumber - 1)] = *text;
                    replaced = true;
                    break;
                }
            if (!replaced) missing.push_back(*text);
        }
        lines.insert(lines.begin() + settings->LineNumber, missing.begin(), missing.end());
    }

    std::string result;
    for (const std::string& line : lines) result += line + lineBreak;
    return result;
}
