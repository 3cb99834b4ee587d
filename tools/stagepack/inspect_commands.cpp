// stagepack list and verify: every session of a file and every record of each session.
#include <algorithm>
#include <cstdio>
#include <vector>

#include "payload/engine_error.h"
#include "payload/inflate_stream.h"
#include "payload/payload_file_system.h"
#include "payload/payload_format.h"
#include "payload/trailer_search.h"
#include "tools/stagepack/cli_support.h"
#include "tools/stagepack/commands.h"

namespace {

const char* CheckText(BlockCheck check) {
    switch (check) {
        case BlockCheck::Valid: return "ok";
        case BlockCheck::BadEndMark: return "BAD END MARK";
        case BlockCheck::BadSignature: return "BAD SIGNATURE";
        case BlockCheck::BadCheckValue: return "BAD CHECK VALUE";
    }
    return "?";
}

std::string OnlyArgument(const Arguments& args, const char* command) {
    if (args.size() != 1 || args[0].empty() || args[0][0] == '-')
        throw UsageError(std::string(command) + " takes exactly one file");
    return args[0];
}

// The sessions of a file in file order (first appended first).
std::vector<FoundTrailer> SessionsOf(PayloadSource& source, const std::string& path) {
    std::vector<FoundTrailer> sessions = SessionsInFileOrder(source);
    if (sessions.empty()) throw ToolError("no payload session found in " + path);
    return sessions;
}

void PrintSession(const FoundTrailer& session) {
    const SessionTrailer& t = session.Trailer;
    std::printf("session \"%s\" at %llu: data %u..%llu, %d file(s), %u bytes, packed by \"%s\"\n",
                ReadShortString(t.SessionName).c_str(), static_cast<unsigned long long>(session.Offset), t.DataStart,
                static_cast<unsigned long long>(static_cast<uint64_t>(t.DataStart) + t.DataSize),
                static_cast<int32_t>(t.FileCount), t.TotalSize, ReadShortString(t.PackerVersion).c_str());
}

// Reads the headers of a session in order; visit sees each valid one with its data offset.
// Returns false (after printing why) when a header cannot be read or is invalid.
template <typename Visit>
bool ForEachRecord(PayloadSource& source, const FoundTrailer& session, Visit visit) {
    uint64_t position = session.Trailer.DataStart;
    int32_t count = static_cast<int32_t>(session.Trailer.FileCount);
    for (int32_t i = 0; i < count; ++i) {
        RecordHeader header;
        source.Seek(position);
        if (position + kRecordHeaderSize > source.Size() || source.Read(&header, sizeof header) != sizeof header) {
            std::printf("  record %d: header beyond the end of the file\n", i + 1);
            return false;
        }
        BlockCheck check = CheckRecordHeader(header);
        if (check != BlockCheck::Valid) {
            std::printf("  record %d at %llu: %s\n", i + 1, static_cast<unsigned long long>(position), CheckText(check));
            return false;
        }
        uint64_t dataStart = position + kRecordHeaderSize;
        if (!visit(header, dataStart)) return false;
        position = dataStart + header.StoredSize;
    }
    return true;
}

// Whether a record's stored bytes give exactly its original size; prints the problem if not.
bool VerifyRecordData(PayloadSource& source, const RecordHeader& header, uint64_t dataStart) {
    const std::string name = ReadShortString(header.FileName);
    if (dataStart + header.StoredSize > source.Size()) {
        std::printf("  %s: stored data runs beyond the end of the file\n", name.c_str());
        return false;
    }
    if (!IsCompressedRecord(header.OriginalSize)) {
        if (header.StoredSize != header.OriginalSize) {
            std::printf("  %s: raw record stores %u bytes for a %u-byte file\n", name.c_str(), header.StoredSize,
                        header.OriginalSize);
            return false;
        }
        return true;
    }
    try {
        InflateStream inflater(source, dataStart);
        std::vector<uint8_t> chunk(65536);
        uint32_t remaining = header.OriginalSize;
        while (remaining > 0) {
            size_t size = std::min<size_t>(chunk.size(), remaining);
            if (inflater.Read(chunk.data(), size) != size) {
                std::printf("  %s: compressed data ends %u bytes short of %u\n", name.c_str(), remaining,
                            header.OriginalSize);
                return false;
            }
            remaining -= static_cast<uint32_t>(size);
        }
        uint8_t extra;
        if (inflater.Read(&extra, 1) != 0 || !inflater.Ended()) {
            std::printf("  %s: compressed data does not end at %u bytes\n", name.c_str(), header.OriginalSize);
            return false;
        }
        if (inflater.ConsumedInput() > header.StoredSize) {
            std::printf("  %s: compressed stream is longer than its stored size %u\n", name.c_str(),
                        header.StoredSize);
            return false;
        }
    } catch (const EngineError& e) {
        std::printf("  %s: corrupt compressed data (%s)\n", name.c_str(), e.what());
        return false;
    }
    return true;
}

}  // namespace

int RunList(const Arguments& args) {
    std::string path = OnlyArgument(args, "list");
    auto source = PortablePayloadFileSystem().OpenSource(NativePath(path));
    bool allValid = true;
    for (const FoundTrailer& session : SessionsOf(*source, path)) {
        PrintSession(session);
        allValid &= ForEachRecord(*source, session, [](const RecordHeader& h, uint64_t) {
            std::string placement = ReadShortString(h.Placement);
            std::printf("  %-32s %10u -> %10u %-10s %s  %s%s\n", ReadShortString(h.FileName).c_str(), h.OriginalSize,
                        h.StoredSize, IsCompressedRecord(h.OriginalSize) ? "zlib" : "raw",
                        FormatFileTime(RecordLastWriteTime(h)).c_str(), placement.empty() ? "" : "placement ",
                        placement.c_str());
            return true;
        });
    }
    return allValid ? 0 : 1;
}

int RunVerify(const Arguments& args) {
    std::string path = OnlyArgument(args, "verify");
    auto source = PortablePayloadFileSystem().OpenSource(NativePath(path));
    int problems = 0;
    int records = 0;
    std::vector<FoundTrailer> sessions = SessionsOf(*source, path);
    for (const FoundTrailer& session : sessions) {
        PrintSession(session);
        uint64_t total = 0;
        uint64_t end = session.Trailer.DataStart;
        bool readable = ForEachRecord(*source, session, [&](const RecordHeader& h, uint64_t dataStart) {
            ++records;
            total += h.OriginalSize;
            end = dataStart + h.StoredSize;
            if (!VerifyRecordData(*source, h, dataStart)) ++problems;
            return true;
        });
        if (!readable) {
            ++problems;
            continue;
        }
        if (total != session.Trailer.TotalSize) {
            std::printf("  total size %u does not match the files' %llu bytes\n", session.Trailer.TotalSize,
                        static_cast<unsigned long long>(total));
            ++problems;
        }
        if (end != session.Offset ||
            static_cast<uint64_t>(session.Trailer.DataStart) + session.Trailer.DataSize != session.Offset) {
            std::printf("  records end at %llu, the trailer lies at %llu\n", static_cast<unsigned long long>(end),
                        static_cast<unsigned long long>(session.Offset));
            ++problems;
        }
    }
    if (problems) {
        std::printf("%s: %d problem(s)\n", path.c_str(), problems);
        return 1;
    }
    std::printf("%s: %zu session(s), %d record(s) verified\n", path.c_str(), sessions.size(), records);
    return 0;
}
