// Shared pieces of the payload benchmarks: a scratch directory, a clock, content generators that
// stream (so inputs of any size need no memory), and the verdict line.
#pragma once

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <ctime>
#include <vector>

#include "payload/payload_writer.h"

namespace bench {

class ScratchDir {
public:
    ScratchDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "payload-bench-XXXXXX").string();
        std::vector<char> buffer(pattern.begin(), pattern.end());
        buffer.push_back('\0');
        path_ = mkdtemp(buffer.data());
    }
    ~ScratchDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    std::string File(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

// CPU time of the whole process (every thread), user and system.
inline double CpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// CPU time of the calling thread, user and system.
inline double ThreadCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

inline double Seconds() {
    using Clock = std::chrono::steady_clock;
    return std::chrono::duration<double>(Clock::now().time_since_epoch()).count();
}

// Best of several runs, the least disturbed by the other work on the machine, with an untimed
// preparation before each run.
template <typename Prepare, typename Work>
double BestSeconds(int runs, Prepare prepare, Work work) {
    double best = 1e30;
    for (int i = 0; i < runs; ++i) {
        prepare();
        double start = Seconds();
        work();
        best = std::min(best, Seconds() - start);
    }
    return best;
}

template <typename Work>
double BestSeconds(int runs, Work work) {
    return BestSeconds(runs, [] {}, work);
}

// Content of a given size, generated as it is read.
class GeneratedContent : public ContentReader {
public:
    enum Kind { Compressible, Incompressible };
    GeneratedContent(Kind kind, uint64_t size, uint32_t seed) : kind_(kind), left_(size), generator_(seed) {}
    size_t Read(void* buffer, size_t count) override {
        size_t n = static_cast<size_t>(std::min<uint64_t>(count, left_));
        uint8_t* out = static_cast<uint8_t*>(buffer);
        if (kind_ == Incompressible) {
            for (size_t i = 0; i < n; ++i) out[i] = static_cast<uint8_t>(generator_() >> 11);
        } else {
            // Like program code and data: skewed literals with short repeats of recent bytes;
            // compresses to about half, with many literals for the inflater to decode.
            for (size_t i = 0; i < n; ++i) {
                if (repeatLeft_ == 0 && history_.size() > 4096 && generator_() % 8 < 3) {
                    repeatLeft_ = 4 + generator_() % 28;
                    repeatFrom_ = history_.size() - 1 - generator_() % 4096;
                }
                uint8_t b;
                if (repeatLeft_ > 0) {
                    b = history_[repeatFrom_++];
                    --repeatLeft_;
                } else {
                    uint32_t r = generator_();
                    b = static_cast<uint8_t>((r & 0xFF) % (r & 0x100 ? 16 : 256));
                }
                out[i] = b;
                history_.push_back(b);
                if (history_.size() >= 65536) {
                    // Keep the last 4 KiB plus room: the positions above stay valid.
                    size_t drop = history_.size() - 8192;
                    history_.erase(history_.begin(), history_.begin() + static_cast<std::ptrdiff_t>(drop));
                    repeatFrom_ = repeatFrom_ >= drop ? repeatFrom_ - drop : 0;
                }
            }
        }
        left_ -= n;
        return n;
    }

private:
    Kind kind_;
    uint64_t left_;
    std::mt19937 generator_;
    std::vector<uint8_t> history_;
    size_t repeatFrom_ = 0;
    uint32_t repeatLeft_ = 0;
};

// Writes engine image + one session of the given files to path.
struct GeneratedFile {
    std::string Name;
    GeneratedContent::Kind Kind;
    uint32_t Size;
};
inline void WriteDistributable(const std::string& path, const std::vector<GeneratedFile>& files,
                               size_t imageSize = 65536) {
    FileSink sink(path);
    std::vector<uint8_t> image(imageSize);
    GeneratedContent(GeneratedContent::Incompressible, imageSize, 99).Read(image.data(), imageSize);
    sink.Append(image.data(), image.size());
    SessionWriter writer(sink);
    uint32_t seed = 1;
    for (const GeneratedFile& f : files) {
        GeneratedContent content(f.Kind, f.Size, seed++);
        writer.AddFile({f.Name, "C:\\Bench\\", "", f.Size, 129500000000000000ull}, content);
    }
    writer.Finish("Session1");
    sink.Close();
}

inline int Verdict(const char* what, double value, double target, const char* unit) {
    bool met = value <= target;
    std::printf("%s: %.3f%s (target <= %.2f%s) %s\n", what, value, unit, target, unit, met ? "MET" : "MISSED");
    return met ? 0 : 1;
}

}  // namespace bench
