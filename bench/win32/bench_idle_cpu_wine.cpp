// CPU the engine uses while it supervises an idle movie under Wine: the engine process's CPU time
// (kernel plus user) over 5 s after the movie is shown, as a share of one core, against the wall
// time of the same window; the projector's own share over the same time is printed for
// comparison. Then the same share while the password dialog waits for an entry and while the
// Setup dialog ("/C") waits for the user. Target for each: under 1 %.
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "support/distributable.h"
#include "support/standin_report.h"
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

// A shown dialog ("#32770") of the process holding the control, or nullptr.
HWND ShownDialogWithControl(DWORD processId, int controlId) {
    for (HWND window : testsupport::TopLevelWindowsOf(processId))
        if (testsupport::ClassNameOf(window) == "#32770" && IsWindowVisible(window) && GetDlgItem(window, controlId))
            return window;
    return nullptr;
}

// The engine's share of one core while one of its dialogs waits for the user; -1 when the dialog
// never appeared or the engine's times cannot be read.
double MeasureDialogWait(const char* settings, const std::string& arguments, int controlId) {
    const std::vector<PackedFile> files = {
        testsupport::FileFromBuild(kProjectorBuildName, testsupport::kStoredProjectorName),
        testsupport::FileFromBuild("quenbyrun.dll", "quenbyrun.dll"), testsupport::FileFromText("settings.ini", settings)};
    testsupport::Distributable app("benchdlg", files);
    auto engine = app.Start({{"STANDIN_EXIT_AFTER_MS", "60000"}}, arguments);
    HWND dialog = nullptr;
    if (!PollUntil([&] { return (dialog = ShownDialogWithControl(engine->Id(), controlId)) != nullptr; },
                   kShowTimeoutMs))
        return -1;
    const ProcessCpu engineCpu(engine->Handle(), app.ExeName());
    double percent = -1;
    if (engineCpu.Measurable()) {
        const double wallStart = NowMs();
        const double engineStart = engineCpu.Ms();
        Sleep(kIdleWindowMs);
        percent = 100.0 * (engineCpu.Ms() - engineStart) / (NowMs() - wallStart);
    }
    // The close box: Cancel for the password dialog, save for the Setup dialog; the engine ends.
    PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    engine->WaitForExit(kExitTimeoutMs);
    return percent;
}

struct DialogWait {
    const char* What;
    const char* Settings;
    const char* Arguments;
    int ControlId;
};

const DialogWait kDialogWaits[] = {
    {"engine CPU while the password dialog waits, median",
     "[Settings]\r\nPassword=1\r\nAlignmentX=345795872\r\n", "", 101},
    {"engine CPU while the Setup dialog waits, median", "[Settings]\r\nPassword=0\r\n", "/C", 5},
};

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
    bool met =
        Verdict("engine CPU while supervising an idle movie, median", Median(engine), kTargetPercent, " %", true);

    for (const DialogWait& wait : kDialogWaits) {
        std::vector<double> shares;
        for (int i = 0; i < repetitions; ++i) {
            const double percent = MeasureDialogWait(wait.Settings, wait.Arguments, wait.ControlId);
            if (percent < 0) {
                std::printf("%s: no measurement (the dialog was never shown, or no CPU times)\n", wait.What);
                return 2;
            }
            shares.push_back(percent);
            std::printf("run %d: engine %.2f %% of one core over %u ms\n", i + 1, percent,
                        static_cast<unsigned>(kIdleWindowMs));
            std::fflush(stdout);
        }
        met = Verdict(wait.What, Median(shares), kTargetPercent, " %", true) && met;
    }
    return met ? 0 : 1;
}
