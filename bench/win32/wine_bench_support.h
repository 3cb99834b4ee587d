// Shared pieces of the benchmarks that run the real engine under Wine: the benchmark payload, a
// clock, the checks for "the movie is shown", process CPU times and the result lines.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "payload/payload_writer.h"
#include "support/engine_process.h"

namespace winbench {

constexpr size_t kPayloadBytes = 10u << 20;
constexpr char kHostClass[] = "GaGaOrbelinWindow";
constexpr char kProjectorClass[] = "ShockwaveFlash";
constexpr char kProjectorBuildName[] = "standin_projector10.exe";

// The benchmark distributable, packed once per run of a benchmark: the engine with the stand-in
// projector and hook library, settings without a password, and a movie of alternating
// incompressible and compressible stretches that brings the payload's files to payloadBytes.
struct BenchDistributable {
    std::vector<uint8_t> Bytes;
    size_t FileCount = 0;
    size_t PayloadBytes = 0;  // the files' own sizes together
};
BenchDistributable PackBenchDistributable(size_t payloadBytes = kPayloadBytes);

// Milliseconds on the performance counter.
double NowMs();

// The engine's projector window once the movie is shown: class "ShockwaveFlash", visible, and
// inside a visible host window of the engine process. nullptr until then.
HWND ShownMovieWindow(DWORD engineProcessId);
// The projector window inside a host window of the engine process, shown or not; nullptr if none.
HWND CapturedMovieWindow(DWORD engineProcessId);
// A visible top-level "ShockwaveFlash" window of the process, or nullptr.
HWND ShownProjectorWindow(DWORD processId);
// The first top-level window of the process with the class (visible or not), or nullptr.
HWND TopLevelWindowOfClass(DWORD processId, const char* className);
// A process started by parentId, or 0.
DWORD ChildProcessOf(DWORD parentId);

// Polls every millisecond until found returns true; false on timeout.
template <typename Found>
bool PollUntil(Found found, double timeoutMs) {
    const double start = NowMs();
    while (!found()) {
        if (NowMs() - start > timeoutMs) return false;
        Sleep(1);
    }
    return true;
}

// CPU time (kernel plus user) of a process, in milliseconds. Wine reports no CPU times for other
// processes through GetProcessTimes (a constant), so under Wine the process is looked up in the
// host's /proc by a text unique to its command line (its program path or a part of it) and its
// threads' run times are summed; elsewhere GetProcessTimes answers.
class ProcessCpu {
public:
    ProcessCpu(HANDLE process, const std::string& commandLinePart);
    double Ms() const;
    // False under Wine when the process was not found in /proc: its times would read as zero.
    bool Measurable() const { return unixPid_ || !RunningUnderWine(); }
    static bool RunningUnderWine();
    const char* Source() const { return unixPid_ ? "/proc of the Wine host" : "GetProcessTimes"; }

private:
    HANDLE process_;
    unsigned long unixPid_ = 0;
};

// Ends a run: closes the projector window (the projector then ends, and the engine cleans up and
// exits) and waits for the process; false when it did not end in time (it is then killed).
bool CloseAndWait(testsupport::ChildProcess& process, HWND projectorWindow, DWORD timeoutMs);

double Median(std::vector<double> values);

// "name: value unit (target <= t unit) PASS|MISS" ("<" when strictlyBelow); returns whether the
// target was met.
bool Verdict(const std::string& what, double value, double target, const char* unit, bool strictlyBelow = false);

}  // namespace winbench
