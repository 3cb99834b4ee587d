#include "payload/trailer_search.h"

#include <algorithm>
#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#include <immintrin.h>
#define STAGEHOST_HAVE_AVX2_SCAN 1
#endif

#include "payload/engine_error.h"
#include "payload/payload_messages.h"

namespace {

// Read size of the backward search; consecutive blocks overlap by one window less a byte.
constexpr size_t kSearchBlockSize = 256 * 1024;

constexpr uint8_t kEndMarkFirstByte = static_cast<uint8_t>(kPayloadEndMark & 0xFF);

// Index of the first i in [from, to) where the end mark's first and last bytes lie at i and
// i + 3, or `to` when there is none; block must hold to + 3 bytes. Testing two of the mark's
// bytes at once keeps false candidates rare (one in 65,536 positions of random bytes), so the
// loop runs branch-free over 64 bytes at a time; where SSE2 is missing a library memchr serves.
constexpr uint8_t kEndMarkLastByte = static_cast<uint8_t>(kPayloadEndMark >> 24);

#if defined(STAGEHOST_HAVE_AVX2_SCAN)
// The same skip as below, 64 bytes per step in two 32-byte lanes, on processors that have AVX2:
// the scan then keeps pace with reading the bytes.
__attribute__((target("avx2"))) inline __m256i MarkHits32(const uint8_t* at, __m256i first, __m256i last) {
    const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
    const __m256i d = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at + 3));
    return _mm256_and_si256(_mm256_cmpeq_epi8(a, first), _mm256_cmpeq_epi8(d, last));
}

__attribute__((target("avx2"))) size_t SkipWithoutMarkAvx2(const uint8_t* block, size_t i, size_t to) {
    const __m256i first = _mm256_set1_epi8(static_cast<char>(kEndMarkFirstByte));
    const __m256i last = _mm256_set1_epi8(static_cast<char>(kEndMarkLastByte));
    for (; i + 64 <= to; i += 64) {
        const __m256i any =
            _mm256_or_si256(MarkHits32(block + i, first, last), MarkHits32(block + i + 32, first, last));
        if (!_mm256_testz_si256(any, any)) break;  // the exact position is found by the caller
    }
    return i;
}

bool HasAvx2() {
    static const bool available = __builtin_cpu_supports("avx2");
    return available;
}
#endif

size_t NextMarkCandidate(const uint8_t* block, size_t from, size_t to) {
    constexpr uint8_t kLastByte = kEndMarkLastByte;
    size_t i = from;
#if defined(STAGEHOST_HAVE_AVX2_SCAN)
    if (HasAvx2()) i = SkipWithoutMarkAvx2(block, i, to);
#endif
#if defined(__SSE2__)
    const __m128i first = _mm_set1_epi8(static_cast<char>(kEndMarkFirstByte));
    const __m128i last = _mm_set1_epi8(static_cast<char>(kLastByte));
    auto hits = [&](size_t at) {
        __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block + at));
        __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block + at + 3));
        return _mm_and_si128(_mm_cmpeq_epi8(a, first), _mm_cmpeq_epi8(d, last));
    };
    for (; i + 64 <= to; i += 64) {
        __m128i any = _mm_or_si128(_mm_or_si128(hits(i), hits(i + 16)), _mm_or_si128(hits(i + 32), hits(i + 48)));
        if (_mm_movemask_epi8(any) != 0) break;  // the exact position is found below
    }
#endif
    for (; i < to; ++i) {
        const void* hit = std::memchr(block + i, kEndMarkFirstByte, to - i);
        if (!hit) return to;
        i = static_cast<size_t>(static_cast<const uint8_t*>(hit) - block);
        if (block[i + 3] == kLastByte) return i;
    }
    return to;
}

// The highest window end e in [lowEnd, block end] whose window lies in block and is a valid
// trailer; 0 when there is none. blockStart is the file offset of block[0].
uint64_t HighestValidEnd(const uint8_t* block, size_t length, uint64_t blockStart, uint64_t lowEnd) {
    // The end mark occupies the last four bytes of a window: look for its first byte, which
    // lies at window end - 4, from the lowest candidate up, and keep the last valid one.
    const size_t stop = length - 3;  // one past the last possible mark start
    const uint32_t mark = kPayloadEndMark;
    uint64_t best = 0;
    for (size_t i = NextMarkCandidate(block, static_cast<size_t>(lowEnd - blockStart) - 4, stop); i < stop;
         i = NextMarkCandidate(block, i + 1, stop)) {
        if (std::memcmp(block + i, &mark, 4) == 0 && IsValidTrailerAt(block + i + 4 - kTrailerSize))
            best = blockStart + i + 4;
    }
    return best;
}

}  // namespace

bool FindTrailerBackwards(PayloadSource& source, uint64_t end, bool scan, FoundTrailer& found) {
    if (end < kTrailerSize || end > source.Size()) throw EngineError(payload_messages::kStreamReadError);
    uint64_t lowestEnd = (scan && end > kTrailerSearchFloor) ? kTrailerSearchFloor : end;

    std::vector<uint8_t> block;
    uint64_t highEnd = end;  // highest window end not yet tested
    while (highEnd >= lowestEnd) {
        uint64_t reach = kSearchBlockSize - kTrailerSize;
        uint64_t lowEnd = (highEnd - lowestEnd > reach) ? highEnd - reach : lowestEnd;
        uint64_t blockStart = lowEnd - kTrailerSize;
        size_t length = static_cast<size_t>(highEnd - blockStart);
        block.resize(length);
        source.Seek(blockStart);
        ReadExact(source, block.data(), length);
        uint64_t validEnd = HighestValidEnd(block.data(), length, blockStart, lowEnd);
        if (validEnd != 0) {
            found.Offset = validEnd - kTrailerSize;
            std::memcpy(&found.Trailer, block.data() + (found.Offset - blockStart), kTrailerSize);
            return true;
        }
        if (lowEnd == lowestEnd) break;
        highEnd = lowEnd - 1;
    }
    return false;
}

bool WalkSessions(PayloadSource& source, bool scan, const std::function<bool(const FoundTrailer&)>& visit) {
    uint64_t end = source.Size();
    bool first = true;
    for (;;) {
        // Only the first window may fail to fit: further back the chain has simply ended.
        if (!first && end < kTrailerSize) return false;
        FoundTrailer found;
        if (!FindTrailerBackwards(source, end, scan, found)) return false;
        if (visit(found)) return true;
        // Records lie before their trailer; a DataStart anywhere else would loop or jump ahead.
        if (found.Trailer.DataStart > found.Offset) return false;
        end = found.Trailer.DataStart;
        first = false;
    }
}

bool FindSession(PayloadSource& source, const std::string& name, bool scan, FoundTrailer& found) {
    return WalkSessions(source, scan, [&](const FoundTrailer& candidate) {
        if (ReadShortString(candidate.Trailer.SessionName) != name) return false;
        found = candidate;
        return true;
    });
}

std::vector<FoundTrailer> SessionsInFileOrder(PayloadSource& source) {
    std::vector<FoundTrailer> sessions;
    if (source.Size() >= kTrailerSize) {
        WalkSessions(source, true, [&](const FoundTrailer& found) {
            sessions.push_back(found);
            return false;
        });
    }
    std::reverse(sessions.begin(), sessions.end());
    return sessions;
}
