#include "payload/velexe_appender.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "payload/engine_error.h"
#include "payload/extract_path_rules.h"
#include "payload/inflate_stream.h"
#include "payload/payload_format.h"
#include "payload/payload_messages.h"
#include "payload/trailer_search.h"

namespace {

constexpr size_t kCopyChunkSize = 65536;

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
            if (!WriteRecord(*source, header, directory)) return;
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

bool TVelExeAppender::WriteRecord(PayloadSource& source, const RecordHeader& header, const std::string& directory) {
    const std::string path = directory + CurrentName;
    std::unique_ptr<PayloadOutput> output = fileSystem_->CreateOutput(path);
    FileBytesDone = 0;
    if (ReportFileProgress()) return false;

    std::unique_ptr<InflateStream> inflater;
    if (IsCompressedRecord(header.OriginalSize)) inflater = std::make_unique<InflateStream>(source, source.Position());

    std::vector<uint8_t> chunk(std::min<size_t>(kCopyChunkSize, header.OriginalSize));
    uint32_t remaining = header.OriginalSize;
    while (remaining > 0) {
        size_t size = std::min<size_t>(kCopyChunkSize, remaining);
        if (inflater) {
            if (inflater->Read(chunk.data(), size) != size) throw EngineError(payload_messages::ExtractError(path));
        } else {
            ReadExact(source, chunk.data(), size);
        }
        if (!output->Write(chunk.data(), size)) throw EngineError(payload_messages::ExtractError(path));
        remaining -= static_cast<uint32_t>(size);
        FileBytesDone += static_cast<uint32_t>(size);
        if (ReportFileProgress()) return false;
    }
    inflater.reset();

    if (!output->Finish(RecordLastWriteTime(header))) throw EngineError(payload_messages::ExtractError(path));
    return true;
}
