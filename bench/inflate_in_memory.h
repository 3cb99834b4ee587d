// The extraction benchmarks' baseline: a record's zlib stream inflated from memory in the
// reader's 64 KiB chunks, with nothing written anywhere.
#pragma once

#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace bench {

// False when the stream does not inflate to exactly originalSize bytes.
inline bool InflateInMemory(const uint8_t* data, size_t size, uint32_t originalSize, std::vector<uint8_t>& chunk) {
    z_stream z{};
    if (inflateInit(&z) != Z_OK) return false;
    z.next_in = const_cast<Bytef*>(data);
    z.avail_in = static_cast<uInt>(size);
    uint64_t produced = 0;
    int result = Z_OK;
    while (result == Z_OK) {
        z.next_out = chunk.data();
        z.avail_out = static_cast<uInt>(chunk.size());
        result = inflate(&z, Z_NO_FLUSH);
        produced += chunk.size() - z.avail_out;
    }
    inflateEnd(&z);
    return result == Z_STREAM_END && produced == originalSize;
}

}  // namespace bench
