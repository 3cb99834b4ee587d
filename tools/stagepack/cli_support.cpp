#include "tools/stagepack/cli_support.h"

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <system_error>

#include "payload/payload_file_system.h"

#ifdef _WIN32
#include <io.h>
#define STAGEPACK_ISATTY _isatty
#define STAGEPACK_FILENO _fileno
#else
#include <unistd.h>
#define STAGEPACK_ISATTY isatty
#define STAGEPACK_FILENO fileno
#endif

namespace {
// Progress is worth showing only for inputs that take a moment.
constexpr uint64_t kProgressThreshold = 8u << 20;
}  // namespace

std::string NativePath(const std::string& path) {
#ifdef _WIN32
    return path;
#else
    std::string native = path;
    for (char& c : native)
        if (c == '\\') c = '/';
    return native;
#endif
}

AtomicOutputFile::AtomicOutputFile(const std::string& path) : path_(path), tempPath_(path + ".stagepack-tmp") {}

AtomicOutputFile::~AtomicOutputFile() {
    if (committed_) return;
    std::error_code ignored;
    std::filesystem::remove(tempPath_, ignored);
}

void AtomicOutputFile::Commit() {
    std::error_code error;
    std::filesystem::rename(tempPath_, path_, error);
    if (error) throw ToolError("cannot write " + path_ + ": " + error.message());
    committed_ = true;
}

TerminalProgress::TerminalProgress(const std::string& label, uint64_t total)
    : label_(label), total_(total), active_(total >= kProgressThreshold && STAGEPACK_ISATTY(STAGEPACK_FILENO(stderr))) {}

TerminalProgress::~TerminalProgress() {
    if (active_ && shown_ >= 0) std::fprintf(stderr, "\n");
}

void TerminalProgress::Advance(uint64_t bytes) {
    done_ += bytes;
    if (total_ > 0) Show(static_cast<int>(done_ * 100 / total_));
}

void TerminalProgress::Show(int percent) {
    if (!active_ || percent == shown_ || percent < 0) return;
    shown_ = percent;
    std::fprintf(stderr, "\r%s %3d%%", label_.c_str(), percent);
    std::fflush(stderr);
}

std::string FormatFileTime(uint64_t fileTime) {
    int64_t seconds;
    uint32_t nanoseconds;
    UnixFromFileTime(fileTime, seconds, nanoseconds);
    std::time_t t = static_cast<std::time_t>(seconds);
    std::tm parts{};
#ifdef _WIN32
    if (gmtime_s(&parts, &t) != 0) return "?";
#else
    if (!gmtime_r(&t, &parts)) return "?";
#endif
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &parts);
    return text;
}
