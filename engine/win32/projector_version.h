// The projector executable's product version, read from its version resource.
#pragma once

#include <string>

// True when the file's product version is 6.0 or later; a file without readable version
// information counts as older.
bool ProjectorIsVersion6OrLater(const std::string& path);
