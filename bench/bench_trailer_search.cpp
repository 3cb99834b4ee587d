// The backward trailer search over 4 MiB of bytes appended after the trailer (a signature block,
// say), against one sequential read of those bytes. Target: at most 2 times.
#include <cstdio>

#include "bench_support.h"
#include "payload/payload_file_system.h"
#include "payload/trailer_search.h"

int main() {
    using bench::GeneratedContent;
    bench::ScratchDir scratch;
    const std::string dist = scratch.File("dist.exe");
    bench::WriteDistributable(dist, {{"movie.swf", GeneratedContent::Compressible, 100000}});
    const size_t kTrailing = 4u << 20;
    {
        std::vector<uint8_t> trailing(kTrailing);
        GeneratedContent(GeneratedContent::Incompressible, kTrailing, 5).Read(trailing.data(), kTrailing);
        std::FILE* f = std::fopen(dist.c_str(), "ab");
        std::fwrite(trailing.data(), 1, trailing.size(), f);
        std::fclose(f);
    }

    auto source = PortablePayloadFileSystem().OpenSource(dist);
    const uint64_t size = source->Size();
    std::vector<uint8_t> buffer(kTrailing);
    double sequential = bench::BestSeconds(20, [&] {
        source->Seek(size - kTrailing);
        ReadExact(*source, buffer.data(), kTrailing);
    });

    FoundTrailer found;
    double search = bench::BestSeconds(20, [&] {
        if (!FindSession(*source, "Session1", true, found)) std::fprintf(stderr, "trailer not found\n");
    });
    if (found.Offset + kTrailerSize + kTrailing != size) std::fprintf(stderr, "wrong trailer found\n");

    std::printf("sequential read of 4 MiB: %.3f ms\nbackward search: %.3f ms\n", sequential * 1000, search * 1000);
    return bench::Verdict("search / sequential read", search / sequential, 2.0, "x");
}
