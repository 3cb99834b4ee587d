#include "payload/velexe_appender.h"

#include <algorithm>
#include <exception>
#include <functional>
#include <memory>
#include <system_error>
#include <vector>

#include "payload/engine_error.h"
#include "payload/extract_path_rules.h"
#include "payload/inflate_stream.h"
#include "payload/input_prefetch.h"
#include "payload/payload_format.h"
#include "payload/payload_messages.h"
#include "payload/record_writer.h"
#include "payload/trailer_search.h"

namespace {

constexpr size_t kCopyChunkSize = 65536;
// The writer thread's ring: two slots, one filled while the other is written (the writer is the
// faster side). A slot holds 16 chunks so that the threads hand work to each other once per
// megabyte: under Wine every wake of a waiting thread is a round trip to the wine server, which
// at a handoff per chunk or per few chunks ate what the overlap saved.
constexpr size_t kChunksPerSlot = 16;
constexpr size_t kWriterSlots = 2;
constexpr uint32_t kSlotBytes = kCopyChunkSize * kChunksPerSlot;

size_t ChunkCount(uint32_t size) { return static_cast<size_t>((uint64_t{size} + kCopyChunkSize - 1) / kCopyChunkSize); }
size_t ChunkSize(uint32_t size, size_t chunk) {
    return std::min<size_t>(kCopyChunkSize, size - chunk * kCopyChunkSize);
}

// Input blocks the writer thread may read ahead of the reader: a megabyte, as much as the reader
// inflates into a slot from incompressible data (and several slots' worth for the rest).
constexpr size_t kPrefetchBlocks = 16;

// Cancels the record's queued writes on every way out, so that the output is never deleted
// while the thread still writes to it (after a complete record there is nothing left to cancel).
class CancelOnExit {
public:
    explicit CancelOnExit(RecordWriter& writer) : writer_(writer) {}
    ~CancelOnExit() { writer_.Cancel(); }
    CancelOnExit(const CancelOnExit&) = delete;
    CancelOnExit& operator=(const CancelOnExit&) = delete;

private:
    RecordWriter& writer_;
};

// 100 * done / total rounded to the nearest integer; -1 when there is no total.
int Percent(uint32_t done, uint32_t total) {
    if (total == 0) return -1;
    return static_cast<int>((200ull * done + total) / (2ull * total));
}

bool EndsWithSeparator(const std::string& directory) {
    char last = directory.back();
    return last == '\\' || last == ':' || last == '/';
}

}  // namespace

// The second thread of an extraction: it writes the large records and, in the time that leaves
// it, reads their compressed input ahead. Started by the first large record, it ends with the
// extraction.
class TVelExeAppender::SecondThread {
public:
    SecondThread(PayloadFileSystem& fileSystem, std::string sourcePath)
        : fileSystem_(fileSystem), sourcePath_(std::move(sourcePath)) {}

    // The writer, started on first use; null when the system has no thread to spare, and the
    // copy then stays on the reader's thread.
    RecordWriter* Writer() {
        if (writer_) return writer_.get();
        try {
            // Without a second handle on the payload the reader reads all of its input itself.
            prefetch_ = std::make_unique<InputPrefetch>(fileSystem_.OpenSource(sourcePath_),
                                                        InflateStream::kInputBufferSize, kPrefetchBlocks);
        } catch (const EngineError&) {
        }
        std::function<bool()> idleWork;
        if (InputPrefetch* prefetch = prefetch_.get()) idleWork = [prefetch] { return prefetch->ReadOne(); };
        try {
            writer_ = std::make_unique<RecordWriter>(kCopyChunkSize, kChunksPerSlot, kWriterSlots, std::move(idleWork));
        } catch (const std::system_error&) {
            prefetch_.reset();
        }
        return writer_.get();
    }

    // What the writer's thread reads ahead; null without it (none is kept without a thread).
    InputPrefetch* Prefetch() const { return prefetch_.get(); }

private:
    PayloadFileSystem& fileSystem_;
    const std::string sourcePath_;
    std::unique_ptr<InputPrefetch> prefetch_;  // outlives the thread that reads into it
    std::unique_ptr<RecordWriter> writer_;
};

