// Naming and number rules shared by the settings file and the per-user registry values.
#pragma once

#include <cstdint>
#include <string>

// The distributable's registry section: the file name part of programFileName (a full path or a
// bare name), cut before the first ".exe" of its lower-case form. The original spelling is kept
// ("Demo.EXE" gives "Demo"); a name without ".exe" gives "".
std::string RegistrySectionName(const std::string& programFileName);

// A settings or registry number: decimal with an optional sign, or hexadecimal after "0x"/"0X"
// (up to 32 bits, taken as a signed 32-bit value). Nothing is trimmed. False when unreadable.
bool ParseSettingsNumber(const std::string& text, int32_t& value);

// ASCII lower case, as used for file names and key comparisons.
std::string LowerAscii(std::string text);
bool EqualsIgnoringCase(const std::string& a, const std::string& b);
