// The one message of the hook library step: shown when the library cannot be loaded. Portable.
#pragma once

#include <string>

// The system's error text without its trailing spaces, control characters and full stops.
std::string TrimSystemErrorText(const std::string& systemText);

// "quenbyrun.dll" [" exists but have"] " not loaded: " + the trimmed system text. The library is
// named by its fixed name, not by the numbered name it has on disk.
std::string HookLibraryLoadFailureText(bool fileExists, const std::string& systemText);
