// Reading the stand-in projector's report (standins/projector/projector_report.h) and the movie
// payloads the end-to-end tests run: the real engine with the stand-in projector and hook library.
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "support/distributable.h"
#include "support/recycle_bin.h"
#include "support/scheduled_deletions.h"

namespace testsupport {

class StandinReport {
public:
    StandinReport() = default;
    explicit StandinReport(std::map<std::string, std::string> values) : values_(std::move(values)) {}

    // The report as it stands now; empty when there is none yet.
    static StandinReport Read(const std::string& path);

    bool Empty() const { return values_.empty(); }
    // A "key=value" line's value, empty when the line is missing.
    std::string Value(const std::string& key) const;
    bool HasEnv(const std::string& name) const;
    std::string Env(const std::string& name) const;  // the "env:<name>" line
    // The files below the projector's current directory (two levels), relative paths, sorted.
    std::vector<std::string> Files() const;

    HWND Window() const;
    HWND Parent() const;  // 0 while the window is a top-level window
    // The shared control block as the projector read it.
    bool HasBlock() const;
    std::vector<uint8_t> Block() const;  // empty until the projector has opened the block
    uint8_t BlockByte(uint32_t offset) const;
    uint32_t BlockU32(uint32_t offset) const;
    std::string BlockShortString(uint32_t offset) const;  // a length-prefixed string

private:
    std::map<std::string, std::string> values_;
};

// The report as it stands now; empty when there is none yet.
StandinReport ReadStandinReport(const std::string& path);

// Polls the report until the predicate holds; returns the last report read (check the predicate
// again in the test).
template <typename Predicate>
StandinReport WaitForStandinReport(const std::string& path, Predicate predicate, DWORD timeoutMs) {
    StandinReport report;
    WaitUntil(
        [&] {
            report = ReadStandinReport(path);
            return !report.Empty() && predicate(report);
        },
        timeoutMs);
    return report;
}

// The window a report names is inside the host (the projector, captured) and shown.
bool CapturedAndShown(const StandinReport& report);

// The files of a movie distributable: the stand-in projector (stored as "movie.exe"), the stand-in
// hook library (stored as "quenbyrun.dll") and a settings file with the given lines after
// "[Settings]" (no password is asked).
std::vector<PackedFile> MovieFiles(const std::string& settingsLines,
                                   const std::string& builtProjector = "standin_projector10.exe",
                                   const std::string& builtHookLibrary = "quenbyrun.dll");

constexpr char kStoredProjectorName[] = "movie.exe";
constexpr char kHostWindowClass[] = "GaGaOrbelinWindow";
constexpr char kProjectorWindowClass[] = "ShockwaveFlash";

// A running movie distributable: the engine, its host window and the projector's report.
struct MovieRun {
    // Last to go: what the run left for the next system start or in the Recycle Bin.
    ScheduledDeletionsGuard ScheduledDeletions;
    RecycledItemsGuard Recycled;
    std::unique_ptr<ChildProcess> Engine;
    HWND Host = nullptr;
    StandinReport Report;  // the report once the movie is shown inside the host
};

// Starts the distributable with the projector reporting to reportPath (and the extra environment),
// and waits until the projector window is shown inside the host and the movie-ready message has
// reached the engine (block byte 0x060). Test failures are added when that does not happen.
MovieRun StartMovie(const Distributable& app, const std::string& reportPath,
                    std::map<std::string, std::string> environment = {}, DWORD timeoutMs = 30000);

// window lies inside ancestor: ancestor is its parent, or its parent's parent, and so on (IsChild
// stops at a window without WS_CHILD, which a captured projector may well be).
bool IsInsideWindow(HWND window, HWND ancestor);

// The rectangle of a window in the client coordinates of another.
RECT RectIn(HWND window, HWND reference);

}  // namespace testsupport
