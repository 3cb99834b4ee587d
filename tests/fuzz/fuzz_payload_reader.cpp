// Fuzzes the payload reader over a distributable held in memory, with the engine's placement
// policy answering every file, in the engine's order of passes: settings, probe, full. Only an
// EngineError may end a run; every file written must lie inside the target directory.
//
// The record headers and trailers carry check values that random mutation nearly always breaks,
// which would keep the fuzzer in front of the first test. The custom mutator therefore reseals
// most mutated blocks whose signature and end mark are in place.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "fuzz_path_checks.h"
#include "payload/engine_error.h"
#include "payload/file_placement.h"
#include "payload/payload_format.h"
#include "payload/velexe_appender.h"
#include "tests/unit/payload/placement_fakes.h"

extern "C" size_t LLVMFuzzerMutate(uint8_t* data, size_t size, size_t maxSize);

namespace {

const char kSelfPath[] = "C:\\Program Files\\Demo\\demo.exe";
const char kTempDir[] = "C:\\Temp\\";
const char kWorkDir[] = "C:\\Temp\\qr0\\";
// A distributable may expand a thousandfold; beyond this much output the disk is "full".
constexpr uint64_t kOutputCap = 64ull << 20;

class MemorySource : public PayloadSource {
public:
    MemorySource(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    uint64_t Size() override { return size_; }
    uint64_t Position() override { return position_; }
    void Seek(uint64_t position) override { position_ = position; }
    size_t Read(void* buffer, size_t count) override {
        if (position_ >= size_) return 0;
        const size_t n = static_cast<size_t>(std::min<uint64_t>(count, size_ - position_));
        std::memcpy(buffer, data_ + position_, n);
        position_ += n;
        return n;
    }

private:
    const uint8_t* data_;
    size_t size_;
    uint64_t position_ = 0;
};

class CountingOutput : public PayloadOutput {
public:
    explicit CountingOutput(uint64_t& written) : written_(written) {}
    bool Write(const void*, size_t count) override {
        if (finished_) fuzz_checks::Fail("write after Finish", "", "");
        written_ += count;
        return written_ <= kOutputCap;
    }
    bool Finish(uint64_t) override {
        finished_ = true;
        return true;
    }

private:
    uint64_t& written_;
    bool finished_ = false;
};

class MemoryFileSystem : public PayloadFileSystem {
public:
    MemoryFileSystem(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    // Where every output must lie: the reader's TargetDir, which changes between passes.
    void SetTargetDir(const std::string& targetDir) { targetDir_ = &targetDir; }
    std::string SelfPath() override { return kSelfPath; }
    std::unique_ptr<PayloadSource> OpenSource(const std::string& path) override {
        if (path != kSelfPath) throw EngineError("Cannot open file " + path);
        return std::make_unique<MemorySource>(data_, size_);
    }
    std::unique_ptr<PayloadOutput> CreateOutput(const std::string& path) override {
        const size_t slash = path.find_last_of("\\/");
        const size_t split = slash == std::string::npos ? 0 : slash + 1;
        fuzz_checks::ExpectInsideTarget(path.substr(0, split), path.substr(split), *targetDir_);
        return std::make_unique<CountingOutput>(written_);
    }

private:
    const uint8_t* data_;
    size_t size_;
    const std::string* targetDir_ = nullptr;
    uint64_t written_ = 0;
};

void ExtractLikeTheEngine(const uint8_t* data, size_t size) {
    MemoryFileSystem files(data, size);
    FakePlacementFileSystem placementFs;
    FilePlacement placement;
    placement.FileSystem = &placementFs;

    TVelExeAppender reader;
    reader.SetFileSystem(files);
    files.SetTargetDir(reader.TargetDir);
    reader.OnFile = [&](TVelExeAppender& sender, std::string& name, std::string& directory, bool& skip) {
        placement.HandleExtractedFile(name, directory, skip, sender.CurrentPlacement, sender.TargetDir, 0, false);
    };

    // Settings pass into the temporary directory.
    placement.SettingsPass = true;
    reader.TargetDir = kTempDir;
    reader.ExtractSession("Session1");
    placement.SettingsPass = false;

    // Probe pass: nothing written.
    placement.ProbeMode = true;
    reader.ExtractSession("Session1");
    placement.ProbeMode = false;

    // Full pass into the working directory.
    placement.ClearForFullPass();
    reader.TargetDir = kWorkDir;
    reader.ExtractSession("Session1");
    for (const std::string& path : placement.ExtractedFiles)
        fuzz_checks::ExpectInsideTarget(path.substr(0, path.find_last_of('\\') + 1),
                                        path.substr(path.find_last_of('\\') + 1), kWorkDir);
}

// Reseals every block whose signature and end mark stand at a block's distance.
void Reseal(uint8_t* data, size_t size) {
    uint32_t word;
    for (size_t i = 0; i + 4 <= size; ++i) {
        std::memcpy(&word, data + i, 4);
        if (word != kPayloadSignature) continue;
        for (size_t checked : {kRecordHeaderCheckedBytes, kTrailerCheckedBytes}) {
            if (i + checked + 8 > size) continue;
            std::memcpy(&word, data + i + checked + 4, 4);
            if (word != kPayloadEndMark) continue;
            const uint32_t check = HeaderCheckValue(data + i, checked);
            std::memcpy(data + i + checked, &check, 4);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        ExtractLikeTheEngine(data, size);
    } catch (const EngineError&) {
        // The reader's answer to a damaged or hostile payload.
    }
    return 0;
}

extern "C" size_t LLVMFuzzerCustomMutator(uint8_t* data, size_t size, size_t maxSize, unsigned int seed) {
    size = LLVMFuzzerMutate(data, size, maxSize);
    // Leave one mutation in eight unsealed so the check-value tests stay exercised.
    if (seed % 8 != 0) Reseal(data, size);
    return size;
}
