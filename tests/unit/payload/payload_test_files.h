// Native helpers for the payload reader and writer tests: a temporary directory per test, whole
// files, and the pieces of a written distributable located by offset.
#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "payload/payload_format.h"
#include "payload/payload_writer.h"

namespace payload_test {

class TempDir {
public:
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "payload-test-XXXXXX").string();
        std::vector<char> buffer(pattern.begin(), pattern.end());
        buffer.push_back('\0');
        path_ = mkdtemp(buffer.data());
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    // With a final "/".
    std::string Path() const { return path_ + "/"; }
    std::string File(const std::string& name) const { return Path() + name; }

private:
    std::string path_;
};

inline std::vector<uint8_t> ReadBytes(const std::string& path) {
    std::vector<uint8_t> bytes;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return bytes;
    uint8_t buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) bytes.insert(bytes.end(), buffer, buffer + n);
    std::fclose(f);
    return bytes;
}

inline void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

inline bool Exists(const std::string& path) { return std::filesystem::exists(path); }

inline std::vector<uint8_t> RandomBytes(size_t size, uint32_t seed) {
    std::mt19937 generator(seed);
    std::vector<uint8_t> bytes(size);
    for (uint8_t& b : bytes) b = static_cast<uint8_t>(generator());
    return bytes;
}

inline std::vector<uint8_t> TextBytes(size_t size) {
    std::vector<uint8_t> bytes(size);
    for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>("the quick brown fox "[i % 20]);
    return bytes;
}

// The engine image of the tests: large enough that the backward search has room.
inline std::vector<uint8_t> EngineImage(size_t size = 6000) { return RandomBytes(size, 7); }

// Last-write time in FILETIME units, from the file system.
inline uint64_t FileTimeOf(const std::string& path) {
    struct stat info;
    if (stat(path.c_str(), &info) != 0) return 0;
    return static_cast<uint64_t>((info.st_mtim.tv_sec + 11644473600LL) * 10000000LL + info.st_mtim.tv_nsec / 100);
}

// A FILETIME in 2011 with sub-second digits, as packers store them.
constexpr uint64_t kSampleTime = 129500000001234560ull;

inline PackedFile File(const std::string& name, std::vector<uint8_t> contents, const std::string& placement = "",
                       uint64_t time = kSampleTime) {
    PackedFile f;
    f.FileName = name;
    f.SourceDir = "C:\\Authoring\\";
    f.Placement = placement;
    f.Contents = std::move(contents);
    f.LastWriteTime = time;
    return f;
}

inline SessionTrailer TrailerAt(const std::vector<uint8_t>& bytes, size_t offset) {
    SessionTrailer t;
    std::memcpy(&t, bytes.data() + offset, sizeof t);
    return t;
}
inline void PutTrailer(std::vector<uint8_t>& bytes, size_t offset, const SessionTrailer& t) {
    std::memcpy(bytes.data() + offset, &t, sizeof t);
}
inline RecordHeader HeaderAt(const std::vector<uint8_t>& bytes, size_t offset) {
    RecordHeader h;
    std::memcpy(&h, bytes.data() + offset, sizeof h);
    return h;
}
inline void PutHeader(std::vector<uint8_t>& bytes, size_t offset, const RecordHeader& h) {
    std::memcpy(bytes.data() + offset, &h, sizeof h);
}

// Offsets of the record headers of the session whose trailer ends the buffer.
inline std::vector<size_t> RecordOffsets(const std::vector<uint8_t>& bytes) {
    SessionTrailer t = TrailerAt(bytes, bytes.size() - kTrailerSize);
    std::vector<size_t> offsets;
    size_t position = t.DataStart;
    for (uint32_t i = 0; i < t.FileCount; ++i) {
        offsets.push_back(position);
        position += kRecordHeaderSize + HeaderAt(bytes, position).StoredSize;
    }
    return offsets;
}

}  // namespace payload_test
