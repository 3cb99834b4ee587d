#include "payload/settings_check.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "payload/options.h"
#include "payload/password_hash.h"
#include "payload/registry_section.h"
#include "payload/settings_file.h"
#include "payload/settings_keys.h"

namespace {

struct Finding {
    int LineNumber;
    std::string Text;
};

const char* const kKnownSections[] = {kSettingsSection, kProjectorVersionSection, kEngineCommandsSection,
                                      kRightMenuDeleteItemsSection};

std::string Trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return std::string();
    const std::size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

const SettingsKeyInfo* FindKey(const std::string& section, const std::string& key) {
    for (const SettingsKeyInfo& info : KnownSettingsKeys())
        if (EqualsIgnoringCase(info.Section, section) && EqualsIgnoringCase(info.Key, key)) return &info;
    return nullptr;
}

const SettingsKeyInfo* FindKeyInAnySection(const std::string& key) {
    for (const SettingsKeyInfo& info : KnownSettingsKeys())
        if (EqualsIgnoringCase(info.Key, key)) return &info;
    return nullptr;
}

bool IsDecimalIndex(const std::string& key) {
    return !key.empty() && key.size() <= 9 && std::all_of(key.begin(), key.end(), [](char c) { return c >= '0' && c <= '9'; });
}

class Checker {
public:
    std::vector<Finding> Findings;

    void Add(int line, std::string text) { Findings.push_back({line, std::move(text)}); }

    void CheckValue(const SettingsLine& line, const SettingsKeyInfo& info) {
        if (info.Kind == SettingsKeyKind::Text) return;
        int32_t number = 0;
        if (!ParseSettingsNumber(line.Value, number)) {
            Add(line.LineNumber, "the value \"" + line.Value + "\" of " + info.Key +
                                     " is not a number (decimal or 0x hexadecimal); the default is used");
            return;
        }
        if (info.Kind == SettingsKeyKind::Switch && number != 0 && number != 1)
            Add(line.LineNumber, std::string(info.Key) + "=" + line.Value +
                                     " is neither 0 nor 1; the value is ignored and the option stays off");
        if (info.Kind == SettingsKeyKind::ChoosableSwitch && number != 0 && number != 1 && number != 2)
            Add(line.LineNumber, std::string(info.Key) + "=" + line.Value +
                                     " is not 0, 1 or 2; it leaves the option to the end user like 2");
    }

    void CheckUnknownKey(const SettingsSection& section, const SettingsLine& line) {
        const std::string trimmedKey = Trimmed(line.Key);
        if (trimmedKey != line.Key && (FindKey(section.Name, trimmedKey) ||
                                       (EqualsIgnoringCase(section.Name, kRightMenuDeleteItemsSection) &&
                                        IsDecimalIndex(trimmedKey)))) {
            Add(line.LineNumber, "the key \"" + line.Key +
                                     "\" has blanks around it or before \"=\"; it is not recognised and ignored");
            return;
        }
        if (const SettingsKeyInfo* elsewhere = FindKeyInAnySection(trimmedKey)) {
            Add(line.LineNumber, "the key \"" + line.Key + "\" belongs in section [" + elsewhere->Section +
                                     "]; it is ignored here");
            return;
        }
        Add(line.LineNumber, "unknown key \"" + line.Key + "\" in section [" + section.Name + "]; it is ignored");
    }

    void CheckDeleteItems(const SettingsSection& section) {
        int32_t count = 0;
        for (const SettingsLine& line : section.Lines)
            if (line.HasEquals && EqualsIgnoringCase(line.Key, kCountKey)) {
                if (!ParseSettingsNumber(line.Value, count)) count = 0;
                break;
            }
        if (count > kRightMenuDeleteItemCount)
            Add(section.LineNumber, "Count is " + std::to_string(count) + "; only the first " +
                                        std::to_string(kRightMenuDeleteItemCount) + " entries are used");
        for (const SettingsLine& line : section.Lines) {
            if (!line.HasEquals || !IsDecimalIndex(line.Key)) continue;
            const long index = std::stol(line.Key);
            int32_t number = 0;
            if (!ParseSettingsNumber(line.Value, number))
                Add(line.LineNumber, "the value \"" + line.Value + "\" of entry " + line.Key +
                                         " is not a number; 0 is used");
            if (index >= kRightMenuDeleteItemCount)
                Add(line.LineNumber, "entry " + line.Key + " is beyond the " +
                                         std::to_string(kRightMenuDeleteItemCount) + " entries used; it is ignored");
            else if (index >= count)
                Add(line.LineNumber, "entry " + line.Key + " is not below Count (" + std::to_string(count) +
                                         "); it is ignored");
        }
    }

