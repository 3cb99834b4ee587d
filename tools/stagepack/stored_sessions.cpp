#include "tools/stagepack/stored_sessions.h"

#include <algorithm>

#include "payload/engine_error.h"
#include "payload/extract_path_rules.h"
#include "payload/inflate_stream.h"
#include "payload/payload_messages.h"
#include "payload/payload_writer.h"

namespace {

constexpr size_t kChunkSize = 65536;

std::string RecordLabel(int32_t index, const RecordHeader* header) {
    std::string label = " (record " + std::to_string(index + 1);
    if (header) label += ", \"" + ReadShortString(header->FileName) + "\"";
    return label + ")";
}

// Throws the reader's message for a record with its label.
[[noreturn]] void RecordFault(const std::string& message, int32_t index, const RecordHeader* header) {
    throw EngineError(message + RecordLabel(index, header));
}

enum class InflateOutcome { Exact, Short, Longer };

// Inflates a stored stream to its original size; corrupt data throws the reader's EngineError.
InflateOutcome InflateStored(PayloadSource& source, const RecordHeader& header, uint64_t dataOffset) {
    InflateStream inflater(source, dataOffset);
    std::vector<uint8_t> chunk(kChunkSize);
    for (uint32_t remaining = header.OriginalSize; remaining > 0;) {
        const size_t n = std::min<size_t>(chunk.size(), remaining);
        if (inflater.Read(chunk.data(), n) != n) return InflateOutcome::Short;
        remaining -= static_cast<uint32_t>(n);
    }
    uint8_t extra;
    if (inflater.Read(&extra, 1) != 0 || !inflater.Ended() || inflater.ConsumedInput() > header.StoredSize)
        return InflateOutcome::Longer;
    return InflateOutcome::Exact;
}

void CheckStoredData(PayloadSource& source, const RecordHeader& header, uint64_t dataOffset, int32_t index) {
    const std::string name = ReadShortString(header.FileName);
    if (dataOffset + header.StoredSize > source.Size())
        RecordFault(payload_messages::kStreamReadError, index, &header);
    if (!IsCompressedRecord(header.OriginalSize)) {
        if (header.StoredSize != header.OriginalSize)
            RecordFault("Raw data of " + std::to_string(header.StoredSize) + " bytes for a file of " +
                            std::to_string(header.OriginalSize),
                        index, &header);
        return;
    }
    InflateOutcome outcome;
    try {
        outcome = InflateStored(source, header, dataOffset);
    } catch (const EngineError& e) {
        RecordFault(e.what(), index, &header);
    }
    if (outcome == InflateOutcome::Short) RecordFault(payload_messages::ExtractError(name), index, &header);
    if (outcome == InflateOutcome::Longer)
        RecordFault("Compressed data of " + name + " does not end at its size", index, &header);
}

StoredSession ReadSession(PayloadSource& source, const FoundTrailer& found, const std::string& path) {
    StoredSession session{found, {}};
    const SessionTrailer& trailer = found.Trailer;
    uint64_t position = trailer.DataStart;
    uint64_t total = 0;
    const int32_t count = static_cast<int32_t>(trailer.FileCount);
    for (int32_t i = 0; i < count; ++i) {
        StoredRecord record;
        if (position + kRecordHeaderSize > found.Offset) RecordFault(payload_messages::kStreamReadError, i, nullptr);
        source.Seek(position);
        ReadExact(source, &record.Header, sizeof record.Header);
        const RecordHeader& header = record.Header;
        if (CheckRecordHeader(header) != BlockCheck::Valid)
            RecordFault(payload_messages::FilePrefixFormatError(path), i, nullptr);
        const std::string name = ReadShortString(header.FileName);
        if (!IsPlainFileName(name)) RecordFault(payload_messages::UnsafeFileName(name, path), i, nullptr);
        const std::string placement = ReadShortString(header.Placement);
        if (!IsSafeRecordPlacement(placement))
            RecordFault(payload_messages::UnsafePlacement(placement, name, path), i, nullptr);
        record.DataOffset = position + kRecordHeaderSize;
        CheckStoredData(source, header, record.DataOffset, i);
        position = record.DataOffset + header.StoredSize;
        total += header.OriginalSize;
        session.Records.push_back(record);
    }
    const std::string name = ReadShortString(trailer.SessionName);
    if (position != found.Offset || static_cast<uint64_t>(trailer.DataStart) + trailer.DataSize != found.Offset)
        throw EngineError("Records of session " + name + " do not end at its trailer in " + path);
    if (total != trailer.TotalSize)
        throw EngineError("Total size of session " + name + " does not match its files in " + path);
    return session;
}

// The stored bytes of one record.
class StoredBytes : public ContentReader {
public:
    StoredBytes(PayloadSource& source, uint64_t offset, uint32_t size) : source_(source), remaining_(size) {
        source_.Seek(offset);
    }
    size_t Read(void* buffer, size_t count) override {
        const size_t n = static_cast<size_t>(std::min<uint64_t>(count, remaining_));
        if (n == 0) return 0;
        ReadExact(source_, buffer, n);
        remaining_ -= n;
        return n;
    }

private:
    PayloadSource& source_;
    uint64_t remaining_;
};

}  // namespace

std::vector<StoredSession> ReadStoredSessions(PayloadSource& source, const std::string& path) {
    const std::vector<FoundTrailer> trailers = SessionsInFileOrder(source);
    if (trailers.empty()) throw EngineError(payload_messages::SessionNotFound(path));
    std::vector<StoredSession> sessions;
    for (const FoundTrailer& found : trailers) sessions.push_back(ReadSession(source, found, path));
    return sessions;
}

void AppendStoredSessions(PayloadSource& source, const std::vector<StoredSession>& sessions, PayloadSink& sink) {
    for (const StoredSession& session : sessions) {
        SessionWriter writer(sink);
        for (const StoredRecord& record : session.Records) {
            StoredBytes bytes(source, record.DataOffset, record.Header.StoredSize);
            writer.AddStored(record.Header, bytes);
        }
        writer.Finish(ReadShortString(session.Found.Trailer.SessionName));
    }
}
