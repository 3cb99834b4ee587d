// CPU the engine uses while it supervises an idle movie under Wine: the engine process's CPU time
// (kernel plus user) over 5 s after the movie is shown, as a share of one core, against the wall
// time of the same window; the projector's own share over the same time is printed for
// comparison. Target: under 1 %.
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "support/distributable.h"
#include "wine_bench_support.h"

using namespace winbench;

namespace {

constexpr DWORD kIdleWindowMs = 5000;
constexpr double kTargetPercent = 1.0;
constexpr double kShowTimeoutMs = 30000;
constexpr DWORD kExitTimeoutMs = 30000;

struct IdleShare {
    double EnginePercent = -1;
    double ProjectorPercent = -1;
    const char* Source = "";
};

// Shares of one core over the idle window, the movie being shown.
IdleShare MeasureIdle(const testsupport::Distributable& app, const testsupport::ChildProcess& engine, HWND movie) {
    IdleShare share;
    DWORD projectorId = 0;
    GetWindowThreadProcessId(movie, &projectorId);
    std::unique_ptr<void, decltype(&CloseHandle)> projector(
        OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, projectorId), &CloseHandle);
    // The exe name is unique to this run, and so is the working directory the projector runs from.
    const ProcessCpu engineCpu(engine.Handle(), app.ExeName());
    const ProcessCpu projectorCpu(projector.get(), app.TempPath());
    share.Source = engineCpu.Source();
    if (!engineCpu.Measurable()) {
        std::printf("the engine's process was not found in the Wine host's /proc\n");
        return share;
    }

    // Nothing polls meanwhile: the bench itself stays out of the engine's way.
    const double wallStart = NowMs();
    const double engineStart = engineCpu.Ms();
    const double projectorStart = projectorCpu.Ms();
    Sleep(kIdleWindowMs);
    const double engineUsed = engineCpu.Ms() - engineStart;
    const double projectorUsed = projectorCpu.Ms() - projectorStart;
    const double wall = NowMs() - wallStart;
    share.EnginePercent = 100.0 * engineUsed / wall;
    share.ProjectorPercent = 100.0 * projectorUsed / wall;
    return share;
}

IdleShare MeasureOnce(const std::vector<uint8_t>& distributable) {
    testsupport::Distributable app("benchidle", distributable);
    auto engine = app.Start({{"STANDIN_EXIT_AFTER_MS", "60000"}});
    HWND movie = nullptr;
    if (!PollUntil([&] { return (movie = ShownMovieWindow(engine->Id())) != nullptr; }, kShowTimeoutMs)) return {};
    const IdleShare share = MeasureIdle(app, *engine, movie);
    CloseAndWait(*engine, movie, kExitTimeoutMs);
    return share;
}

}  // namespace

int main(int argc, char** argv) {
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    const BenchDistributable packed = PackBenchDistributable();
    std::vector<double> engine, projector;
    for (int i = 0; i < repetitions; ++i) {
        const IdleShare share = MeasureOnce(packed.Bytes);
        if (share.EnginePercent < 0) {
            std::printf("run %d: no measurement (the movie was never shown, or no CPU times)\n", i + 1);
            return 2;
        }
        engine.push_back(share.EnginePercent);
        projector.push_back(share.ProjectorPercent);
        std::printf("run %d: engine %.2f %%, projector %.2f %% of one core over %u ms (times from %s)\n", i + 1,
                    share.EnginePercent, share.ProjectorPercent, static_cast<unsigned>(kIdleWindowMs), share.Source);
        std::fflush(stdout);
    }
    std::printf("projector meanwhile, median: %.2f %% of one core\n", Median(projector));
    const bool met =
        Verdict("engine CPU while supervising an idle movie, median", Median(engine), kTargetPercent, " %", true);
    return met ? 0 : 1;
}
