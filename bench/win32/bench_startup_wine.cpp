// Start-up under Wine: from starting a distributable (~10 MiB payload) to its movie shown inside
// the engine's host window, against starting the stand-in projector alone until its window shows,
// both measured in this run. The difference is what the engine adds: reading the settings,
// extracting the payload, the hook library, the capture and its fixed pauses between window moves
// (four of 55 ms on this path). Target: overhead at most those pauses + 150 ms.
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "support/distributable.h"
#include "wine_bench_support.h"

using namespace winbench;

namespace {

constexpr double kFixedPausesMs = 4 * 55;
// Three of the four pauses come before the movie is visible; the fourth follows the capture.
constexpr double kPausesBeforeShownMs = 3 * 55;
constexpr double kAllowanceMs = 150;
constexpr double kShowTimeoutMs = 30000;
constexpr DWORD kExitTimeoutMs = 30000;
// Ends a run's projector by itself should the bench fail to close it.
const std::map<std::string, std::string> kSafetyExit = {{"STANDIN_EXIT_AFTER_MS", "60000"}};

// Milliseconds from the start to the first moment each step was seen; -1 when not seen.
struct EnginePhases {
    double HostWindow = -1;        // the (hidden) host window exists: settings read
    double ProjectorProcess = -1;  // the projector was started: payload extracted, hook library set up
    double ProjectorWindow = -1;   // the projector's own window exists
    double ProjectorShown = -1;    // ... and is shown (off-screen), as a top-level window
    double Captured = -1;          // that window is inside the host
    double HostShown = -1;         // the host window is visible (its brief show during the capture counts)
    double Shown = -1;             // the projector window is visible inside the visible host
    double Exit = -1;              // from the close request to the engine's end (not part of start-up)
};

// A process start under Wine by itself: the stand-in ending before it makes any window.
double ProcessStartMs() {
    testsupport::TempDir dir("bstart");
    const double start = NowMs();
    testsupport::ChildProcess process(testsupport::BinPath(kProjectorBuildName), "", {{"STANDIN_EXIT_AT_ONCE", "1"}},
                                      dir.Path());
    if (process.WaitForExit(kExitTimeoutMs) == -1) return -1;
    return NowMs() - start;
}

double StandInAloneMs() {
    testsupport::TempDir dir("bstart");
    const double start = NowMs();
    testsupport::ChildProcess projector(testsupport::BinPath(kProjectorBuildName), "", kSafetyExit, dir.Path());
    HWND window = nullptr;
    if (!PollUntil([&] { return (window = ShownProjectorWindow(projector.Id())) != nullptr; }, kShowTimeoutMs))
        return -1;
    const double shown = NowMs() - start;
    CloseAndWait(projector, window, kExitTimeoutMs);
    return shown;
}

// One start of a fresh distributable (own exe name, own temporary directory). With phases, also
// notes when the steps before the showing become visible from outside (costs a little polling).
EnginePhases EngineStart(const std::vector<uint8_t>& distributable, bool withPhases, size_t& leftBehind) {
    EnginePhases phases;
    testsupport::Distributable app("benchstart", distributable);
    const double start = NowMs();
    auto engine = app.Start(kSafetyExit);
    const DWORD id = engine->Id();
    DWORD projectorId = 0;
    HWND shown = nullptr;
    auto note = [&](double& phase, bool seen) {
        if (phase < 0 && seen) phase = NowMs() - start;
    };
    PollUntil(
        [&] {
            if (withPhases) {
                note(phases.HostWindow, TopLevelWindowOfClass(id, kHostClass) != nullptr);
                if (!projectorId) projectorId = ChildProcessOf(id);
                note(phases.ProjectorProcess, projectorId != 0);
                if (projectorId) {
                    note(phases.ProjectorWindow, TopLevelWindowOfClass(projectorId, kProjectorClass) != nullptr);
                    note(phases.ProjectorShown, ShownProjectorWindow(projectorId) != nullptr);
                }
                note(phases.Captured, CapturedMovieWindow(id) != nullptr);
                const HWND host = TopLevelWindowOfClass(id, kHostClass);
                note(phases.HostShown, host && IsWindowVisible(host));
            }
            shown = ShownMovieWindow(id);
            return shown != nullptr;
        },
        kShowTimeoutMs);
    if (shown) phases.Shown = NowMs() - start;
    // A step seen late (the polls check one after another) happened no later than the next one.
    if (withPhases) {
        for (double EnginePhases::*later : {&EnginePhases::Captured, &EnginePhases::ProjectorShown})
            if (phases.*later >= 0 && (phases.ProjectorWindow < 0 || phases.ProjectorWindow > phases.*later))
                phases.ProjectorWindow = phases.*later;
    }

    const double closing = NowMs();
    if (CloseAndWait(*engine, shown, kExitTimeoutMs)) phases.Exit = NowMs() - closing;
    leftBehind += testsupport::ListTree(app.TempPath()).size();
    return phases;
}

void PrintPhase(const char* name, const std::vector<EnginePhases>& runs, double EnginePhases::*phase) {
    std::vector<double> values;
    for (const EnginePhases& run : runs)
        if (run.*phase >= 0) values.push_back(run.*phase);
    std::printf("  %-44s %8.1f ms\n", name, Median(values));
}

}  // namespace

