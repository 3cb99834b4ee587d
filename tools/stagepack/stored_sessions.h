// The payload of an existing distributable taken as it is stored: every session and record read
// and checked the way the engine reads them, then appended behind another engine unchanged (no
// recompression; names, placements and times kept), each session closed by a new trailer.
// Portable: no <windows.h>.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "payload/payload_file_system.h"
#include "payload/payload_format.h"
#include "payload/trailer_search.h"

class PayloadSink;

struct StoredRecord {
    RecordHeader Header;
    uint64_t DataOffset = 0;  // where the stored bytes start in the source
};

struct StoredSession {
    FoundTrailer Found;
    std::vector<StoredRecord> Records;
};

// Every session of the file (first appended first) with its records, each one's header, name,
// placement and stored data checked: raw data of its original size, a zlib stream that inflates
// to exactly the original size within the stored bytes. The first fault throws EngineError with
// the reader's message ("Session not found on extract from PATH", "File prefix format error on
// extract from PATH", "Stream read error", ...), naming the record where there is one.
std::vector<StoredSession> ReadStoredSessions(PayloadSource& source, const std::string& path);

// Appends the sessions' records byte for byte where the sink ends; each session gets a trailer
// with the same name and counts and its new DataStart.
void AppendStoredSessions(PayloadSource& source, const std::vector<StoredSession>& sessions, PayloadSink& sink);
