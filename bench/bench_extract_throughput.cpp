// Extraction of a ~64 MiB mixed payload (compressible and incompressible files) through the
// reader, against inflating the same zlib streams from memory. Target: at most 1.10 times.
#include <zlib.h>

#include <cstdio>

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

void InflateInMemory(const std::vector<uint8_t>& stream, uint32_t originalSize, std::vector<uint8_t>& chunk) {
    z_stream z{};
    inflateInit(&z);
    z.next_in = const_cast<Bytef*>(stream.data());
    z.avail_in = static_cast<uInt>(stream.size());
    uint64_t produced = 0;
    int result = Z_OK;
    while (result == Z_OK) {
        z.next_out = chunk.data();
        z.avail_out = static_cast<uInt>(chunk.size());
        result = inflate(&z, Z_NO_FLUSH);
        produced += chunk.size() - z.avail_out;
    }
    inflateEnd(&z);
    if (result != Z_STREAM_END || produced != originalSize) std::fprintf(stderr, "baseline inflate failed\n");
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
    double inMemory = bench::BestSeconds(5, [&] {
        for (size_t i = 0; i < streams.size(); ++i) InflateInMemory(streams[i], sizes[i], chunk);
    });

    const std::string out = scratch.File("out/");
    // The engine extracts into a fresh directory: clear it before each (timed) extraction.
    auto clear = [&] {
        std::filesystem::remove_all(out);
        std::filesystem::create_directory(out);
    };
    double extraction = bench::BestSeconds(5, clear, [&] {
        TVelExeAppender reader;
        reader.SourceIsSelf = false;
        reader.SourcePath = dist;
        reader.TargetDir = out;
        reader.ExtractSession("Session1");
    });

    std::printf("inflate in memory: %.1f ms\nextraction to files: %.1f ms\n", inMemory * 1000, extraction * 1000);
    return bench::Verdict("extraction / in-memory inflate", extraction / inMemory, 1.10, "x");
}
