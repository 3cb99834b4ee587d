#include "payload/payload_writer.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <limits>

#include "payload/engine_error.h"
#include "payload/payload_format.h"
#include "payload/payload_messages.h"

namespace {

constexpr size_t kChunkSize = 65536;
constexpr uint64_t kMaxOffset = std::numeric_limits<uint32_t>::max();

void Require(bool condition, const std::string& message) {
    if (!condition) throw EngineError(message);
}

// Exactly count bytes of the contents, or an error naming the file.
void ReadContents(ContentReader& contents, uint8_t* buffer, size_t count, const std::string& fileName) {
    size_t done = 0;
    while (done < count) {
        size_t got = contents.Read(buffer + done, count - done);
        Require(got != 0, "File " + fileName + " ended before its announced size");
        done += got;
    }
}

bool SeekTo(std::FILE* f, uint64_t offset) {
#ifdef _WIN32
    return _fseeki64(f, static_cast<__int64>(offset), SEEK_SET) == 0;
#else
    return fseeko(f, static_cast<off_t>(offset), SEEK_SET) == 0;
#endif
}

class DeflateState {
public:
    DeflateState() {
        // Level 9 with the default window and memory level: the stream starts with 78 DA.
        Require(deflateInit(&z, Z_BEST_COMPRESSION) == Z_OK, "Cannot set up compression");
    }
    ~DeflateState() { deflateEnd(&z); }
    DeflateState(const DeflateState&) = delete;
    DeflateState& operator=(const DeflateState&) = delete;
    z_stream z{};
};

class BytesReader : public ContentReader {
public:
    explicit BytesReader(const std::vector<uint8_t>& bytes) : bytes_(bytes) {}
    size_t Read(void* buffer, size_t count) override {
        size_t n = std::min(count, bytes_.size() - position_);
        if (n) std::memcpy(buffer, bytes_.data() + position_, n);
        position_ += n;
        return n;
    }

private:
    const std::vector<uint8_t>& bytes_;
    size_t position_ = 0;
};

}  // namespace

void VectorSink::Append(const void* data, size_t count) {
    const uint8_t* p = static_cast<const uint8_t*>(data);
    bytes_.insert(bytes_.end(), p, p + count);
}

void VectorSink::Overwrite(uint64_t offset, const void* data, size_t count) {
    std::memcpy(bytes_.data() + offset, data, count);
}

FileSink::FileSink(const std::string& path) : path_(path), file_(std::fopen(path.c_str(), "wb")) {
    Require(file_ != nullptr, payload_messages::CannotCreateFile(path));
}

FileSink::~FileSink() {
    if (file_) std::fclose(file_);
}

void FileSink::Append(const void* data, size_t count) {
    Require(std::fwrite(data, 1, count, file_) == count, "Cannot write " + path_);
    size_ += count;
}

void FileSink::Overwrite(uint64_t offset, const void* data, size_t count) {
    bool ok = SeekTo(file_, offset) && std::fwrite(data, 1, count, file_) == count && SeekTo(file_, size_);
    Require(ok, "Cannot write " + path_);
}

void FileSink::Close() {
    std::FILE* f = file_;
    file_ = nullptr;
    bool ok = std::fflush(f) == 0;
    ok = std::fclose(f) == 0 && ok;
    Require(ok, "Cannot write " + path_);
}

SessionWriter::SessionWriter(PayloadSink& sink) : sink_(sink), dataStart_(sink.Size()) {
    Require(dataStart_ <= kMaxOffset, "Payload too large: sessions must start within the first 4 GiB");
}

void SessionWriter::AddFile(const RecordInfo& info, ContentReader& contents) {
    Require(!finished_, "Session already finished");
    RecordHeader header;
    std::memset(&header, 0, sizeof header);
    Require(WriteShortString(header.FileName, info.FileName), "File name longer than 255 characters: " + info.FileName);
    Require(WriteShortString(header.SourceDir, info.SourceDir),
            "Source directory longer than 255 characters: " + info.SourceDir);
    Require(WriteShortString(header.Placement, info.Placement),
            "Placement longer than 255 characters: " + info.Placement);
    header.OriginalSize = info.OriginalSize;
    SetRecordLastWriteTime(header, info.LastWriteTime);

    const uint64_t headerOffset = sink_.Size();
    sink_.Append(&header, sizeof header);  // placeholder until the stored size is known
    const uint64_t dataOffset = sink_.Size();
    if (IsCompressedRecord(info.OriginalSize)) {
        AddCompressed(contents, info.OriginalSize, info.FileName);
    } else {
        AddRaw(contents, info.OriginalSize, info.FileName);
    }
    uint8_t extra;
    Require(contents.Read(&extra, 1) == 0, "File " + info.FileName + " is larger than its announced size");

    const uint64_t storedSize = sink_.Size() - dataOffset;
    Require(sink_.Size() <= kMaxOffset, "Payload too large: records must end within the first 4 GiB");
    totalSize_ += info.OriginalSize;
    Require(totalSize_ <= kMaxOffset, "Payload too large: the files of a session must total less than 4 GiB");
    header.StoredSize = static_cast<uint32_t>(storedSize);
    SealRecordHeader(header);
    sink_.Overwrite(headerOffset, &header, sizeof header);
    ++fileCount_;
}

