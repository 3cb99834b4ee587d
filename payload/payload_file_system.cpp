#include "payload/payload_file_system.h"

#include <cstdio>
#include <vector>

#include "payload/engine_error.h"
#include "payload/payload_messages.h"

#ifdef _WIN32
#include <stdlib.h>
#include <sys/utime.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

void ReadExact(PayloadSource& source, void* buffer, size_t count) {
    if (source.Read(buffer, count) != count) throw EngineError(payload_messages::kStreamReadError);
}

namespace {

std::string NativePath(std::string path) {
#ifndef _WIN32
    for (char& c : path)
        if (c == '\\') c = '/';
#endif
    return path;
}

#ifdef _WIN32
// Windows builds of the tools: stdio with 64-bit positions.
bool SeekFile(std::FILE* f, uint64_t position, int whence) {
    return _fseeki64(f, static_cast<__int64>(position), whence) == 0;
}

uint64_t TellFile(std::FILE* f) { return static_cast<uint64_t>(_ftelli64(f)); }

class StdioSource : public PayloadSource {
public:
    StdioSource(std::FILE* f, uint64_t size) : file_(f), size_(size) {}
    ~StdioSource() override { std::fclose(file_); }

    uint64_t Size() override { return size_; }
    uint64_t Position() override { return TellFile(file_); }
    void Seek(uint64_t position) override {
        if (!SeekFile(file_, position, SEEK_SET)) throw EngineError(payload_messages::kStreamReadError);
    }
    size_t Read(void* buffer, size_t count) override {
        size_t got = std::fread(buffer, 1, count, file_);
        if (got < count && std::ferror(file_)) throw EngineError(payload_messages::kStreamReadError);
        return got;
    }

private:
    std::FILE* file_;
    uint64_t size_;
};
#endif

#ifndef _WIN32
// POSIX: positioned reads straight from the descriptor, with no stdio buffer in between (the
// reader's own blocks are large, and seeks would discard that buffer anyway).
class DescriptorSource : public PayloadSource {
public:
    DescriptorSource(int fd, uint64_t size) : fd_(fd), size_(size) {}
    ~DescriptorSource() override { close(fd_); }

    uint64_t Size() override { return size_; }
    uint64_t Position() override { return position_; }
    void Seek(uint64_t position) override { position_ = position; }
    size_t Read(void* buffer, size_t count) override {
        size_t done = 0;
        while (done < count) {
            ssize_t got = pread(fd_, static_cast<char*>(buffer) + done, count - done,
                                static_cast<off_t>(position_ + done));
            if (got < 0 && errno == EINTR) continue;
            if (got < 0) throw EngineError(payload_messages::kStreamReadError);
            if (got == 0) break;
            done += static_cast<size_t>(got);
        }
        position_ += done;
        return done;
    }

private:
    int fd_;
    uint64_t size_;
    uint64_t position_ = 0;
};
#endif

class StdioOutput : public PayloadOutput {
public:
    StdioOutput(std::FILE* f, std::string nativePath) : file_(f), path_(std::move(nativePath)) {}
    ~StdioOutput() override {
        if (file_) std::fclose(file_);
        if (!finished_) std::remove(path_.c_str());
    }

    bool Write(const void* data, size_t count) override {
        return std::fwrite(data, 1, count, file_) == count;
    }

    bool Finish(uint64_t lastWriteFileTime) override {
        bool ok = std::fflush(file_) == 0;
        if (ok) SetLastWriteTime(lastWriteFileTime);
        ok = std::fclose(file_) == 0 && ok;
        file_ = nullptr;
        finished_ = ok;
        return ok;
    }

private:
    // A time the file system cannot hold is left as the system set it.
    void SetLastWriteTime(uint64_t fileTime) {
        int64_t seconds;
        uint32_t nanoseconds;
        UnixFromFileTime(fileTime, seconds, nanoseconds);
#ifdef _WIN32
        __utimbuf64 times{seconds, seconds};
        _futime64(_fileno(file_), &times);
#else
        timespec times[2];
        times[0].tv_sec = 0;
        times[0].tv_nsec = UTIME_OMIT;
        times[1].tv_sec = static_cast<time_t>(seconds);
        times[1].tv_nsec = static_cast<long>(nanoseconds);
        futimens(fileno(file_), times);
#endif
    }

    std::FILE* file_;
    std::string path_;
    bool finished_ = false;
};

class StdioFileSystem : public PayloadFileSystem {
public:
    std::string SelfPath() override {
#ifdef _WIN32
        // The engine uses the Win32 file system; this serves tools built for Windows.
        const char* path = _pgmptr;
        return path ? std::string(path) : std::string();
#else
        std::vector<char> buffer(4096);
        ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size());
        return n > 0 ? std::string(buffer.data(), static_cast<size_t>(n)) : std::string();
#endif
    }

    std::unique_ptr<PayloadSource> OpenSource(const std::string& path) override {
#ifndef _WIN32
        int fd = open(NativePath(path).c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) throw EngineError(payload_messages::CannotOpenFile(path));
        struct stat info;
        if (fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
            close(fd);
            throw EngineError(payload_messages::CannotOpenFile(path));
        }
        return std::make_unique<DescriptorSource>(fd, static_cast<uint64_t>(info.st_size));
#else
        std::FILE* f = std::fopen(NativePath(path).c_str(), "rb");
        if (!f) throw EngineError(payload_messages::CannotOpenFile(path));
        uint64_t size = 0;
        if (SeekFile(f, 0, SEEK_END)) size = TellFile(f);
        if (!SeekFile(f, 0, SEEK_SET)) {
            std::fclose(f);
            throw EngineError(payload_messages::CannotOpenFile(path));
        }
        return std::make_unique<StdioSource>(f, size);
#endif
    }

    std::unique_ptr<PayloadOutput> CreateOutput(const std::string& path) override {
        std::string native = NativePath(path);
        std::FILE* f = std::fopen(native.c_str(), "wb");
        if (!f) throw EngineError(payload_messages::CannotCreateFile(path));
        return std::make_unique<StdioOutput>(f, native);
    }
};

}  // namespace

PayloadFileSystem& PortablePayloadFileSystem() {
    static StdioFileSystem fileSystem;
    return fileSystem;
}
