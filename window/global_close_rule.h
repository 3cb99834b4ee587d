// The global close message between engines: whether a close names this program, and reading the
// host handle that an engine's parent left in the environment. Portable.
#pragma once

#include <cstdint>
#include <string>

// The file name part of atomText (after its last "\" or ":") equals exeName, compared without
// regard to the case of ASCII letters: directories are ignored.
bool GlobalCloseNamesProgram(const std::string& atomText, const std::string& exeName);

// An environment value as an integer: an optional sign and decimal digits, or "$" or "0x" and
// hexadecimal digits, nothing else. False when the text is no such number or does not fit 32 bits.
bool ParseHandleValue(const std::string& text, int64_t& value);

// Whether a parsed environment value names the window whose 32-bit handle value is field (window
// handles are published as the decimal value of their 32-bit form).
bool HandleValueMatches(int64_t value, uint32_t field);