TVelExeAppender::TVelExeAppender() : fileSystem_(&PortablePayloadFileSystem()) {}

TVelExeAppender::~TVelExeAppender() = default;

bool TVelExeAppender::ReportProgress() {
    if (!OnProgress) return false;
    bool abort = false;
    OnProgress(*this, CurrentName, Percent(BytesDone, TotalBytes), abort);
    return abort;
}

bool TVelExeAppender::ReportFileProgress() {
    if (!OnFileProgress) return false;
    bool abort = false;
    OnFileProgress(*this, CurrentName, Percent(FileBytesDone, FileSize), abort);
    return abort;
}

void TVelExeAppender::ExtractSession(const std::string& sessionName) {
    if (sessionName.size() > kSessionNameCapacity) throw EngineError(payload_messages::kSessionNameTooLong);

    const std::string sourcePath = SourceIsSelf ? fileSystem_->SelfPath() : SourcePath;
    std::unique_ptr<PayloadSource> source = fileSystem_->OpenSource(sourcePath);

    FoundTrailer session;
    if (!FindSession(*source, sessionName, ScanForTrailer, session))
        throw EngineError(payload_messages::SessionNotFound(sourcePath));
    TotalBytes = session.Trailer.TotalSize;
    if (TotalBytes == 0) return;

    BytesDone = 0;
    // Lives and dies with this extraction, after the source (so it ends first).
    SecondThread second(*fileSystem_, sourcePath);
    source->Seek(session.Trailer.DataStart);
    const int32_t fileCount = static_cast<int32_t>(session.Trailer.FileCount);
    for (int32_t i = 0; i < fileCount; ++i) {
        RecordHeader header;
        ReadExact(*source, &header, sizeof header);
        if (CheckRecordHeader(header) != BlockCheck::Valid)
            throw EngineError(payload_messages::FilePrefixFormatError(sourcePath));
        CurrentName = ReadShortString(header.FileName);
        FileSize = header.OriginalSize;
        CurrentPlacement = ReadShortString(header.Placement);
        RefuseUnsafeRecord(header, sourcePath);
        const uint64_t dataStart = source->Position();

        if (ReportProgress()) return;

        bool skip = false;
        std::string directory = TargetDir.empty() ? ReadShortString(header.SourceDir) : TargetDir;
        if (OnFile) OnFile(*this, CurrentName, directory, skip);
        if (!directory.empty() && !EndsWithSeparator(directory)) directory += '\\';

        if (skip) {
            source->Seek(dataStart + header.StoredSize);
        } else {
            if (!IsPlainFileName(CurrentName) || (!TargetDir.empty() && !IsInsideTargetDir(directory, TargetDir)))
                throw EngineError(payload_messages::UnsafeTarget(directory + CurrentName,
                                                                 ReadShortString(header.FileName), sourcePath));
            if (!WriteRecord(*source, header, directory, second)) return;
            // The next header follows the stored bytes, however much of them a reader consumed.
            source->Seek(dataStart + header.StoredSize);
        }

        BytesDone += FileSize;
        if (ReportProgress()) return;
    }
}

void TVelExeAppender::RefuseUnsafeRecord(const RecordHeader& header, const std::string& sourcePath) const {
    std::string name = ReadShortString(header.FileName);
    if (!IsPlainFileName(name)) throw EngineError(payload_messages::UnsafeFileName(name, sourcePath));
    std::string placement = ReadShortString(header.Placement);
    if (!IsSafeRecordPlacement(placement))
        throw EngineError(payload_messages::UnsafePlacement(placement, name, sourcePath));
}

