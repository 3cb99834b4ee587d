// Case folding of ASCII letters only: the command channel matches its prefixes and keys this way,
// so a byte of another code page is never changed. Portable.
#pragma once

#include <string>

char AsciiLower(char c);
std::string AsciiLower(std::string text);
