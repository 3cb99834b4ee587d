// Extraction of a ~64 MiB mixed payload (compressible and incompressible files) through the
// reader, against inflating the same zlib streams from memory. Target: at most 1.10 times. The
// reader writes on a second thread while it inflates, and that thread reads the reader's input
// ahead when it has nothing to write: on a machine whose cores are all busy with other work that
// thread finds no core, and the ratio shows it (compare the CPU time printed).

#include <cstdio>

#include "bench/inflate_in_memory.h"
#include "bench_support.h"
#include "payload/payload_file_system.h"
#include "payload/payload_format.h"
#include "payload/velexe_appender.h"

namespace {

// The stored streams of the payload's compressed records, read back from the written file.
std::vector<std::vector<uint8_t>> StoredStreams(const std::string& path, std::vector<uint32_t>& sizes) {
    auto source = PortablePayloadFileSystem().OpenSource(path);
    SessionTrailer trailer;
    source->Seek(source->Size() - kTrailerSize);
    ReadExact(*source, &trailer, sizeof trailer);
    std::vector<std::vector<uint8_t>> streams;
    source->Seek(trailer.DataStart);
    for (uint32_t i = 0; i < trailer.FileCount; ++i) {
        RecordHeader header;
        ReadExact(*source, &header, sizeof header);
        std::vector<uint8_t> data(header.StoredSize);
        ReadExact(*source, data.data(), data.size());
        streams.push_back(std::move(data));
        sizes.push_back(header.OriginalSize);
    }
    return streams;
}

}  // namespace

int main() {
    using bench::GeneratedContent;
    bench::ScratchDir scratch;
    const std::string dist = scratch.File("dist.exe");
    std::vector<bench::GeneratedFile> files;
    for (int i = 0; i < 4; ++i) {
        files.push_back({"text" + std::to_string(i) + ".swf", GeneratedContent::Compressible, 8u << 20});
        files.push_back({"data" + std::to_string(i) + ".bin", GeneratedContent::Incompressible, 8u << 20});
    }
    std::printf("generating a 64 MiB payload...\n");
    bench::WriteDistributable(dist, files);

    std::vector<uint32_t> sizes;
    std::vector<std::vector<uint8_t>> streams = StoredStreams(dist, sizes);
    std::vector<uint8_t> chunk(65536);
    auto inflateAll = [&] {
        for (size_t i = 0; i < streams.size(); ++i)
            if (!bench::InflateInMemory(streams[i].data(), streams[i].size(), sizes[i], chunk))
                std::fprintf(stderr, "baseline inflate failed\n");
    };

    const std::string out = scratch.File("out/");
    // The engine extracts into a fresh directory: clear it before each (timed) extraction.
    auto clear = [&] {
        std::filesystem::remove_all(out);
        std::filesystem::create_directory(out);
    };
    // CPU times of the best runs: the whole process, and this (the reader's) thread alone.
    struct Cpu {
        double Process = 0, Thread = 0;
    };
    auto cpuNow = [] { return Cpu{bench::CpuSeconds(), bench::ThreadCpuSeconds()}; };
    Cpu cpu;
    auto timed = [&](auto work) {
        const Cpu before = cpuNow();
        work();
        const Cpu after = cpuNow();
        cpu = {after.Process - before.Process, after.Thread - before.Thread};
    };
    auto extract = [&] {
        TVelExeAppender reader;
        reader.SourceIsSelf = false;
        reader.SourcePath = dist;
        reader.TargetDir = out;
        reader.ExtractSession("Session1");
    };

    // Alternated, so that the load of a shared machine falls on both sides alike; best of each.
    double inMemory = 1e30, extraction = 1e30;
    Cpu inMemoryCpu, extractionCpu;
    for (int i = 0; i < 7; ++i) {
        double seconds = bench::BestSeconds(1, [&] { timed(inflateAll); });
        if (seconds < inMemory) inMemory = seconds, inMemoryCpu = cpu;
        seconds = bench::BestSeconds(1, clear, [&] { timed(extract); });
        if (seconds < extraction) extraction = seconds, extractionCpu = cpu;
    }
    // On a busy machine the wall times stretch; the reader thread's CPU time against the inflate's
    // is what the ratio comes to when the writer has a core of its own.
    std::printf("CPU time: in-memory inflate %.1f ms; extraction %.1f ms on the reader thread, %.1f ms on the "
                "writer thread\n",
                inMemoryCpu.Thread * 1000, extractionCpu.Thread * 1000,
                (extractionCpu.Process - extractionCpu.Thread) * 1000);
    std::printf("reader thread's CPU / in-memory inflate's CPU: %.3fx\n", extractionCpu.Thread / inMemoryCpu.Thread);

    std::printf("inflate in memory: %.1f ms\nextraction to files: %.1f ms\n", inMemory * 1000, extraction * 1000);
    return bench::Verdict("extraction / in-memory inflate", extraction / inMemory, 1.10, "x");
}
