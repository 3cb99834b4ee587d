// The hash an author stores for the distributable's password ("AlignmentX"): the password itself
// is stored nowhere. Portable; the packer computes it with the same function.
#pragma once

#include <cstdint>
#include <string>

// Above every value PasswordHash can give: a stored "AlignmentX" at or past it, or a negative one,
// matches no password.
inline constexpr int32_t kPasswordHashLimit = 429496729;

// A number from 0 to kPasswordHashLimit - 1. Characters with codes 0 to 32 at either end of the
// text do not count. The bytes are taken as they are (the ANSI code page of the entry).
int32_t PasswordHash(const std::string& text);

// What the password prompt gives when it was not accepted: a byte 0x01, "CanCel", a byte 0x0E.
// An entry whose trimmed text is "CanCel" hashes the same and ends the prompt like Cancel.
extern const char kPasswordCancelMarker[];