    void CheckSection(const SettingsSection& section) {
        const bool deleteItems = EqualsIgnoringCase(section.Name, kRightMenuDeleteItemsSection);
        std::vector<std::string> seenKeys;
        for (const SettingsLine& line : section.Lines) {
            if (!line.HasEquals) {
                Add(line.LineNumber, "\"" + line.Text + "\" is neither a section header nor a key=value line; it is ignored");
                continue;
            }
            const std::string lowerKey = LowerAscii(line.Key);
            if (std::find(seenKeys.begin(), seenKeys.end(), lowerKey) != seenKeys.end()) {
                Add(line.LineNumber, "the key \"" + line.Key + "\" appears again in this section; only the first is read");
                continue;
            }
            seenKeys.push_back(lowerKey);
            if (deleteItems && IsDecimalIndex(line.Key)) continue;
            if (const SettingsKeyInfo* info = FindKey(section.Name, line.Key))
                CheckValue(line, *info);
            else
                CheckUnknownKey(section, line);
        }
        if (deleteItems) CheckDeleteItems(section);
    }

    // "Password=1" asks for a password that must hash to "AlignmentX": without a hash a password
    // can match, the distributable cannot be opened.
    void CheckPasswordHash(const SettingsSection& settings) {
        const SettingsLine* password = nullptr;
        const SettingsLine* hash = nullptr;
        for (const SettingsLine& line : settings.Lines) {
            if (!line.HasEquals) continue;
            if (!password && EqualsIgnoringCase(line.Key, kPasswordKey)) password = &line;
            if (!hash && EqualsIgnoringCase(line.Key, kAlignmentXKey)) hash = &line;
        }
        int32_t number = 0;
        if (!password || !ParseSettingsNumber(password->Value, number) || number != 1) return;
        if (!hash) {
            Add(password->LineNumber, "Password=1 asks for a password, but AlignmentX (the password's hash) is "
                                      "missing; set the password with stagepack build --password-file or "
                                      "--password-prompt");
            return;
        }
        if (ParseSettingsNumber(hash->Value, number) && (number < 0 || number >= kPasswordHashLimit))
            Add(hash->LineNumber, "AlignmentX=" + hash->Value + " is no password's hash (0 to " +
                                      std::to_string(kPasswordHashLimit - 1) + "); no password opens the distributable");
    }

    void CheckStartInFullscreen(const SettingsSection& settings) {
        auto valueOf = [&](const char* key, int32_t defaultValue) {
            for (const SettingsLine& line : settings.Lines)
                if (line.HasEquals && EqualsIgnoringCase(line.Key, key)) {
                    int32_t number = 0;
                    return std::make_pair(line.LineNumber, ParseSettingsNumber(line.Value, number) ? number : defaultValue);
                }
            return std::make_pair(0, defaultValue);
        };
        const auto start = valueOf(kStartInFullscreenModeKey, 0);
        if (start.second == 1 && valueOf(kFullScreenKey, 0).second == 1 && valueOf(kCustomSizeKey, 0).second != 1)
            Add(start.first, "StartInFullscreenMode=1 has no effect with FullScreen=1 unless CustomSize=1");
    }
};

}  // namespace

std::vector<std::string> CheckAuthorSettings(const std::string& iniText) {
    Checker checker;
    const std::vector<SettingsSection> sections = ParseSettingsSections(iniText);

    // Lines before the first section header are never read.
    const std::vector<std::string> lines = SplitSettingsLines(iniText);
    const std::size_t preambleLines = sections.empty() ? lines.size() : static_cast<std::size_t>(sections.front().LineNumber - 1);
    for (std::size_t i = 0; i < preambleLines; ++i)
        if (!lines[i].empty() && lines[i][0] != ';')
            checker.Add(static_cast<int>(i + 1), "\"" + lines[i] + "\" stands before any section header; it is ignored");

    std::vector<const SettingsSection*> firstOfName;
    for (const SettingsSection& section : sections) {
        const auto earlier = std::find_if(firstOfName.begin(), firstOfName.end(), [&](const SettingsSection* s) {
            return EqualsIgnoringCase(s->Name, section.Name);
        });
        if (earlier != firstOfName.end()) {
            checker.Add(section.LineNumber, "section [" + section.Name + "] appears again; only the first one (line " +
                                                std::to_string((*earlier)->LineNumber) + ") is read");
            continue;
        }
        firstOfName.push_back(&section);
        bool known = false;
        for (const char* name : kKnownSections) known = known || EqualsIgnoringCase(name, section.Name);
        if (!known) {
            checker.Add(section.LineNumber, "unknown section [" + section.Name + "]; it is ignored");
            continue;
        }
        checker.CheckSection(section);
        if (EqualsIgnoringCase(section.Name, kSettingsSection)) {
            checker.CheckStartInFullscreen(section);
            checker.CheckPasswordHash(section);
        }
    }

    std::stable_sort(checker.Findings.begin(), checker.Findings.end(),
                     [](const Finding& a, const Finding& b) { return a.LineNumber < b.LineNumber; });
    std::vector<std::string> warnings;
    for (const Finding& finding : checker.Findings)
        warnings.push_back("line " + std::to_string(finding.LineNumber) + ": " + finding.Text);
    return warnings;
}
