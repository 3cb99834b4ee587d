// Small helpers shared by stagepack's subcommands: errors, option parsing, progress on a
// terminal, native paths and an output file that appears only when complete.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

// A failure of the tool's own checks; printed as "stagepack: error: " + text.
class ToolError : public std::runtime_error {
public:
    explicit ToolError(const std::string& message) : std::runtime_error(message) {}
};
// Wrong command-line use; also prints the hint to --help and exits with 2.
class UsageError : public ToolError {
public:
    using ToolError::ToolError;
};

// Payload paths use "\"; on POSIX systems the tool reads it as "/".
std::string NativePath(const std::string& path);

// A target file that is written under a temporary name beside it and renamed into place by
// Commit; destroyed without Commit, the temporary file is removed.
class AtomicOutputFile {
public:
    explicit AtomicOutputFile(const std::string& path);
    ~AtomicOutputFile();
    AtomicOutputFile(const AtomicOutputFile&) = delete;
    AtomicOutputFile& operator=(const AtomicOutputFile&) = delete;
    const std::string& TempPath() const { return tempPath_; }
    void Commit();

private:
    std::string path_;
    std::string tempPath_;
    bool committed_ = false;
};

// "NN%" on one line of standard error when it is a terminal and the work is large enough to wait
// for; silent otherwise.
class TerminalProgress {
public:
    TerminalProgress(const std::string& label, uint64_t total);
    ~TerminalProgress();
    void Advance(uint64_t bytes);
    void Show(int percent);

private:
    std::string label_;
    uint64_t total_;
    uint64_t done_ = 0;
    int shown_ = -1;
    bool active_;
};

// FILETIME of a time in a human-readable UTC form, "YYYY-MM-DD hh:mm:ss".
std::string FormatFileTime(uint64_t fileTime);
