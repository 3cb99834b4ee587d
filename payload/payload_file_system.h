// What the payload reader needs from the file system: its own executable's path, a source file to
// read (shared with other readers and writers) and output files that are deleted unless finished.
// Portable: the engine hands the reader the Win32 implementation
// (payload/win32/win32_payload_file_system.h); the packer, native tests and benchmarks use the
// stdio one below.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

class PayloadSource {
public:
    virtual ~PayloadSource() = default;
    virtual uint64_t Size() = 0;
    virtual uint64_t Position() = 0;
    virtual void Seek(uint64_t position) = 0;
    // Up to count bytes from the position; fewer only at the end of the file. A failing read
    // throws EngineError("Stream read error").
    virtual size_t Read(void* buffer, size_t count) = 0;
};

// Exactly count bytes, or EngineError("Stream read error").
void ReadExact(PayloadSource& source, void* buffer, size_t count);

class PayloadOutput {
public:
    // Closes the file and deletes it unless Finish succeeded.
    virtual ~PayloadOutput() = default;
    // False when the bytes could not all be written (a full disk, say).
    virtual bool Write(const void* data, size_t count) = 0;
    // Completes the file: sets its last-write time (a FILETIME; creation and access times are
    // left to the system) and closes it. False when the data could not be flushed; the file is
    // then deleted by the destructor.
    virtual bool Finish(uint64_t lastWriteFileTime) = 0;
};

class PayloadFileSystem {
public:
    virtual ~PayloadFileSystem() = default;
    // Full path of the running program.
    virtual std::string SelfPath() = 0;
    // Throws EngineError("Cannot open file " + path).
    virtual std::unique_ptr<PayloadSource> OpenSource(const std::string& path) = 0;
    // Creates or replaces path, opened exclusively. Throws EngineError("Cannot create file " + path).
    virtual std::unique_ptr<PayloadOutput> CreateOutput(const std::string& path) = 0;
};

// The stdio / POSIX implementation. Stateless, so one instance serves everyone. On POSIX systems a
// "\" in a path is read as "/", so payload paths such as "movies\intro" work unchanged.
PayloadFileSystem& PortablePayloadFileSystem();

// FILETIME (100 ns since 1601-01-01 UTC) from and to Unix time.
constexpr int64_t kFileTimeUnixEpochSeconds = 11644473600;
constexpr uint64_t FileTimeFromUnix(int64_t seconds, uint32_t nanoseconds) {
    return static_cast<uint64_t>((seconds + kFileTimeUnixEpochSeconds) * 10000000 + nanoseconds / 100);
}
inline void UnixFromFileTime(uint64_t fileTime, int64_t& seconds, uint32_t& nanoseconds) {
    seconds = static_cast<int64_t>(fileTime / 10000000) - kFileTimeUnixEpochSeconds;
    nanoseconds = static_cast<uint32_t>(fileTime % 10000000) * 100;
}