int main(int argc, char** argv) {
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    const int phaseRuns = argc > 2 ? std::max(0, std::atoi(argv[2])) : 3;
    const BenchDistributable packed = PackBenchDistributable();
    const std::vector<uint8_t>& distributable = packed.Bytes;
    std::printf("payload: %zu files, %.1f MiB; %d repetitions\n", packed.FileCount, packed.PayloadBytes / 1048576.0,
                repetitions);

    size_t leftBehind = 0;
    // Untimed first starts: Wine maps each program once before the runs compare like with like.
    StandInAloneMs();
    EngineStart(distributable, false, leftBehind);

    std::vector<double> alone, engine, exits;
    for (int i = 0; i < repetitions; ++i) {
        // Alternated, so that disturbances from the machine fall on both sides alike.
        const double aloneMs = StandInAloneMs();
        const EnginePhases run = EngineStart(distributable, false, leftBehind);
        if (aloneMs < 0 || run.Shown < 0) {
            std::printf("run %d: %s never showed its window\n", i + 1, aloneMs < 0 ? "the stand-in" : "the engine");
            return 2;
        }
        alone.push_back(aloneMs);
        engine.push_back(run.Shown);
        if (run.Exit >= 0) exits.push_back(run.Exit);
        std::printf("run %d: stand-in alone %.1f ms, distributable %.1f ms\n", i + 1, aloneMs, run.Shown);
        std::fflush(stdout);
    }

    const double aloneMedian = Median(alone);
    const double engineMedian = Median(engine);
    std::printf("stand-in projector alone, median:   %8.1f ms\n", aloneMedian);
    std::printf("distributable to movie shown, median: %6.1f ms (%.2fx)\n", engineMedian, engineMedian / aloneMedian);
    std::printf("engine end after the close request, median: %.1f ms (not part of start-up)\n", Median(exits));

    if (phaseRuns > 0) {
        std::vector<EnginePhases> runs;
        std::vector<double> processStarts;
        for (int i = 0; i < phaseRuns; ++i) {
            runs.push_back(EngineStart(distributable, true, leftBehind));
            processStarts.push_back(ProcessStartMs());
        }
        std::printf("a bare process start and end under Wine, median: %.1f ms\n", Median(processStarts));
        std::printf("where the time goes (median of %d runs with extra polling, ms from the start):\n", phaseRuns);
        PrintPhase("host window created (settings read)", runs, &EnginePhases::HostWindow);
        PrintPhase("projector started (extracted, hooks set up)", runs, &EnginePhases::ProjectorProcess);
        PrintPhase("projector window created", runs, &EnginePhases::ProjectorWindow);
        PrintPhase("projector window shown off-screen", runs, &EnginePhases::ProjectorShown);
        PrintPhase("projector window inside the host", runs, &EnginePhases::Captured);
        PrintPhase("host window shown", runs, &EnginePhases::HostShown);
        PrintPhase("movie shown", runs, &EnginePhases::Shown);
        std::vector<double> before, projectorOwn, capture;
        for (const EnginePhases& run : runs) {
            before.push_back(run.ProjectorProcess);
            projectorOwn.push_back(run.ProjectorShown - run.ProjectorProcess);
            capture.push_back(run.Shown - run.ProjectorShown);
        }
        std::printf("  engine before starting the projector:        %8.1f ms\n", Median(before));
        std::printf("  projector's own start (to its window shown): %8.1f ms\n", Median(projectorOwn));
        std::printf("  window search and capture to movie shown:    %8.1f ms (%.0f ms of it fixed pauses)\n",
                    Median(capture), kPausesBeforeShownMs);
    }
    if (leftBehind) std::printf("note: the engine runs left %zu files in their temporary directories\n", leftBehind);

    const bool met = Verdict("start-up overhead (distributable - stand-in alone)", engineMedian - aloneMedian,
                             kFixedPausesMs + kAllowanceMs, " ms");
    return met ? 0 : 1;
}
