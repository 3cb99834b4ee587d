// Extraction by the real engine under Wine: a distributable whose movie brings the payload to
// 64 MiB, against inflating the same zlib streams from memory inside this one Wine process, with
// the engine's zlib. Two views of the engine's side:
//   - the movie's own extraction, from the engine's own file times: the hook library, the record
//     before the movie, is finished (its last change) when the movie's extraction starts, and
//     the movie's last change is its finish. No polling from outside falls inside that stretch.
//   - start-up to the movie shown with the 64 MiB payload, less the same with a tiny payload: what
//     the payload's size costs the whole run (all three passes over the payload).
// Target for the first: at most 1.10 times the in-memory inflate of the movie's stream.

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "bench/inflate_in_memory.h"
#include "payload/payload_format.h"
#include "support/distributable.h"
#include "wine_bench_support.h"

using namespace winbench;

namespace {

constexpr size_t kBigPayloadBytes = 64u << 20;
constexpr size_t kTinyPayloadBytes = 256u << 10;
constexpr double kTarget = 1.10;
constexpr double kShowTimeoutMs = 60000;
constexpr DWORD kExitTimeoutMs = 60000;
constexpr DWORD kPollMs = 5;  // coarse, so that the poller leaves the engine's threads alone
const std::map<std::string, std::string> kSafetyExit = {{"STANDIN_EXIT_AFTER_MS", "120000"}};

struct StoredStream {
    std::string Name;
    const uint8_t* Data;
    size_t Size;
    uint32_t OriginalSize;
};

// The compressed records of the distributable's session, where they lie in its bytes.
std::vector<StoredStream> StoredStreams(const std::vector<uint8_t>& bytes) {
    SessionTrailer trailer;
    std::memcpy(&trailer, bytes.data() + bytes.size() - kTrailerSize, sizeof trailer);
    std::vector<StoredStream> streams;
    size_t at = trailer.DataStart;
    for (uint32_t i = 0; i < trailer.FileCount; ++i) {
        RecordHeader header;
        std::memcpy(&header, bytes.data() + at, sizeof header);
        at += sizeof header;
        if (IsCompressedRecord(header.OriginalSize))
            streams.push_back({ReadShortString(header.FileName), bytes.data() + at, header.StoredSize, header.OriginalSize});
        at += header.StoredSize;
    }
    return streams;
}

double BestInflateMs(const std::vector<StoredStream>& streams, int runs) {
    std::vector<uint8_t> chunk(65536);
    double best = 1e30;
    for (int i = 0; i < runs; ++i) {
        const double start = NowMs();
        for (const StoredStream& stream : streams)
            if (!bench::InflateInMemory(stream.Data, stream.Size, stream.OriginalSize, chunk)) {
                std::printf("in-memory inflate of %s failed\n", stream.Name.c_str());
                std::exit(2);
            }
        best = std::min(best, NowMs() - start);
    }
    return best;
}

// Last change (ms on the FILETIME scale) of the file below dir whose name starts with prefix and
// ends with suffix; -1 when there is none.
double LastChangeMs(const std::string& dir, const std::string& prefix, const std::string& suffix) {
    for (const std::string& relative : testsupport::ListTree(dir)) {
        const std::string name = relative.substr(relative.find_last_of('\\') + 1);
        if (name.size() < prefix.size() + suffix.size() || name.compare(0, prefix.size(), prefix) != 0 ||
            name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0)
            continue;
        HANDLE file = CreateFileA((dir + relative).c_str(), FILE_READ_ATTRIBUTES,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0,
                                  nullptr);
        if (file == INVALID_HANDLE_VALUE) return -1;
        FILE_BASIC_INFO info{};
        const BOOL ok = GetFileInformationByHandleEx(file, FileBasicInfo, &info, sizeof info);
        CloseHandle(file);
        return ok ? static_cast<double>(info.ChangeTime.QuadPart) / 10000.0 : -1;
    }
    return -1;
}

struct EngineRun {
    double ShownMs = -1;       // from the start to the movie shown inside the host
    double MovieExtractMs = -1;  // the movie record, by the engine's file times
};

EngineRun RunEngine(const std::vector<uint8_t>& distributable) {
    EngineRun run;
    testsupport::Distributable app("benchextract", distributable);
    const double start = NowMs();
    auto engine = app.Start(kSafetyExit);
    HWND shown = nullptr;
    const double deadline = start + kShowTimeoutMs;
    while (!(shown = ShownMovieWindow(engine->Id())) && NowMs() < deadline) Sleep(kPollMs);
    if (!shown) return run;
    run.ShownMs = NowMs() - start;
    // The working directory stays until the projector ends.
    const double library = LastChangeMs(app.TempPath(), "quenbyrun", ".dll");
    const double movie = LastChangeMs(app.TempPath(), "movie", ".swf");
    if (library >= 0 && movie >= 0) run.MovieExtractMs = movie - library;
    CloseAndWait(*engine, shown, kExitTimeoutMs);
    return run;
}

}  // namespace

