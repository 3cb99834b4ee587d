#include "movie_ready_signal.h"

#include <cstdlib>
#include <string>

#include "engine/engine_names.h"
#include "engine/shared_control_block.h"
#include "standins/common/slot_suffix.h"

namespace standin {
namespace {

constexpr UINT kMovieReadyMessage = WM_USER + 4;
constexpr UINT kCheckIntervalMs = 100;

enum Role : LONG {
    kUndecided,   // not yet known whether this process is the projector
    kBystander,   // any other process: do nothing, ever
    kProjector,   // the projector before the movie-ready report
    kReported,    // the projector after it
};

// Per-process state (each process has its own copy of the library's data).
HMODULE g_module = nullptr;
volatile LONG g_role = kUndecided;
volatile LONG g_busy = 0;  // a try-lock: a hook that finds it taken simply skips its check
HANDLE g_mapping = nullptr;
const volatile SharedControlBlock* g_block = nullptr;
UINT_PTR g_timer = 0;

std::string OwnLibraryPath() {
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(g_module, path, MAX_PATH);
    return (length == 0 || length >= MAX_PATH) ? std::string() : std::string(path, length);
}

void ReleaseBlock() {
    if (g_block) UnmapViewOfFile(const_cast<SharedControlBlock*>(g_block));
    if (g_mapping) CloseHandle(g_mapping);
    g_block = nullptr;
    g_mapping = nullptr;
}

// The projector inherits the engine's environment; a process without the engine's id in it, or
// the engine itself, can never be the projector and is settled without touching any kernel object.
Role RoleFromEnvironment() {
    char engineId[32] = {};
    const DWORD length = GetEnvironmentVariableA(engine_names::kEnvEngineId, engineId, sizeof(engineId));
    if (length == 0 || length >= sizeof(engineId)) return kBystander;
    if (std::strtoul(engineId, nullptr, 10) == GetCurrentProcessId()) return kBystander;
    return kUndecided;
}

Role DecideRole() {
    if (!g_block) {
        if (RoleFromEnvironment() == kBystander) return kBystander;
        const std::string suffix = SuffixFromLibraryPath(OwnLibraryPath());
        if (suffix.empty()) return kBystander;
        g_mapping = OpenFileMappingA(FILE_MAP_READ, FALSE, BlockMappingName(suffix).c_str());
        if (g_mapping) g_block = static_cast<const SharedControlBlock*>(
                           MapViewOfFile(g_mapping, FILE_MAP_READ, 0, 0, kSharedViewSize));
        if (!g_block) {
            ReleaseBlock();
            return kBystander;
        }
    }
    const DWORD projectorId = g_block->ProjectorProcessId;
    if (projectorId == 0) return kUndecided;  // not started yet: look again on a later event
    if (projectorId == GetCurrentProcessId()) return kProjector;
    ReleaseBlock();
    return kBystander;
}

// Inside: the host is the window's parent, or an ancestor (the engine may put a container of its
// own between the two). IsChild would not do: it stops at a parent without WS_CHILD.
bool IsInside(HWND window, HWND host) {
    const HWND desktop = GetDesktopWindow();
    for (HWND parent = GetAncestor(window, GA_PARENT); parent && parent != desktop;
         parent = GetAncestor(parent, GA_PARENT)) {
        if (parent == host) return true;
    }
    return false;
}

bool ProjectorShownInHost(HWND& host) {
    const HWND projector = static_cast<HWND>(FieldToHandle(g_block->ProjectorWindow));
    host = static_cast<HWND>(FieldToHandle(g_block->HostWindow));
    return projector && host && IsWindow(host) && IsWindowVisible(projector) && IsInside(projector, host);
}

void StepWhileHoldingLock() {
    if (g_role == kUndecided) g_role = DecideRole();
    if (g_role != kProjector) return;

    // A thread timer (no window, no callback) keeps the check going while nothing else happens in
    // the projector; its ticks are swallowed in OnRetrievedMessage.
    if (!g_timer && GetCurrentThreadId() == g_block->ProjectorThreadId)
        g_timer = SetTimer(nullptr, 0, kCheckIntervalMs, nullptr);

    HWND host = nullptr;
    if (ProjectorShownInHost(host)) {
        PostMessageA(host, kMovieReadyMessage, 0, 0);
        // The block stays mapped: the movie's input is reported by the options it holds.
        g_role = kReported;
    }
}

}  // namespace

void RememberLibraryModule(HMODULE module) { g_module = module; }

const volatile SharedControlBlock* ShownMovieBlock() { return g_role == kReported ? g_block : nullptr; }

void CheckMovieReady() {
    if (g_role == kBystander || g_role == kReported) return;
    if (InterlockedExchange(&g_busy, 1) != 0) return;
    StepWhileHoldingLock();
    InterlockedExchange(&g_busy, 0);
}

void OnRetrievedMessage(MSG* msg) {
    // The timer's ticks arrive only in the thread that set it, so it can be killed right here.
    if (msg && g_timer && msg->hwnd == nullptr && msg->message == WM_TIMER && msg->wParam == g_timer) {
        msg->message = WM_NULL;
        if (g_role == kReported) {
            KillTimer(nullptr, g_timer);
            g_timer = 0;
            return;
        }
    }
    CheckMovieReady();
}

}  // namespace standin
