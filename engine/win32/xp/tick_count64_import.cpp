// The compiler's static thread library (winpthreads, behind the C++ runtime's locks) was built
// for Vista and calls GetTickCount64 through its import slot, which XP's kernel32 does not
// export: an executable importing it does not start there. This object, linked into the program
// itself, defines that slot first, so the import is never made: the slot leads to the system's
// GetTickCount64 when it has one, and otherwise to GetTickCount carried on past its 49.7-day wrap.
#include <windows.h>

#include <atomic>
#include <cstdint>

namespace {

using TickCount64Proc = ULONGLONG(WINAPI*)();

// Constant-initialised: usable before any static constructor has run, with no guard that could
// itself wait on the thread library.
std::atomic<TickCount64Proc> systemTickCount64{nullptr};
std::atomic<bool> lookedUp{false};
std::atomic<uint64_t> extendedTicks{0};

ULONGLONG ExtendedTickCount() {
    uint64_t previous = extendedTicks.load();
    for (;;) {
        const DWORD now = GetTickCount();
        uint64_t high = previous & ~uint64_t{0xFFFFFFFF};
        if (now < static_cast<DWORD>(previous)) high += uint64_t{1} << 32;  // wrapped since the last call
        const uint64_t next = high | now;
        if (extendedTicks.compare_exchange_weak(previous, next)) return next;
    }
}

ULONGLONG WINAPI TickCount64() {
    if (!lookedUp.load(std::memory_order_acquire)) {
        HMODULE kernel = GetModuleHandleA("kernel32.dll");
        FARPROC found = kernel ? GetProcAddress(kernel, "GetTickCount64") : nullptr;
        systemTickCount64.store(reinterpret_cast<TickCount64Proc>(reinterpret_cast<void*>(found)));
        lookedUp.store(true, std::memory_order_release);
    }
    if (TickCount64Proc system = systemTickCount64.load()) return system();
    return ExtendedTickCount();
}

}  // namespace

#if defined(__i386__)
#define STAGEHOST_TICK_COUNT64_SLOT "__imp__GetTickCount64@0"
#else
#define STAGEHOST_TICK_COUNT64_SLOT "__imp_GetTickCount64"
#endif

// The import slot under its linker name; the static thread library's calls go through it.
extern "C" {
TickCount64Proc stagehostTickCount64Slot __asm__(STAGEHOST_TICK_COUNT64_SLOT) = TickCount64;
}