int main(int argc, char** argv) {
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
    std::printf("packing a %zu MiB and a %zu KiB distributable...\n", kBigPayloadBytes >> 20, kTinyPayloadBytes >> 10);
    std::fflush(stdout);
    const BenchDistributable big = PackBenchDistributable(kBigPayloadBytes);
    const BenchDistributable tiny = PackBenchDistributable(kTinyPayloadBytes);

    const std::vector<StoredStream> streams = StoredStreams(big.Bytes);
    std::vector<StoredStream> movie;
    for (const StoredStream& stream : streams)
        if (stream.Name == "movie.swf") movie.push_back(stream);
    if (movie.size() != 1) {
        std::printf("no compressed movie record in the payload\n");
        return 2;
    }

    // Untimed first starts: Wine maps each program once before the runs compare like with like.
    RunEngine(tiny.Bytes);
    RunEngine(big.Bytes);

    std::vector<double> bigShown, tinyShown, movieExtract;
    double movieInflate = 1e30, allInflate = 1e30;
    for (int i = 0; i < repetitions; ++i) {
        // Alternated, so that disturbances from the machine fall on every side alike.
        const EngineRun withBig = RunEngine(big.Bytes);
        const EngineRun withTiny = RunEngine(tiny.Bytes);
        if (withBig.ShownMs < 0 || withTiny.ShownMs < 0 || withBig.MovieExtractMs < 0) {
            std::printf("run %d: the movie never showed, or its files were not found\n", i + 1);
            return 2;
        }
        const double movieNow = BestInflateMs(movie, 1);
        movieInflate = std::min(movieInflate, movieNow);
        allInflate = std::min(allInflate, BestInflateMs(streams, 1));
        bigShown.push_back(withBig.ShownMs);
        tinyShown.push_back(withTiny.ShownMs);
        movieExtract.push_back(withBig.MovieExtractMs);
        std::printf("run %d: movie extracted in %.1f ms (inflated in memory in %.1f ms); shown after %.1f ms (64 MiB) "
                    "and %.1f ms (tiny)\n",
                    i + 1, withBig.MovieExtractMs, movieNow, withBig.ShownMs, withTiny.ShownMs);
        std::fflush(stdout);
    }

    const double movieBest = *std::min_element(movieExtract.begin(), movieExtract.end());
    const double sizeCost = Median(bigShown) - Median(tinyShown);
    std::printf("payload: %zu files, %.1f MiB (movie %.1f MiB)\n", big.FileCount, big.PayloadBytes / 1048576.0,
                movie[0].OriginalSize / 1048576.0);
    std::printf("in-memory inflate in this process: movie %.1f ms, all records %.1f ms (best of %d)\n", movieInflate,
                allInflate, repetitions);
    std::printf("engine's extraction of the movie: best %.1f ms, median %.1f ms\n", movieBest, Median(movieExtract));
    std::printf("start-up to movie shown, median: %.1f ms with 64 MiB, %.1f ms tiny; difference %.1f ms\n",
                Median(bigShown), Median(tinyShown), sizeCost);
    std::printf("start-up difference / in-memory inflate of all records: %.2fx (the whole run; not a target)\n",
                sizeCost / allInflate);
    const bool met = Verdict("engine's movie extraction / in-memory inflate", movieBest / movieInflate, kTarget, "x");
    return met ? 0 : 1;
}
