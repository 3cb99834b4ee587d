// One real engine at a time on this machine: engines in the same slot share kernel object names,
// and global hooks reach every process, so end-to-end runs of different test programs (started by
// ctest -j or by several build trees at once) must not overlap. Held by each Distributable.
#pragma once

#include <windows.h>

namespace testsupport {

class EngineRunLock {
public:
    EngineRunLock();
    ~EngineRunLock();
    EngineRunLock(const EngineRunLock&) = delete;
    EngineRunLock& operator=(const EngineRunLock&) = delete;

private:
    HANDLE mutex_ = nullptr;
    bool owned_ = false;
};

}  // namespace testsupport
