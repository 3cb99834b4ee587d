#include "support/engine_run_lock.h"

#include <cstdio>

namespace testsupport {
namespace {

constexpr char kLockName[] = "StagehostEndToEndEngineRun";
// Below ctest's time limit for one test: a run that waited this long goes ahead and says so,
// rather than hang.
constexpr DWORD kLongestWaitMs = 150000;

}  // namespace

EngineRunLock::EngineRunLock() : mutex_(CreateMutexA(nullptr, FALSE, kLockName)) {
    if (!mutex_) return;
    const DWORD waited = WaitForSingleObject(mutex_, kLongestWaitMs);
    // An abandoned lock was left by a test program that was killed: it is ours now.
    owned_ = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
    if (!owned_) std::fprintf(stderr, "warning: running without the engine run lock (waited %lu ms)\n", kLongestWaitMs);
}

EngineRunLock::~EngineRunLock() {
    if (owned_) ReleaseMutex(mutex_);
    if (mutex_) CloseHandle(mutex_);
}

}  // namespace testsupport
