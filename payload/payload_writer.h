// Writes payload sessions (file records and a trailer) after an engine image, byte for byte in
// the appended payload format: files of 109 bytes or more as zlib streams at the best compression
// (header 78 DA), smaller ones raw. The output depends only on the inputs.
//
// The fields the reader ignores are filled as follows: the trailer word at offset 16 holds
// kWriterLayoutVersion, the 60 bytes at offset 152 are zero, PackerVersion is kPackerVersionText,
// and short strings are zero after their text.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

struct RecordHeader;

constexpr uint32_t kWriterLayoutVersion = 1;
inline const char kPackerVersionText[] = "stagepack 1.0";

// Where the writer puts its bytes. Overwrite patches bytes already written (a record header once
// its stored size is known).
class PayloadSink {
public:
    virtual ~PayloadSink() = default;
    virtual uint64_t Size() const = 0;
    virtual void Append(const void* data, size_t count) = 0;
    virtual void Overwrite(uint64_t offset, const void* data, size_t count) = 0;
};

class VectorSink : public PayloadSink {
public:
    explicit VectorSink(std::vector<uint8_t>& bytes) : bytes_(bytes) {}
    uint64_t Size() const override { return bytes_.size(); }
    void Append(const void* data, size_t count) override;
    void Overwrite(uint64_t offset, const void* data, size_t count) override;

private:
    std::vector<uint8_t>& bytes_;
};

// Writes to a new file; failures throw EngineError naming the file.
class FileSink : public PayloadSink {
public:
    explicit FileSink(const std::string& path);
    ~FileSink() override;
    FileSink(const FileSink&) = delete;
    FileSink& operator=(const FileSink&) = delete;
    uint64_t Size() const override { return size_; }
    void Append(const void* data, size_t count) override;
    void Overwrite(uint64_t offset, const void* data, size_t count) override;
    // Flushes and closes; throws when the data could not be written.
    void Close();

private:
    std::string path_;
    std::FILE* file_;
    uint64_t size_ = 0;
};

// A file's contents, read in chunks; Read returns 0 at the end.
class ContentReader {
public:
    virtual ~ContentReader() = default;
    virtual size_t Read(void* buffer, size_t count) = 0;
};

struct RecordInfo {
    std::string FileName;
    std::string SourceDir;
    std::string Placement;
    uint32_t OriginalSize = 0;
    uint64_t LastWriteTime = 0;  // FILETIME
};

// One session: records are appended as they are added, the trailer by Finish. The session starts
// where the sink ends when the writer is made.
class SessionWriter {
public:
    explicit SessionWriter(PayloadSink& sink);

    // Appends a record; contents must yield exactly info.OriginalSize bytes.
    void AddFile(const RecordInfo& info, ContentReader& contents);
    // Appends a record taken from another payload as it was stored: the header unchanged (it
    // must be valid) and storedBytes, which must yield exactly header.StoredSize bytes.
    void AddStored(const RecordHeader& header, ContentReader& storedBytes);
    void Finish(const std::string& sessionName, const std::string& packerVersion = kPackerVersionText);

    // Called with the number of content bytes read, after every chunk.
    std::function<void(uint64_t bytes)> OnContentBytes;

private:
    void AddRaw(ContentReader& contents, uint32_t size, const std::string& fileName);
    void AddCompressed(ContentReader& contents, uint32_t size, const std::string& fileName);

    PayloadSink& sink_;
    uint64_t dataStart_;
    uint32_t fileCount_ = 0;
    uint64_t totalSize_ = 0;
    bool finished_ = false;
};

// In-memory form for tests and small tools.
struct PackedFile {
    std::string FileName, SourceDir, Placement;
    std::vector<uint8_t> Contents;
    uint64_t LastWriteTime = 0;
};

// engineImage followed by one session holding files.
std::vector<uint8_t> BuildDistributable(const std::vector<uint8_t>& engineImage, const std::vector<PackedFile>& files,
                                        const std::string& sessionName = "Session1");
// Appends one more session (stacked sessions).
void AppendSession(std::vector<uint8_t>& distributable, const std::vector<PackedFile>& files,
                   const std::string& sessionName);
