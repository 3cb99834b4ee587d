// The temporary base made a full path once, before any working directory is named from it: a
// relative per-user value, or none at all, would otherwise leave every later path relative and
// at the mercy of whichever directory is current when it is used.
#pragma once

#include <string>

// base: the temporary base as read (empty, or ending with "\"); programDir: the engine's own
// directory, full, with its final "\". Empty gives programDir (the working directory then lies
// beside the engine); a relative base is taken inside programDir; a base rooted on the current
// drive ("\Temp\") or naming a drive without a root ("D:Temp\") is completed from programDir's
// drive or that drive's root. A full base ("C:\...", "\\server\share\...") stays as it is.
std::string FullTemporaryBase(const std::string& base, const std::string& programDir);
