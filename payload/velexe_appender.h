// TVelExeAppender, the payload reader: extracts the files of one named session of the payload
// appended to an executable into a directory, asking its owner about every file through OnFile
// and restoring each file's last-write time.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "payload/payload_file_system.h"

struct RecordHeader;
class InflateStream;
class PayloadSource;
class RecordWriter;

class TVelExeAppender {
public:
    // Asked before each file: may change the name and the directory, and set skip (false on entry).
    using FileHandler =
        std::function<void(TVelExeAppender& sender, std::string& name, std::string& directory, bool& skip)>;
    // Progress in percent (-1 when the total is 0); setting abort ends the extraction quietly.
    using ProgressHandler =
        std::function<void(TVelExeAppender& sender, const std::string& name, int percent, bool& abort)>;

    TVelExeAppender();
    virtual ~TVelExeAppender();

    // Overall progress through OnProgress; returns the handler's abort flag.
    virtual bool ReportProgress();
    // Progress of the current file through OnFileProgress; returns the handler's abort flag.
    virtual bool ReportFileProgress();

    // Extracts session sessionName. Failures throw EngineError with the reader's message texts;
    // the source and a partly written file are closed (the file deleted) first.
    void ExtractSession(const std::string& sessionName);

    // The file system used by ExtractSession; the portable one until set. Not owned.
    void SetFileSystem(PayloadFileSystem& fileSystem) { fileSystem_ = &fileSystem; }
    PayloadFileSystem& FileSystem() const { return *fileSystem_; }

    FileHandler OnFile;
    ProgressHandler OnProgress;
    ProgressHandler OnFileProgress;
    bool SourceIsSelf = true;    // read the running program's own file
    bool ScanForTrailer = true;  // search backwards for the trailer instead of testing one window
    std::string SourcePath;      // read when SourceIsSelf is off
    std::string TargetDir;       // empty: each record's SourceDir
    uint32_t TotalBytes = 0;
    uint32_t BytesDone = 0;
    uint32_t FileSize = 0;
    uint32_t FileBytesDone = 0;
    std::string CurrentName;
    std::string CurrentPlacement;

private:
    class SecondThread;

    // Writes the current record's data to directory + CurrentName; false when a progress handler
    // aborted. Records larger than one slot of the writer go through the second thread, started
    // on first use.
    bool WriteRecord(PayloadSource& source, const RecordHeader& header, const std::string& directory,
                     SecondThread& second);
    // The copy loop, on this thread or with the writes on the writer thread; the same callbacks
    // in the same order either way. False when a progress handler aborted.
    bool CopyInline(PayloadSource& source, InflateStream* inflater, uint32_t fileSize, PayloadOutput& output,
                    const std::string& path);
    bool CopyOverlapped(PayloadSource& source, InflateStream* inflater, uint32_t fileSize, PayloadOutput& output,
                        const std::string& path, RecordWriter& writer);
    void RefuseUnsafeRecord(const RecordHeader& header, const std::string& sourcePath) const;

    PayloadFileSystem* fileSystem_;
};
