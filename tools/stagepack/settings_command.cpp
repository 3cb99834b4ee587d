// The settings-file check for authors: stagepack check-settings, and the warnings build prints
// for every .ini file it packs.
#include <cstdio>

#include "tools/stagepack/cli_support.h"
#include "tools/stagepack/commands.h"

#if __has_include("payload/settings_check.h")
#include "payload/settings_check.h"
#define STAGEPACK_HAS_SETTINGS_CHECK 1
#else
#define STAGEPACK_HAS_SETTINGS_CHECK 0
#endif

bool SettingsCheckAvailable() { return STAGEPACK_HAS_SETTINGS_CHECK != 0; }

std::vector<std::string> SettingsWarnings(const std::string& iniText) {
#if STAGEPACK_HAS_SETTINGS_CHECK
    return CheckAuthorSettings(iniText);
#else
    (void)iniText;
    return {};
#endif
}

int RunCheckSettings(const Arguments& args) {
    if (args.size() != 1 || args[0].empty() || args[0][0] == '-') throw UsageError("check-settings takes one file");
    if (!SettingsCheckAvailable()) throw ToolError("this stagepack was built without the settings check");
    std::FILE* f = std::fopen(NativePath(args[0]).c_str(), "rb");
    if (!f) throw ToolError("cannot read " + args[0]);
    std::string text;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) text.append(buffer, n);
    std::fclose(f);
    std::vector<std::string> warnings = SettingsWarnings(text);
    for (const std::string& warning : warnings) std::printf("%s: %s\n", args[0].c_str(), warning.c_str());
    if (warnings.empty()) std::printf("%s: no warnings\n", args[0].c_str());
    return 0;
}
