// Finding session trailers from the end of a file: the backward search for a valid trailer and
// the walk along the chain of stacked sessions.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "payload/payload_file_system.h"
#include "payload/payload_format.h"

struct FoundTrailer {
    uint64_t Offset = 0;  // where the trailer starts
    SessionTrailer Trailer{};
};

// Tests the window of kTrailerSize bytes ending at `end` and, when scan is set, every window
// further back down to the one ending at kTrailerSearchFloor; the first valid trailer found from
// the end wins. The file is read in large blocks and searched in memory. Throws
// EngineError("Stream read error") when the window at `end` cannot be read.
bool FindTrailerBackwards(PayloadSource& source, uint64_t end, bool scan, FoundTrailer& found);

// Visits the sessions from the last one back along each trailer's DataStart until visit returns
// true (found: returns true) or the chain ends (returns false). A chain that does not move
// backwards ends the walk. The first window ends at the end of the file.
bool WalkSessions(PayloadSource& source, bool scan, const std::function<bool(const FoundTrailer&)>& visit);

// Every session of the file in file order (the first appended first); empty when the file holds
// none or is too short for a trailer.
std::vector<FoundTrailer> SessionsInFileOrder(PayloadSource& source);

// The session named name (exact, case-sensitive).
bool FindSession(PayloadSource& source, const std::string& name, bool scan, FoundTrailer& found);