void SessionWriter::AddStored(const RecordHeader& header, ContentReader& storedBytes) {
    Require(!finished_, "Session already finished");
    const std::string name = ReadShortString(header.FileName);
    Require(CheckRecordHeader(header) == BlockCheck::Valid, "Invalid record header: " + name);
    sink_.Append(&header, sizeof header);
    std::vector<uint8_t> buffer(std::min<size_t>(kChunkSize, header.StoredSize));
    for (uint32_t remaining = header.StoredSize; remaining > 0;) {
        const size_t n = std::min<size_t>(kChunkSize, remaining);
        ReadContents(storedBytes, buffer.data(), n, name);
        sink_.Append(buffer.data(), n);
        remaining -= static_cast<uint32_t>(n);
        if (OnContentBytes) OnContentBytes(n);
    }
    uint8_t extra;
    Require(storedBytes.Read(&extra, 1) == 0, "File " + name + " is larger than its stored size");
    Require(sink_.Size() <= kMaxOffset, "Payload too large: records must end within the first 4 GiB");
    totalSize_ += header.OriginalSize;
    Require(totalSize_ <= kMaxOffset, "Payload too large: the files of a session must total less than 4 GiB");
    ++fileCount_;
}

void SessionWriter::AddRaw(ContentReader& contents, uint32_t size, const std::string& fileName) {
    uint8_t buffer[kCompressedFromSize];
    ReadContents(contents, buffer, size, fileName);
    sink_.Append(buffer, size);
    if (OnContentBytes) OnContentBytes(size);
}

void SessionWriter::AddCompressed(ContentReader& contents, uint32_t size, const std::string& fileName) {
    DeflateState state;
    z_stream& z = state.z;
    std::vector<uint8_t> in(kChunkSize), out(kChunkSize);
    uint32_t remaining = size;
    int flush;
    do {
        size_t n = std::min<size_t>(kChunkSize, remaining);
        ReadContents(contents, in.data(), n, fileName);
        remaining -= static_cast<uint32_t>(n);
        if (OnContentBytes) OnContentBytes(n);
        flush = remaining == 0 ? Z_FINISH : Z_NO_FLUSH;
        z.next_in = in.data();
        z.avail_in = static_cast<uInt>(n);
        do {
            z.next_out = out.data();
            z.avail_out = static_cast<uInt>(out.size());
            int result = deflate(&z, flush);
            Require(result != Z_STREAM_ERROR, "Compression failed");
            sink_.Append(out.data(), out.size() - z.avail_out);
        } while (z.avail_out == 0);
    } while (flush != Z_FINISH);
}

void SessionWriter::Finish(const std::string& sessionName, const std::string& packerVersion) {
    Require(!finished_, "Session already finished");
    SessionTrailer trailer;
    std::memset(&trailer, 0, sizeof trailer);
    Require(WriteShortString(trailer.SessionName, sessionName), "Session name longer than 63 characters");
    Require(WriteShortString(trailer.PackerVersion, packerVersion), "Packer version longer than 63 characters");
    trailer.DataStart = static_cast<uint32_t>(dataStart_);
    trailer.DataSize = static_cast<uint32_t>(sink_.Size() - dataStart_);
    trailer.FileCount = fileCount_;
    trailer.WriterWord = kWriterLayoutVersion;
    trailer.TotalSize = static_cast<uint32_t>(totalSize_);
    SealTrailer(trailer);
    sink_.Append(&trailer, sizeof trailer);
    finished_ = true;
}

void AppendSession(std::vector<uint8_t>& distributable, const std::vector<PackedFile>& files,
                   const std::string& sessionName) {
    VectorSink sink(distributable);
    SessionWriter writer(sink);
    for (const PackedFile& file : files) {
        Require(file.Contents.size() <= kMaxOffset, "File too large: " + file.FileName);
        RecordInfo info{file.FileName, file.SourceDir, file.Placement, static_cast<uint32_t>(file.Contents.size()),
                        file.LastWriteTime};
        BytesReader reader(file.Contents);
        writer.AddFile(info, reader);
    }
    writer.Finish(sessionName);
}

std::vector<uint8_t> BuildDistributable(const std::vector<uint8_t>& engineImage, const std::vector<PackedFile>& files,
                                        const std::string& sessionName) {
    std::vector<uint8_t> distributable = engineImage;
    AppendSession(distributable, files, sessionName);
    return distributable;
}