bool TVelExeAppender::WriteRecord(PayloadSource& source, const RecordHeader& header, const std::string& directory,
                                  SecondThread& second) {
    const std::string path = directory + CurrentName;
    std::unique_ptr<PayloadOutput> output = fileSystem_->CreateOutput(path);
    FileBytesDone = 0;
    if (ReportFileProgress()) return false;

    // A record of one slot or less would only wait for its own writes.
    RecordWriter* overlapped = header.OriginalSize > kSlotBytes ? second.Writer() : nullptr;
    std::unique_ptr<InflateStream> inflater;
    if (IsCompressedRecord(header.OriginalSize)) {
        const uint64_t start = source.Position();
        InputPrefetch* prefetch = overlapped ? second.Prefetch() : nullptr;
        if (prefetch) prefetch->Begin(start, start + header.StoredSize);
        inflater = std::make_unique<InflateStream>(source, start, prefetch);
    }
    const uint32_t size = header.OriginalSize;
    const bool complete = overlapped ? CopyOverlapped(source, inflater.get(), size, *output, path, *overlapped)
                                     : CopyInline(source, inflater.get(), size, *output, path);
    if (!complete) return false;
    inflater.reset();

    if (!output->Finish(RecordLastWriteTime(header))) throw EngineError(payload_messages::ExtractError(path));
    return true;
}

namespace {

void ReadChunk(PayloadSource& source, InflateStream* inflater, uint8_t* buffer, size_t size, const std::string& path) {
    if (inflater) {
        if (inflater->Read(buffer, size) != size) throw EngineError(payload_messages::ExtractError(path));
    } else {
        ReadExact(source, buffer, size);
    }
}

}  // namespace

bool TVelExeAppender::CopyInline(PayloadSource& source, InflateStream* inflater, uint32_t fileSize,
                                 PayloadOutput& output, const std::string& path) {
    std::vector<uint8_t> chunk(std::min<size_t>(kCopyChunkSize, fileSize));
    for (size_t i = 0; i < ChunkCount(fileSize); ++i) {
        const size_t size = ChunkSize(fileSize, i);
        ReadChunk(source, inflater, chunk.data(), size, path);
        if (!output.Write(chunk.data(), size)) throw EngineError(payload_messages::ExtractError(path));
        FileBytesDone += static_cast<uint32_t>(size);
        if (ReportFileProgress()) return false;
    }
    return true;
}

// The reader inflates chunk after chunk into the writer's ring; a chunk's progress is reported
// once it is on disk, in order, so the handlers see what the inline copy shows them: a write that
// fails at chunk j fails after the reports of the chunks before it, and a read that fails ahead
// of the writes waits for them first (an earlier write failure or an abort wins, as it would have).
bool TVelExeAppender::CopyOverlapped(PayloadSource& source, InflateStream* inflater, uint32_t fileSize,
                                     PayloadOutput& output, const std::string& path, RecordWriter& writer) {
    writer.Begin(output);
    CancelOnExit cancel(writer);
    size_t reported = 0;
    // Reports the chunks written since the last call; true when a handler aborted.
    auto reportWritten = [&](size_t written) {
        for (; reported < written; ++reported) {
            FileBytesDone += static_cast<uint32_t>(ChunkSize(fileSize, reported));
            if (ReportFileProgress()) return true;
        }
        if (writer.Failed() && reported == writer.FailedChunk()) {
            if (std::exception_ptr thrown = writer.FailedWith()) std::rethrow_exception(thrown);
            throw EngineError(payload_messages::ExtractError(path));
        }
        return false;
    };

    const size_t chunks = ChunkCount(fileSize);
    size_t committed = 0;
    std::exception_ptr readFailure;
    for (; committed < chunks && !writer.Failed(); ++committed) {
        uint8_t* buffer = writer.NextChunk();
        const size_t size = ChunkSize(fileSize, committed);
        try {
            ReadChunk(source, inflater, buffer, size, path);
        } catch (...) {
            readFailure = std::current_exception();
            break;
        }
        writer.Commit(size, chunks - committed - 1);
        if (reportWritten(writer.Written())) return false;
    }
    writer.Flush();
    while (reported < committed)
        if (reportWritten(writer.WaitWritten(reported))) return false;
    if (readFailure) std::rethrow_exception(readFailure);
    return true;
}
