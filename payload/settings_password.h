// Setting a distributable's password in its settings text, as the packer does: "Password=1" and
// "AlignmentX" = the password's hash in the first [Settings] section. Portable.
#pragma once

#include <cstdint>
#include <string>

// Replaces the first "Password" and "AlignmentX" lines of the first [Settings] section (keys
// compared as the engine compares them), or adds them right after its header; adds the section
// at the end when there is none. Other lines stay as they were; every line ends with the file's
// kind of line break.
std::string WithPasswordHash(const std::string& iniText, int32_t passwordHash);
