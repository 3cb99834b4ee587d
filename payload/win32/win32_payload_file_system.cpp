#include "payload/win32/win32_payload_file_system.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "engine/win32/handles.h"
#include "payload/engine_error.h"
#include "payload/payload_messages.h"

namespace {

class Win32Source : public PayloadSource {
public:
    explicit Win32Source(UniqueFile file) : file_(std::move(file)) {}

    uint64_t Size() override {
        LARGE_INTEGER size;
        if (!GetFileSizeEx(file_.get(), &size)) throw EngineError(payload_messages::kStreamReadError);
        return static_cast<uint64_t>(size.QuadPart);
    }
    uint64_t Position() override {
        LARGE_INTEGER zero{}, position;
        if (!SetFilePointerEx(file_.get(), zero, &position, FILE_CURRENT))
            throw EngineError(payload_messages::kStreamReadError);
        return static_cast<uint64_t>(position.QuadPart);
    }
    void Seek(uint64_t position) override {
        LARGE_INTEGER to;
        to.QuadPart = static_cast<LONGLONG>(position);
        if (!SetFilePointerEx(file_.get(), to, nullptr, FILE_BEGIN))
            throw EngineError(payload_messages::kStreamReadError);
    }
    size_t Read(void* buffer, size_t count) override {
        size_t done = 0;
        while (done < count) {
            DWORD ask = static_cast<DWORD>(std::min<size_t>(count - done, 1u << 30));
            DWORD got = 0;
            if (!ReadFile(file_.get(), static_cast<char*>(buffer) + done, ask, &got, nullptr))
                throw EngineError(payload_messages::kStreamReadError);
            if (got == 0) break;
            done += got;
        }
        return done;
    }

private:
    UniqueFile file_;
};

class Win32Output : public PayloadOutput {
public:
    Win32Output(UniqueFile file, std::string path) : file_(std::move(file)), path_(std::move(path)) {}
    ~Win32Output() override {
        if (finished_) return;
        file_.reset();
        DeleteFileA(path_.c_str());
    }

    bool Write(const void* data, size_t count) override {
        size_t done = 0;
        while (done < count) {
            DWORD ask = static_cast<DWORD>(std::min<size_t>(count - done, 1u << 30));
            DWORD written = 0;
            if (!WriteFile(file_.get(), static_cast<const char*>(data) + done, ask, &written, nullptr) || written == 0)
                return false;
            done += written;
        }
        return true;
    }

    bool Finish(uint64_t lastWriteFileTime) override {
        FILETIME time;
        time.dwLowDateTime = static_cast<DWORD>(lastWriteFileTime);
        time.dwHighDateTime = static_cast<DWORD>(lastWriteFileTime >> 32);
        // Only the last-write time is the record's; creation and access times stay the system's.
        SetFileTime(file_.get(), nullptr, nullptr, &time);
        finished_ = file_.reset();
        return finished_;
    }

private:
    UniqueFile file_;
    std::string path_;
    bool finished_ = false;
};

class Win32FileSystem : public PayloadFileSystem {
public:
    std::string SelfPath() override;
    std::unique_ptr<PayloadSource> OpenSource(const std::string& path) override;
    std::unique_ptr<PayloadOutput> CreateOutput(const std::string& path) override;
};

std::string Win32FileSystem::SelfPath() {
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        DWORD n = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) return std::string();
        if (n < buffer.size()) return std::string(buffer.data(), n);
        buffer.resize(buffer.size() * 2);
    }
}

std::unique_ptr<PayloadSource> Win32FileSystem::OpenSource(const std::string& path) {
    UniqueFile file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) throw EngineError(payload_messages::CannotOpenFile(path));
    return std::make_unique<Win32Source>(std::move(file));
}

std::unique_ptr<PayloadOutput> Win32FileSystem::CreateOutput(const std::string& path) {
    UniqueFile file(
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) throw EngineError(payload_messages::CannotCreateFile(path));
    return std::make_unique<Win32Output>(std::move(file), path);
}

}  // namespace

PayloadFileSystem& Win32PayloadFileSystem() {
    static Win32FileSystem fileSystem;
    return fileSystem;
}
