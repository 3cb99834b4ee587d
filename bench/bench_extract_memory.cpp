// Peak memory while extracting a 256 MiB payload: the reader streams, so the peak must stay flat,
// at most 16 MiB above the level before the extraction.
#include <cstdio>
#include <fstream>
#include <string>

#include "bench_support.h"
#include "payload/velexe_appender.h"

namespace {

// A field of /proc/self/status in KiB.
long StatusKiB(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    size_t length = std::strlen(field);
    while (std::getline(status, line))
        if (line.compare(0, length, field) == 0 && line[length] == ':') return std::stol(line.substr(length + 1));
    return -1;
}

// Resets the peak (VmHWM) to the current resident size; false where the kernel does not allow it.
bool ResetPeak() {
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    clear.flush();
    return static_cast<bool>(clear);
}

}  // namespace

int main() {
    using bench::GeneratedContent;
    bench::ScratchDir scratch;
    const std::string dist = scratch.File("dist.exe");
    std::printf("generating a 256 MiB payload...\n");
    bench::WriteDistributable(dist, {{"movie.swf", GeneratedContent::Compressible, 96u << 20},
                                     {"video.bin", GeneratedContent::Incompressible, 128u << 20},
                                     {"small.txt", GeneratedContent::Compressible, 100},
                                     {"sound.bin", GeneratedContent::Incompressible, 32u << 20}});

    const std::string out = scratch.File("out/");
    std::filesystem::create_directory(out);
    TVelExeAppender reader;
    reader.SourceIsSelf = false;
    reader.SourcePath = dist;
    reader.TargetDir = out;

    bool reset = ResetPeak();
    long baseline = reset ? StatusKiB("VmRSS") : StatusKiB("VmHWM");
    double seconds = bench::BestSeconds(1, [&] { reader.ExtractSession("Session1"); });
    long peak = StatusKiB("VmHWM");
    std::printf("extracted %u bytes in %.0f ms\nbaseline %ld KiB (%s), peak %ld KiB\n", reader.BytesDone,
                seconds * 1000, baseline, reset ? "resident after peak reset" : "earlier peak", peak);
    return bench::Verdict("peak above baseline", (peak - baseline) / 1024.0, 16.0, " MiB");
}
